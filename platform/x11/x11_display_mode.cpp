// x11_display_mode.cpp - switching one output's mode through RandR 1.2, and
// undoing it.
#include "x11/x11_display_mode.h"

#include "x11/x11_error_trap.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>

namespace platform::x11 {
namespace {

struct FreeResources {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct FreeOutput {
    void operator()(XRROutputInfo* output) const { XRRFreeOutputInfo(output); }
};
struct FreeCrtc {
    void operator()(XRRCrtcInfo* crtc) const { XRRFreeCrtcInfo(crtc); }
};
using Resources = std::unique_ptr<XRRScreenResources, FreeResources>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeOutput>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeCrtc>;

Resources CurrentResources(Display* display) {
    return Resources(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)));
}

bool Sideways(Rotation rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

const XRRModeInfo* FindMode(const XRRScreenResources& resources, RRMode id) {
    for (int i = 0; i < resources.nmode; ++i) {
        if (resources.modes[i].id == id) {
            return &resources.modes[i];
        }
    }
    return nullptr;
}

double RefreshRate(const XRRModeInfo& mode) {
    const double dots = static_cast<double>(mode.hTotal) * mode.vTotal;
    return dots > 0 ? static_cast<double>(mode.dotClock) / dots : 0.0;
}

// The output a switch changes: the primary one where it is lit, else the
// first lit output.
OutputInfo SwitchedOutput(Display* display, XRRScreenResources* resources) {
    const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
    if (primary != None) {
        OutputInfo info(XRRGetOutputInfo(display, resources, primary));
        if (info != nullptr && info->crtc != None) {
            return info;
        }
    }
    for (int i = 0; i < resources->noutput; ++i) {
        OutputInfo info(XRRGetOutputInfo(display, resources, resources->outputs[i]));
        if (info != nullptr && info->crtc != None) {
            return info;
        }
    }
    return nullptr;
}

// The screen's current size in pixels, asked of the server (a connection's
// own record of it is as old as the connection).
bool CurrentScreenPixels(Display* display, int* width, int* height) {
    Window root = None;
    int x = 0;
    int y = 0;
    unsigned int w = 0;
    unsigned int h = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth) ==
        0) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// A screen size in pixels with the physical size of `like` kept per pixel.
ScreenSize Scaled(const ScreenSize& like, int width, int height) {
    ScreenSize size{width, height, like.mmWidth, like.mmHeight};
    if (like.width > 0 && like.height > 0) {
        size.mmWidth = like.mmWidth * width / like.width;
        size.mmHeight = like.mmHeight * height / like.height;
    }
    return size;
}

// Sets one CRTC and the screen size around it. The screen must hold every lit
// CRTC at every step: it grows before the CRTC changes and shrinks after.
// The caller holds the server grabbed across the steps.
bool SetCrtc(Display* display, const CrtcSetting& setting, const ScreenSize& screen) {
    ErrorTrap trap(display);
    const Window root = DefaultRootWindow(display);
    int width = 0;
    int height = 0;
    if (!CurrentScreenPixels(display, &width, &height)) {
        return false;
    }
    const int roomWidth = std::max(width, screen.width);
    const int roomHeight = std::max(height, screen.height);
    if (roomWidth != width || roomHeight != height) {
        const ScreenSize room = Scaled(screen, roomWidth, roomHeight);
        XRRSetScreenSize(display, root, room.width, room.height, room.mmWidth, room.mmHeight);
    }
    Resources resources = CurrentResources(display);
    std::vector<RROutput> outputs = setting.outputs;
    const bool set =
        resources != nullptr &&
        XRRSetCrtcConfig(display, resources.get(), setting.crtc, CurrentTime, setting.x, setting.y,
                         setting.mode, setting.rotation, outputs.data(),
                         static_cast<int>(outputs.size())) == RRSetConfigSuccess;
    if (set && (roomWidth != screen.width || roomHeight != screen.height)) {
        XRRSetScreenSize(display, root, screen.width, screen.height, screen.mmWidth,
                         screen.mmHeight);
    }
    return set && !trap.Failed();
}

} // namespace

bool SwitchesModes(Display* display, std::string* why) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        XRRQueryVersion(display, &major, &minor) == 0 || major < 1 || (major == 1 && minor < 2)) {
        *why = "the display has no RandR 1.2";
        return false;
    }
    int opcode = 0;
    if (XQueryExtension(display, "XWAYLAND", &opcode, &eventBase, &errorBase)) {
        *why = "XWayland shows a changed mode to this program alone and ends it with it";
        return false;
    }
    Resources resources = CurrentResources(display);
    if (resources != nullptr) {
        for (int i = 0; i < resources->noutput; ++i) {
            OutputInfo info(XRRGetOutputInfo(display, resources.get(), resources->outputs[i]));
            if (info != nullptr && std::strncmp(info->name, "XWAYLAND", 8) == 0) {
                *why = "XWayland shows a changed mode to this program alone and ends it with it";
                return false;
            }
        }
    }
    return true;
}

