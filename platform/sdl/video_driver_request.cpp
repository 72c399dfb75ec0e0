// video_driver_request.cpp - SDL_VIDEODRIVER read as a list of SDL's driver
// names, with Wayland served through X11.
#include "sdl/video_driver_request.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace platform {
namespace {

constexpr char kX11[] = "x11";

// SDL compares driver names without regard to case.
bool IsWayland(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "wayland";
}

void Add(std::vector<std::string>* drivers, const std::string& name) {
    if (!name.empty() && std::find(drivers->begin(), drivers->end(), name) == drivers->end()) {
        drivers->push_back(name);
    }
}

std::string Joined(const std::vector<std::string>& drivers) {
    std::string list;
    for (const std::string& name : drivers) {
        list += (list.empty() ? "" : ",") + name;
    }
    return list;
}

} // namespace

VideoDriverChoice ChooseVideoDriver(const char* requested, const char* display) {
    if (requested == nullptr || *requested == '\0') {
        return VideoDriverChoice{kX11, "", ""};
    }
    std::vector<std::string> drivers;
    bool waylandAsked = false;
    std::istringstream names(requested);
    for (std::string name; std::getline(names, name, ',');) {
        waylandAsked = waylandAsked || IsWayland(name);
        Add(&drivers, IsWayland(name) ? kX11 : name); // X11 in Wayland's place in the order
    }
    if (!waylandAsked) {
        return VideoDriverChoice{requested, "", ""};
    }
    if (display == nullptr || *display == '\0') {
        return VideoDriverChoice{"", "",
                                 "SDL_VIDEODRIVER asks for native Wayland, which is not supported, "
                                 "and DISPLAY is not set for XWayland"};
    }
    // The display may be XWayland's or a plain X server's: it is named, not guessed at.
    return VideoDriverChoice{Joined(drivers),
                             std::string("SDL_VIDEODRIVER asks for native Wayland, which is not "
                                         "supported; showing the demo through X11 on display ") +
                                 display,
                             ""};
}

} // namespace platform
