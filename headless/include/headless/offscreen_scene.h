// offscreen_scene.h - the demo's scene in an offscreen window of the frame's
// own making: the same pixel format, the same Initialize, the same Update and
// Draw, with the frame read back before each swap.
#pragma once

#include "framework/TolkGL.h"

#include <cstdint>
#include <string>
#include <vector>

class OffscreenScene {
  public:
    OffscreenScene() = default;
    ~OffscreenScene();
    OffscreenScene(const OffscreenScene&) = delete;
    OffscreenScene& operator=(const OffscreenScene&) = delete;

    // Makes the window and context at the given size and initialises the
    // scene in it; false when no context could be made.
    bool Open(int width, int height);
    // One frame: Update, Draw, read back into `rgb` (top row first), swap.
    void RenderFrame(std::vector<std::uint8_t>* rgb);
    // One frame drawn and swapped but not read back: it leaves the GL state
    // the next frame starts from.
    void DrawUnseenFrame();
    std::string Renderer() const;

  private:
    Application application_{};
    Keys keys_{};
    GL_Window window_{};
    bool classRegistered_ = false;
    bool open_ = false;
    std::vector<std::uint8_t> bottomUp_;
};
