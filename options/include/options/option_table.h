// option_table.h - a program's options as one table, from which the parser,
// the --help text and every message about a value come, so that none of them
// disagree.
//
// An entry is typed (a flag, a number with its range, a size, a list of
// frames, a path) and reads its value into one field of the program's options
// record. The same table reads a command line ("--frames 60", "--frames=60")
// and the page's address ("frames=60"): each message names the option as the
// reader's caller spells it, "--frames needs ..." or "frames= needs ...".
//
// On a command line a value follows its option as the next argument or after
// '='; a flag takes none. An option marked `once` (an output, which a second
// would silently take the place of) is refused when given twice; any other
// given again takes its last value. In an address every pair carries its
// value, a flag's is 1 or 0, and each pair is given once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using Problem = std::optional<std::string>;

// The longest side of a picture either program draws.
inline constexpr int kLargestEdge = 16384;
// The most frames a run may ask for.
inline constexpr long kMostFrames = 1'000'000'000;

// How the caller's input names an option.
enum class Spelling {
    CommandLine, // --frames
    Address,     // frames=
};

// What the parser and the help text know of an option, whatever it reads into.
struct OptionEntry {
    std::string name;  // "frames"
    std::string alias; // "-h", or empty
    std::string value; // what its value is ("N", "WxH", "FILE"); empty for a flag
    std::string help;  // one paragraph; the --help text wraps it
    bool once = false;
};

// The option's name as `spelling` writes it: "--frames" or "frames=".
std::string Spelt(const OptionEntry& entry, Spelling spelling);

// A table's entry for the program's options record `Options`: `read` takes
// the value as given (empty for a flag) and the option's name as spelt, and
// says in one line why a value is not valid.
template <class Options>
struct Option : OptionEntry {
    std::function<Problem(Options& options, const std::string& value, const std::string& spelt)>
        read;
};

template <class Options>
using OptionTable = std::vector<Option<Options>>;

// An address's pairs, decoded: a name, and its value unless the pair has no
// '='.
using AddressPairs = std::vector<std::pair<std::string, std::optional<std::string>>>;

namespace option_values {

// The readers behind the typed entries: each writes its message once.
Problem Number(const std::string& text, unsigned long long least, unsigned long long most,
               const std::string& what, const std::string& spelt, unsigned long long* number);
Problem Size(const std::string& text, const std::string& spelt, int* width, int* height);
Problem Frames(const std::string& text, const std::string& spelt, std::set<long>* frames);
Problem Path(const std::string& text, const std::string& spelt, std::string* path);
// A window's number as window systems write it: decimal, or hexadecimal
// after 0x (as X names its windows), from 1 to 0xFFFFFFFF.
Problem WindowNumber(const std::string& text, const std::string& spelt, std::uint32_t* number);

// Reads every argument of a command line, or every pair of an address, in
// order, handing each option's value to `read` (the index of its entry, the
// value, the name as spelt); the first problem as one line, or nothing.
using ReadEntry =
    std::function<Problem(std::size_t entry, const std::string& value, const std::string& spelt)>;
Problem ReadArguments(int argc, const char* const* argv,
                      const std::vector<const OptionEntry*>& entries, const ReadEntry& read);
Problem ReadPairs(const AddressPairs& pairs, const std::vector<const OptionEntry*>& entries,
                  const ReadEntry& read);
std::string Help(const std::vector<const OptionEntry*>& entries);

template <class Options>
std::vector<const OptionEntry*> Entries(const OptionTable<Options>& table) {
    std::vector<const OptionEntry*> entries;
    for (const Option<Options>& option : table) {
        entries.push_back(&option);
    }
    return entries;
}

} // namespace option_values

// Reads a command line into `options`: the first problem, or nothing.
template <class Options>
Problem ReadCommandLine(int argc, const char* const* argv, const OptionTable<Options>& table,
                        Options* options) {
    return option_values::ReadArguments(
        argc, argv, option_values::Entries(table),
        [&](std::size_t entry, const std::string& value, const std::string& spelt) {
            return table[entry].read(*options, value, spelt);
        });
}

