// page_options.cpp - the query's pairs, read through the option table.
#include "web/page_options.h"

#include "framework/option_table.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr unsigned long long kMostFrames = 1000000000;

using Problem = std::optional<std::string>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A name or value of the query as the page's address encodes it: %XX for a
// byte, '+' for a space (what URLSearchParams writes). `pair` is the whole
// pair, for the reason. No value holds a control character, and one would
// end the value early when it is read as a command line's argument.
Problem Decode(const std::string& text, const std::string& pair, std::string* decoded) {
    decoded->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            *decoded += ' ';
            continue;
        }
        if (text[i] != '%') {
            *decoded += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return "'" + pair + "' has a malformed escape: % takes two hex digits, not '" +
                   text.substr(i, 3) + "'";
        }
        const auto byte = static_cast<unsigned char>(high * 16 + low);
        if (byte < 0x20 || byte == 0x7f) {
            return "'" + pair + "' has a control character, " + text.substr(i, 3);
        }
        *decoded += static_cast<char>(byte);
        i += 2;
    }
    return std::nullopt;
}

Problem ReadFrameList(const std::string& value, std::set<long>* frames) {
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        unsigned long long frame = 0;
        if (!ReadWholeNumber(value.substr(start, comma - start), kMostFrames, &frame) ||
            frame == 0) {
            return "capture= takes frame numbers from 1, separated by commas, not '" + value + "'";
        }
        frames->insert(static_cast<long>(frame));
        start = comma + 1;
    }
    return std::nullopt;
}

std::vector<CommandOption> PageTable(PageOptions* o) {
    return {
        SeedOption("", &o->seed, &o->seeded),
        {"--frames", "", "N", "",
         [o](const std::string& value) -> Problem {
             unsigned long long frames = 0;
             if (!ReadWholeNumber(value, kMostFrames, &frames)) {
                 return "frames= takes a whole number from 0 to 1000000000, not '" + value + "'";
             }
             o->run = true;
             o->frames = static_cast<long>(frames);
             return std::nullopt;
         }},
        {"--size", "", "WxH", "",
         [o](const std::string& value) -> Problem {
             if (!ReadSize(value, &o->width, &o->height)) {
                 return "size= takes WxH, 1 to " + std::to_string(kLargestEdge) + " a side, not '" +
                        value + "'";
             }
             return std::nullopt;
         }},
        {"--dump", "", "1", "",
         [o](const std::string& value) -> Problem {
             if (value != "1" && value != "0") {
                 return "dump= takes 1 or 0, not '" + value + "'";
             }
             o->dump = value == "1";
             return std::nullopt;
         }},
        {"--capture", "", "LIST", "",
         [o](const std::string& value) { return ReadFrameList(value, &o->capture); }},
    };
}

// A pair's problem in the query's own terms: "seed= takes ..." for the
// table's "--seed takes ...".
std::string InQueryTerms(std::string problem) {
    if (problem.starts_with("--")) {
        const std::size_t space = std::min(problem.find(' '), problem.size());
        problem = problem.substr(2, space - 2) + "=" + problem.substr(space);
    }
    return problem;
}

// The captured frames that lie outside the run's, a reason; nothing when
// every one is drawn.
Problem CaptureOutsideRun(const PageOptions& options) {
    if (options.frames == 0) {
        return "capture= would read back no frame: frames=0 draws none";
    }
    std::string outside;
    int count = 0;
    for (auto frame = options.capture.upper_bound(options.frames); frame != options.capture.end();
         ++frame) {
        outside += (count++ == 0 ? "" : ", ") + std::to_string(*frame);
    }
    if (count == 0) {
        return std::nullopt;
    }
    return "capture= frame" + std::string(count == 1 ? " " : "s ") + outside +
           (count == 1 ? " lies" : " lie") + " outside the run's frames 1 to " +
           std::to_string(options.frames);
}

} // namespace

PageOptions ParsePageOptions(const std::string& query) {
    PageOptions options;
    const std::vector<CommandOption> table = PageTable(&options);
    // Every pair is name=value, each one option with its value attached, so
    // that no pair is ever read as another's value. A pair given twice is
    // refused: an address says each thing once.
    std::vector<std::string> arguments{"tarrow"};
    std::vector<std::string> given;
    std::size_t start = query.empty() || query[0] != '?' ? 0 : 1;
    while (start < query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        const std::string pair = query.substr(start, end - start);
        start = end + 1;
        if (pair.empty()) {
            continue;
        }
        const std::size_t equals = std::min(pair.find('='), pair.size());
        std::string name;
        std::string value;
        if (Problem problem = Decode(pair.substr(0, equals), pair, &name)) {
            options.error = *problem;
            return options;
        }
        const bool known = std::any_of(table.begin(), table.end(), [&](const CommandOption& o) {
            return o.name == "--" + name;
        });
        if (!known) {
            options.error = "unknown pair '" + name + "' (seed, frames, size, dump, capture)";
            return options;
        }
        if (std::find(given.begin(), given.end(), name) != given.end()) {
            options.error = name + "= is given twice; the address gives each pair once";
            return options;
        }
        given.push_back(name);
        if (equals == pair.size()) {
            options.error = name + "= needs a value";
            return options;
        }
        if (Problem problem = Decode(pair.substr(equals + 1), pair, &value)) {
            options.error = *problem;
            return options;
        }
        arguments.push_back("--" + name + "=" + value);
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    options.error = InQueryTerms(
        ReadCommandLine(static_cast<int>(argv.size()), argv.data(), table).value_or(""));
    if (options.error.empty() && !options.run && (options.dump || !options.capture.empty())) {
        options.error = "dump= and capture= belong to a run: give frames= too";
    }
    if (options.error.empty() && !options.capture.empty()) {
        options.error = CaptureOutsideRun(options).value_or("");
    }
    return options;
}
