// offscreen_scene.cpp - driving the scene's hooks headless.
#include "headless/offscreen_scene.h"

#include "framework/scene_hooks.h"

#include <GL/gl.h>

#include <cstring>

namespace {

constexpr unsigned long kFrameMilliseconds = 16; // the scene does not read it

} // namespace

bool OffscreenScene::Open(int width, int height) {
    application_ = Application{GetModuleHandle(nullptr), kWindowClassName};
    window_.keys = &keys_;
    window_.application = &application_;
    window_.title = kWindowTitle;
    window_.width = width;
    window_.height = height;
    window_.bitsPerPixel = 32;
    window_.isFullScreen = 0;
    classRegistered_ = RegisterWindowClass(&application_) != 0;
    if (!classRegistered_ || CreateWindowGL(&window_) != 1) {
        return false;
    }
    open_ = true;
    return Initialize(&window_, &keys_) != 0;
}

OffscreenScene::~OffscreenScene() {
    if (open_) {
        Deinitialize();
        DestroyWindowGL(&window_);
    }
    if (classRegistered_) {
        UnregisterClass(application_.className, application_.instance);
    }
}

void OffscreenScene::RenderFrame(std::vector<std::uint8_t>* rgb) {
    Update(kFrameMilliseconds);
    Draw();
    const int width = window_.width;
    const int height = window_.height;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    bottomUp_.resize(stride * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp_.data());
    rgb->resize(bottomUp_.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(rgb->data() + stride * static_cast<std::size_t>(y),
                    bottomUp_.data() + stride * static_cast<std::size_t>(height - 1 - y), stride);
    }
    SwapBuffers(window_.deviceContext);
}

void OffscreenScene::DrawUnseenFrame() {
    Update(kFrameMilliseconds);
    Draw();
    SwapBuffers(window_.deviceContext);
}

std::string OffscreenScene::Renderer() const {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer != nullptr ? renderer : "unknown";
}