// Reads an address's decoded name=value pairs into `options`.
template <class Options>
Problem ReadAddress(const AddressPairs& pairs, const OptionTable<Options>& table,
                    Options* options) {
    return option_values::ReadPairs(
        pairs, option_values::Entries(table),
        [&](std::size_t entry, const std::string& value, const std::string& spelt) {
            return table[entry].read(*options, value, spelt);
        });
}

// The options' part of a --help text: one entry an option, help wrapped to
// 79 columns beside the names.
template <class Options>
std::string OptionsHelp(const OptionTable<Options>& table) {
    return option_values::Help(option_values::Entries(table));
}

// The typed entries. `given`, where named, is set when the option is read.

// Sets `field`; in an address, given 1 or 0, sets it to that.
template <class Options>
Option<Options> Flag(std::string name, std::string alias, std::string help, bool Options::*field) {
    Option<Options> option{{std::move(name), std::move(alias), "", std::move(help)}, {}};
    option.read = [field](Options& options, const std::string& value, const std::string&) {
        options.*field = value != "0";
        return Problem();
    };
    return option;
}

// A whole number from `least` to `most`, written in decimal digits only;
// `what` says what it is in the message ("a whole number of frames").
template <class Options, class Number>
Option<Options> Count(std::string name, std::string value, std::string what,
                      std::type_identity_t<Number> least, std::type_identity_t<Number> most,
                      std::string help, Number Options::*field, bool Options::*given = nullptr) {
    Option<Options> option{{std::move(name), "", std::move(value), std::move(help)}, {}};
    option.read = [=](Options& options, const std::string& text, const std::string& spelt) {
        unsigned long long number = 0;
        Problem problem =
            option_values::Number(text, static_cast<unsigned long long>(least),
                                  static_cast<unsigned long long>(most), what, spelt, &number);
        if (!problem) {
            options.*field = static_cast<Number>(number);
            if (given != nullptr) {
                options.*given = true;
            }
        }
        return problem;
    };
    return option;
}

// A size written WxH: two whole numbers from 1 to kLargestEdge with a
// lower-case x between them.
template <class Options>
Option<Options> Size(std::string name, std::string help, int Options::*width, int Options::*height,
                     bool Options::*given = nullptr) {
    Option<Options> option{{std::move(name), "", "WxH", std::move(help)}, {}};
    option.read = [=](Options& options, const std::string& text, const std::string& spelt) {
        Problem problem = option_values::Size(text, spelt, &(options.*width), &(options.*height));
        if (!problem && given != nullptr) {
            options.*given = true;
        }
        return problem;
    };
    return option;
}

// Frame numbers from 1 to kMostFrames, separated by commas.
template <class Options>
Option<Options> FrameList(std::string name, std::string help, std::set<long> Options::*field) {
    Option<Options> option{{std::move(name), "", "LIST", std::move(help)}, {}};
    option.read = [field](Options& options, const std::string& text, const std::string& spelt) {
        return option_values::Frames(text, spelt, &(options.*field));
    };
    return option;
}

// A window of another program, by its number (option_values::WindowNumber).
template <class Options>
Option<Options> Window(std::string name, std::string alias, std::string help,
                       std::uint32_t Options::*field) {
    Option<Options> option{{std::move(name), std::move(alias), "ID", std::move(help)}, {}};
    option.read = [field](Options& options, const std::string& text, const std::string& spelt) {
        return option_values::WindowNumber(text, spelt, &(options.*field));
    };
    return option;
}

// A file or folder to write: given once, as a second would take the first's
// place.
template <class Options>
Option<Options> Path(std::string name, std::string value, std::string help,
                     std::string Options::*field) {
    Option<Options> option{{std::move(name), "", std::move(value), std::move(help), true}, {}};
    option.read = [field](Options& options, const std::string& text, const std::string& spelt) {
        return option_values::Path(text, spelt, &(options.*field));
    };
    return option;
}

// The seed every program takes: every clock seeding uses it.
template <class Options>
Option<Options> Seed(std::string help, std::uint32_t Options::*seed, bool Options::*given) {
    return Count<Options, std::uint32_t>("seed", "S", "a whole number", 0, UINT32_MAX,
                                         std::move(help), seed, given);
}
