// key_codes.cpp - SDL's key codes and the virtual-key codes of the desktop API,
// both ways, and keybd_event, which types a key through SDL's event queue.
#include "sdl/internal.h"
#include "synthetic_input.h"

#include <array>
#include <utility>

namespace platform {
namespace {

// Keys whose codes are not a plain range.
constexpr std::array<std::pair<SDL_Keycode, int>, 25> kNamedKeys{{
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},       {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},       {SDLK_PAUSE, VK_PAUSE},   {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},     {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},         {SDLK_HOME, VK_HOME},     {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},           {SDLK_RIGHT, VK_RIGHT},   {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},   {SDLK_DELETE, VK_DELETE}, {SDLK_PRINTSCREEN, 0x2C},
    {SDLK_CAPSLOCK, 0x14},
}};

constexpr int kFunctionKeys = VK_F12 - VK_F1 + 1;

} // namespace

namespace detail {

int VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + (key - SDLK_F1);
    }
    for (const auto& [sdl, virtualKey] : kNamedKeys) {
        if (sdl == key) {
            return virtualKey;
        }
    }
    return 0;
}

SDL_Keycode SdlFromVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return SDLK_a + (virtualKey - 'A');
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return SDLK_0 + (virtualKey - '0');
    }
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + kFunctionKeys) {
        return SDLK_F1 + (virtualKey - VK_F1);
    }
    for (const auto& [sdl, code] : kNamedKeys) {
        if (code == virtualKey) {
            return sdl; // the first, left-hand key of a pair
        }
    }
    return SDLK_UNKNOWN;
}

} // namespace detail
} // namespace platform

void keybd_event(BYTE virtualKey, BYTE /*scanCode*/, DWORD flags, ULONG_PTR /*extraInfo*/) {
    const SDL_Keycode key = platform::detail::SdlFromVirtualKey(virtualKey);
    if (key == SDLK_UNKNOWN || !platform::detail::EnsureVideo()) {
        return;
    }
    // Alt typed earlier is held for the keys that follow, as on a keyboard.
    static bool altHeld = false;
    const bool released = (flags & KEYEVENTF_KEYUP) != 0;
    if (virtualKey == VK_MENU) {
        altHeld = !released;
    }
    SDL_Event event{};
    event.type = released ? SDL_KEYUP : SDL_KEYDOWN;
    event.key.type = event.type;
    event.key.timestamp = SDL_GetTicks();
    event.key.state = event.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = altHeld ? KMOD_LALT : KMOD_NONE;
    SDL_PushEvent(&event);
}
