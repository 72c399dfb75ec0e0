// option_table.h - a program's command line as one table of options, from
// which both the parser and the --help text come, so that the two never
// disagree.
//
// Each option has a long name, perhaps a short alias, the name of its value
// (empty for a flag) and a line of help; reading an option hands its value,
// as given, to the option's own reader. A value follows its option as the next
// argument or after '=' (--size=8x8). Anything else is refused with one line
// naming it. An option marked `once` (an output, which a second would
// silently take the place of) is refused when given twice; any other given
// again takes its last value.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CommandOption {
    std::string name;  // "--frames"
    std::string alias; // "-h", or empty
    std::string value; // what its value is ("N", "WxH", "FILE", "DIR"); empty for a flag
    std::string help;  // one paragraph; the --help text wraps it
    // Reads the value (empty for a flag) into the program's options; a
    // one-line reason when it is not a valid value.
    std::function<std::optional<std::string>(const std::string& value)> read;
    bool once = false;
};

// Reads every argument; the first problem as one line, or nothing.
std::optional<std::string> ReadCommandLine(int argc, const char* const* argv,
                                           const std::vector<CommandOption>& table);

// The options' part of a --help text: one entry an option, help wrapped to
// 79 columns beside the names.
std::string OptionsHelp(const std::vector<CommandOption>& table);

// A whole number from 0 to `largest`, written in decimal digits only.
bool ReadWholeNumber(const std::string& text, unsigned long long largest,
                     unsigned long long* value);

// The longest side of a picture either program draws.
inline constexpr int kLargestEdge = 16384;

// A size written WxH: two whole numbers from 1 to kLargestEdge with a
// lower-case x between them.
bool ReadSize(const std::string& text, int* width, int* height);

// The --seed option both programs take: every clock seeding uses the seed.
CommandOption SeedOption(const std::string& help, unsigned int* seed, bool* given);
