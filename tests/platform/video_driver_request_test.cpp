// The video driver a run is given for what its environment asks.
#include "platform/sdl/video_driver_request.h"

#include <gtest/gtest.h>

namespace {

using platform::ChooseVideoDriver;
using platform::VideoDriverChoice;

TEST(VideoDriverRequest, WithoutARequestX11IsUsedAndAnyOtherIsHandedOn) {
    EXPECT_EQ(ChooseVideoDriver(nullptr, ":0").drivers, "x11");
    EXPECT_EQ(ChooseVideoDriver("", nullptr).drivers, "x11");
    const VideoDriverChoice offscreen = ChooseVideoDriver("offscreen,dummy", nullptr);
    EXPECT_EQ(offscreen.drivers, "offscreen,dummy");
    EXPECT_EQ(offscreen.notice, "");
}

TEST(VideoDriverRequest, WaylandIsServedThroughX11InItsPlace) {
    const VideoDriverChoice wayland = ChooseVideoDriver("wayland", ":7");
    EXPECT_EQ(wayland.drivers, "x11");
    // The display is named as it is: it may be a plain X server, not XWayland.
    EXPECT_NE(wayland.notice.find("X11 on display :7"), std::string::npos) << wayland.notice;
    EXPECT_EQ(wayland.notice.find("XWayland"), std::string::npos) << wayland.notice;
    EXPECT_EQ(wayland.notice.find('\n'), std::string::npos);
    EXPECT_EQ(ChooseVideoDriver("Wayland,offscreen", ":7").drivers, "x11,offscreen");
    EXPECT_EQ(ChooseVideoDriver("x11,wayland", ":7").drivers, "x11");
}

TEST(VideoDriverRequest, WaylandWithoutAnXDisplayIsRefusedWhateverElseIsNamed) {
    for (const char* requested : {"wayland", "wayland,x11", "wayland,offscreen"}) {
        const VideoDriverChoice choice = ChooseVideoDriver(requested, "");
        EXPECT_EQ(choice.drivers, "") << requested;
        EXPECT_NE(choice.refusal.find("DISPLAY is not set"), std::string::npos) << requested;
    }
}

} // namespace
