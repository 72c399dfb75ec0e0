// key_codes.cpp - the desktop's virtual-key codes of the browser's keys,
// named by KeyboardEvent.code: where a key is on the keyboard, whatever its
// layout types, as the program's key table expects.
#include "web/internal.h"

#include <array>
#include <cstring>
#include <utility>

namespace platform::detail {
namespace {

constexpr std::array<std::pair<const char*, int>, 25> kNamedKeys{{
    {"Backspace", VK_BACK},      {"Tab", VK_TAB},
    {"Enter", VK_RETURN},        {"NumpadEnter", VK_RETURN},
    {"ShiftLeft", VK_SHIFT},     {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL}, {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},        {"AltRight", VK_MENU},
    {"Pause", VK_PAUSE},         {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},         {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},       {"End", VK_END},
    {"Home", VK_HOME},           {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},          {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},      {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},       {"PrintScreen", 0x2C},
    {"CapsLock", 0x14},
}};

constexpr int kFunctionKeys = VK_F12 - VK_F1 + 1;

} // namespace

int VirtualKeyFromCode(const char* code) {
    const std::size_t length = std::strlen(code);
    // "KeyA" .. "KeyZ", "Digit0" .. "Digit9".
    if (length == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') {
        return code[3];
    }
    if (length == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') {
        return code[5];
    }
    // "F1" .. "F12".
    if ((length == 2 || length == 3) && code[0] == 'F') {
        int number = 0;
        for (std::size_t i = 1; i < length; ++i) {
            if (code[i] < '0' || code[i] > '9') {
                return 0;
            }
            number = number * 10 + (code[i] - '0');
        }
        return number >= 1 && number <= kFunctionKeys ? VK_F1 + number - 1 : 0;
    }
    for (const auto& [name, virtualKey] : kNamedKeys) {
        if (std::strcmp(name, code) == 0) {
            return virtualKey;
        }
    }
    return 0;
}

} // namespace platform::detail
