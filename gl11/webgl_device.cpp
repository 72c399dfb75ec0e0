// webgl_device.cpp - the device over WebGL 2, and the canvas contexts the
// browser's platform makes, shows and gives back.
//
// WebGL is reached only through Emscripten's emscripten_gl* entry points: the
// plain gl* names belong to the GL 1.1 layer itself. A context draws into a
// framebuffer of its own (RGBA8 colour, a depth renderbuffer of the pixel
// format's depth) and Present copies it onto the canvas, whose own drawing
// buffer has no depth, stencil or multisampling.
#include "context.h"
#include "gl11/surface.h"
#include "shaders.h"
#include "unsupported.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cstddef>
#include <string>

namespace gl11 {
namespace {

GLuint Compile(GLenum stage, const char* source) {
    const GLuint shader = emscripten_glCreateShader(stage);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == 0) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        Fail("compiling the layer's shader", log);
    }
    return shader;
}

GLuint Link() {
    const GLuint program = emscripten_glCreateProgram();
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    emscripten_glAttachShader(program, vertex);
    emscripten_glAttachShader(program, fragment);
    emscripten_glLinkProgram(program);
    emscripten_glDeleteShader(vertex);
    emscripten_glDeleteShader(fragment);
    GLint linked = 0;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == 0) {
        char log[1024] = "";
        emscripten_glGetProgramInfoLog(program, sizeof(log), nullptr, log);
        Fail("linking the layer's shaders", log);
    }
    return program;
}

