// gl_dump.h - a GL call stream as apitrace's dump prints it, read back as
// calls and cut into frames.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct Call {
    std::string name;
    std::string line; // as the dump prints it, without the call number, result and note
    long number = 0;
    bool faked = false; // recorded by the tracer itself, not made by the program
};
using Frame = std::vector<Call>;

// One line of the dump, "<number> <name>(<arguments>)[ = <result>][ // <note>]".
std::optional<Call> ParseCall(const std::string& text);

// Every call of a dump, in order.
std::vector<Call> Calls(const std::string& dump);

// Whether the call ends a frame (a buffer swap, through EGL or GLX).
bool IsSwap(const Call& call);

// The frames of a stream: each from its clear colour (the first call of the
// scene's Draw) to its buffer swap, inclusive. What comes before the first
// is set-up.
std::vector<Frame> Frames(const std::vector<Call>& calls);
