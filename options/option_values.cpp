// option_values.cpp - the values the typed entries read, each with the one
// message that says what a valid one is.
#include "options/option_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

// Decimal digits only: no sign, no space, no base prefix.
bool ReadWholeNumber(const std::string& text, unsigned long long largest,
                     unsigned long long* value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, *value);
    return problem == std::errc() && stop == end && *value <= largest;
}

} // namespace

namespace option_values {

Problem Number(const std::string& text, unsigned long long least, unsigned long long most,
               const std::string& what, const std::string& spelt, unsigned long long* number) {
    if (!ReadWholeNumber(text, most, number) || *number < least) {
        return spelt + " needs " + what + " from " + std::to_string(least) + " to " +
               std::to_string(most) + ", not '" + text + "'";
    }
    return std::nullopt;
}

Problem Size(const std::string& text, const std::string& spelt, int* width, int* height) {
    const std::size_t cross = text.find('x');
    unsigned long long w = 0;
    unsigned long long h = 0;
    if (cross == std::string::npos || !ReadWholeNumber(text.substr(0, cross), kLargestEdge, &w) ||
        !ReadWholeNumber(text.substr(cross + 1), kLargestEdge, &h) || w == 0 || h == 0) {
        const bool upperX = text.find('X') != std::string::npos;
        return spelt + " needs WxH with each side from 1 to " + std::to_string(kLargestEdge) +
               ", not '" + text + "'" + (upperX ? " (a lower-case x between the sides)" : "");
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return std::nullopt;
}

Problem Frames(const std::string& text, const std::string& spelt, std::set<long>* frames) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        unsigned long long frame = 0;
        if (!ReadWholeNumber(text.substr(start, comma - start), kMostFrames, &frame) ||
            frame == 0) {
            return spelt + " needs frame numbers from 1 to " + std::to_string(kMostFrames) +
                   ", separated by commas, not '" + text + "'";
        }
        frames->insert(static_cast<long>(frame));
        start = comma + 1;
    }
    return std::nullopt;
}

Problem WindowNumber(const std::string& text, const std::string& spelt, std::uint32_t* number) {
    const bool hexadecimal =
        text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hexadecimal ? 2 : 0);
    const char* end = text.data() + text.size();
    unsigned long long value = 0;
    const auto [stop, problem] = std::from_chars(begin, end, value, hexadecimal ? 16 : 10);
    const bool digitFirst = begin != end && std::isxdigit(static_cast<unsigned char>(*begin)) != 0;
    if (!digitFirst || problem != std::errc() || stop != end || value == 0 || value > 0xFFFFFFFF) {
        return spelt + " needs a window's number, decimal or 0x-hexadecimal, from 1 to " +
               "0xffffffff, not '" + text + "'";
    }
    *number = static_cast<std::uint32_t>(value);
    return std::nullopt;
}

Problem Path(const std::string& text, const std::string& spelt, std::string* path) {
    if (text.empty()) {
        return spelt + " needs a path";
    }
    *path = text;
    return std::nullopt;
}

} // namespace option_values
