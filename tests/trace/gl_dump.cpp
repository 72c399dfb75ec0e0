// gl_dump.cpp - reading apitrace's dump.
#include "tests/trace/gl_dump.h"

#include <algorithm>
#include <cctype>
#include <sstream>

std::optional<Call> ParseCall(const std::string& text) {
    const std::size_t space = text.find(' ');
    if (space == std::string::npos || space == 0 ||
        !std::all_of(text.begin(), text.begin() + static_cast<long>(space),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    std::string line = text.substr(space + 1);
    const std::size_t note = line.find(" // ");
    const bool faked = note != std::string::npos && line.compare(note + 4, 4, "fake") == 0;
    line = line.substr(0, note);
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return std::nullopt;
    }
    line.resize(close + 1);
    return Call{line.substr(0, open), line, std::stol(text.substr(0, space)), faked};
}

std::vector<Call> Calls(const std::string& dump) {
    std::vector<Call> calls;
    std::istringstream lines(dump);
    for (std::string text; std::getline(lines, text);) {
        if (std::optional<Call> call = ParseCall(text)) {
            calls.push_back(std::move(*call));
        }
    }
    return calls;
}

bool IsSwap(const Call& call) {
    return call.name == "eglSwapBuffers" || call.name == "glXSwapBuffers";
}

std::vector<Frame> Frames(const std::vector<Call>& calls) {
    std::vector<Frame> frames;
    Frame current;
    for (const Call& call : calls) {
        if (call.name == "glClearColor" && frames.empty()) {
            current.clear(); // everything before the first frame belongs to set-up
        }
        current.push_back(call);
        if (IsSwap(call)) {
            frames.push_back(current);
            current.clear();
        }
    }
    return frames;
}