std::optional<ModeSwitch> PlanSwitch(Display* display, int width, int height) {
    ErrorTrap trap(display);
    Resources resources = CurrentResources(display);
    if (resources == nullptr) {
        return std::nullopt;
    }
    OutputInfo output = SwitchedOutput(display, resources.get());
    if (output == nullptr) {
        return std::nullopt;
    }
    CrtcInfo crtc(XRRGetCrtcInfo(display, resources.get(), output->crtc));
    if (crtc == nullptr || crtc->mode == None) {
        return std::nullopt;
    }
    const XRRModeInfo* chosen = nullptr;
    for (int i = 0; i < output->nmode; ++i) {
        const XRRModeInfo* mode = FindMode(*resources, output->modes[i]);
        if (mode != nullptr && static_cast<int>(mode->width) == width &&
            static_cast<int>(mode->height) == height &&
            (chosen == nullptr || RefreshRate(*mode) > RefreshRate(*chosen))) {
            chosen = mode;
        }
    }
    if (chosen == nullptr) {
        return std::nullopt;
    }

    ModeSwitch change;
    change.desktop = CrtcSetting{
        output->crtc,   crtc->mode,
        crtc->x,        crtc->y,
        crtc->rotation, std::vector<RROutput>(crtc->outputs, crtc->outputs + crtc->noutput)};
    const int screen = DefaultScreen(display);
    int screenWidth = 0;
    int screenHeight = 0;
    if (!CurrentScreenPixels(display, &screenWidth, &screenHeight)) {
        return std::nullopt;
    }
    change.desktopScreen = ScreenSize{screenWidth, screenHeight, DisplayWidthMM(display, screen),
                                      DisplayHeightMM(display, screen)};
    change.programMode = chosen->id;

    // The desktop after the switch is as large as what is lit then.
    const bool sideways = Sideways(crtc->rotation);
    int right = crtc->x + static_cast<int>(sideways ? chosen->height : chosen->width);
    int bottom = crtc->y + static_cast<int>(sideways ? chosen->width : chosen->height);
    for (int i = 0; i < resources->ncrtc; ++i) {
        if (resources->crtcs[i] == output->crtc) {
            continue;
        }
        CrtcInfo other(XRRGetCrtcInfo(display, resources.get(), resources->crtcs[i]));
        if (other != nullptr && other->mode != None) {
            right = std::max(right, other->x + static_cast<int>(other->width));
            bottom = std::max(bottom, other->y + static_cast<int>(other->height));
        }
    }
    change.programScreen = Scaled(change.desktopScreen, right, bottom);
    if (trap.Failed()) {
        return std::nullopt;
    }
    return change;
}

bool ApplySwitch(Display* display, const ModeSwitch& change) {
    CrtcSetting program = change.desktop;
    program.mode = change.programMode;
    return SetCrtc(display, program, change.programScreen);
}

bool UndoSwitch(Display* display, const ModeSwitch& change) {
    return SetCrtc(display, change.desktop, change.desktopScreen);
}

bool ShowsProgramMode(Display* display, const ModeSwitch& change) {
    ErrorTrap trap(display);
    Resources resources = CurrentResources(display);
    if (resources == nullptr) {
        return false;
    }
    CrtcInfo crtc(XRRGetCrtcInfo(display, resources.get(), change.desktop.crtc));
    return crtc != nullptr && !trap.Failed() && crtc->mode == change.programMode;
}

std::string Describe(const ModeSwitch& change) {
    std::ostringstream line;
    const CrtcSetting& crtc = change.desktop;
    line << "switch " << crtc.crtc << ' ' << crtc.mode << ' ' << crtc.x << ' ' << crtc.y << ' '
         << crtc.rotation << ' ' << crtc.outputs.size();
    for (const RROutput output : crtc.outputs) {
        line << ' ' << output;
    }
    for (const ScreenSize& size : {change.desktopScreen, change.programScreen}) {
        line << ' ' << size.width << ' ' << size.height << ' ' << size.mmWidth << ' '
             << size.mmHeight;
    }
    line << ' ' << change.programMode << ' ' << change.holder;
    return line.str();
}

std::optional<ModeSwitch> ParseSwitch(const std::string& line) {
    std::istringstream fields(line);
    std::string word;
    ModeSwitch change;
    CrtcSetting& crtc = change.desktop;
    std::size_t outputs = 0;
    if (!(fields >> word >> crtc.crtc >> crtc.mode >> crtc.x >> crtc.y >> crtc.rotation >>
          outputs) ||
        word != "switch" || outputs > 64) {
        return std::nullopt;
    }
    crtc.outputs.resize(outputs);
    for (RROutput& output : crtc.outputs) {
        fields >> output;
    }
    for (ScreenSize* size : {&change.desktopScreen, &change.programScreen}) {
        fields >> size->width >> size->height >> size->mmWidth >> size->mmHeight;
    }
    fields >> change.programMode >> change.holder;
    if (!fields) {
        return std::nullopt;
    }
    return change;
}

} // namespace platform::x11