class WebGlDevice final : public Device {
  public:
    WebGlDevice(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context, int width, int height, int depthBits)
        : context_(context), width_(width), height_(height) {
        Activate();
        emscripten_glGenRenderbuffers(1, &colour_);
        emscripten_glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        emscripten_glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        emscripten_glGenRenderbuffers(1, &depth_);
        emscripten_glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        emscripten_glRenderbufferStorage(
            GL_RENDERBUFFER, depthBits > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width,
            height);
        emscripten_glGenFramebuffers(1, &framebuffer_);
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                             colour_);
        emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                             depth_);
        if (emscripten_glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            Fail("making the frame's framebuffer", "incomplete");
        }

        program_ = Link();
        emscripten_glUseProgram(program_);
        for (const char* name : {"projection", "textured", "image"}) {
            uniforms_.push_back(emscripten_glGetUniformLocation(program_, name));
        }
        emscripten_glUniform1i(uniforms_[kImage], 0);

        emscripten_glGenVertexArrays(1, &vertexArray_);
        emscripten_glBindVertexArray(vertexArray_);
        emscripten_glGenBuffers(1, &vertexBuffer_);
        emscripten_glGenBuffers(1, &indexBuffer_);
        emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
        emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
        const auto attribute = [](unsigned location, int size, std::size_t offset) {
            emscripten_glEnableVertexAttribArray(location);
            emscripten_glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                             reinterpret_cast<const void*>(offset));
        };
        attribute(kEyePosition, 4, offsetof(Vertex, eye));
        attribute(kColour, 4, offsetof(Vertex, colour));
        attribute(kTexcoord, 2, offsetof(Vertex, texcoord));
        attribute(kAdditive, 1, offsetof(Vertex, additive));

        // GL dithers by default; the desktop's drivers do not at 8 bits a
        // channel, and neither does this.
        emscripten_glDisable(GL_DITHER);
        emscripten_glEnable(GL_BLEND);
        emscripten_glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }

    ~WebGlDevice() override {
        Activate();
        emscripten_glDeleteBuffers(1, &vertexBuffer_);
        emscripten_glDeleteBuffers(1, &indexBuffer_);
        emscripten_glDeleteVertexArrays(1, &vertexArray_);
        emscripten_glDeleteProgram(program_);
        emscripten_glDeleteFramebuffers(1, &framebuffer_);
        emscripten_glDeleteRenderbuffers(1, &colour_);
        emscripten_glDeleteRenderbuffers(1, &depth_);
    }

    void Activate() { emscripten_webgl_make_context_current(context_); }
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context() const { return context_; }

    unsigned CreateTexture() override {
        GLuint texture = 0;
        emscripten_glGenTextures(1, &texture);
        return texture;
    }

    void DeleteTexture(unsigned texture) override {
        const GLuint name = texture;
        emscripten_glDeleteTextures(1, &name);
    }

    void UploadLevel(unsigned texture, int level, int width, int height,
                     const std::uint8_t* rgba) override {
        emscripten_glBindTexture(GL_TEXTURE_2D, texture);
        emscripten_glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA,
                                GL_UNSIGNED_BYTE, rgba);
    }

    void SetSampling(unsigned texture, unsigned minFilter, unsigned magFilter, unsigned wrapS,
                     unsigned wrapT) override {
        emscripten_glBindTexture(GL_TEXTURE_2D, texture);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    }

    void Clear(bool colour, bool depth, const float clearColour[4]) override {
        emscripten_glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
        emscripten_glClear((colour ? GL_COLOR_BUFFER_BIT : 0u) |
                           (depth ? GL_DEPTH_BUFFER_BIT : 0u));
    }

    void Draw(const DrawState& state, const std::vector<Vertex>& vertices,
              const std::vector<std::uint32_t>& indices) override {
        Apply(state);
        emscripten_glBufferData(GL_ARRAY_BUFFER,
                                static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                                vertices.data(), GL_STREAM_DRAW);
        emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                                static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                                indices.data(), GL_STREAM_DRAW);
        emscripten_glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()),
                                  GL_UNSIGNED_INT, nullptr);
    }

    void ReadPixels(int x, int y, int width, int height, std::uint8_t* rgba) override {
        emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    }

    void Flush() override { emscripten_glFlush(); }

    void Present() override {
        emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        emscripten_glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_,
                                     GL_COLOR_BUFFER_BIT, GL_NEAREST);
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }

    std::string Renderer() const override {
        const auto* renderer = reinterpret_cast<const char*>(emscripten_glGetString(GL_RENDERER));
        return std::string("WebGL 2 (") + (renderer != nullptr ? renderer : "unknown") + ")";
    }

  private:
    enum Uniform { kProjection, kTextured, kImage };

    void Apply(const DrawState& s) {
        emscripten_glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
        emscripten_glUniformMatrix4fv(uniforms_[kProjection], 1, GL_FALSE, s.projection);
        emscripten_glUniform1i(uniforms_[kTextured], s.textured);
        if (s.textured != 0) {
            emscripten_glBindTexture(GL_TEXTURE_2D, s.texture);
        }
        Switch(GL_DEPTH_TEST, s.depthTest != 0);
        Switch(GL_POLYGON_OFFSET_FILL, s.polygonOffsetFill != 0);
        emscripten_glPolygonOffset(s.offsetFactor, s.offsetUnits);
    }

    static void Switch(GLenum capability, bool on) {
        if (on) {
            emscripten_glEnable(capability);
        } else {
            emscripten_glDisable(capability);
        }
    }

    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_;
    int width_;
    int height_;
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    GLuint depth_ = 0;
    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    std::vector<GLint> uniforms_;
};

WebGlDevice* DeviceOf(Context* context) {
    return static_cast<WebGlDevice*>(context->device.get());
}

// WebGL's current context back to the current Context's, after a call that
// had to work in another.
void KeepCurrentActive() {
    if (Context* current = CurrentContext()) {
        DeviceOf(current)->Activate();
    }
}

} // namespace

Context* CreateCanvasContext(const char* canvasSelector, int width, int height, int depthBits) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl =
        emscripten_webgl_create_context(canvasSelector, &attributes);
    if (webgl <= 0) {
        return nullptr;
    }
    auto* context =
        new Context(std::make_unique<WebGlDevice>(webgl, width, height, depthBits), width, height);
    KeepCurrentActive(); // making a context does not make it current
    return context;
}

void MakeCurrent(Context* context) {
    if (context != nullptr) {
        DeviceOf(context)->Activate();
    }
    SetCurrentContext(context);
}

void Present(Context* context) {
    context->FlushBatch();
    DeviceOf(context)->Present();
}

void DestroyContext(Context* context) {
    if (CurrentContext() == context) {
        SetCurrentContext(nullptr);
    }
    WebGlDevice* device = DeviceOf(context);
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl = device->context();
    device->Activate();
    delete context; // its textures, then its device, in its WebGL context
    emscripten_webgl_destroy_context(webgl);
    KeepCurrentActive();
}

} // namespace gl11
