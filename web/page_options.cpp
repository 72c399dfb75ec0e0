// page_options.cpp - the query's pairs, read through the option table.
#include "web/page_options.h"

#include "framework/option_table.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr unsigned long long kMostFrames = 1000000000;

using Problem = std::optional<std::string>;

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

} // namespace

PageOptions ParsePageOptions(const std::string& query) {
    PageOptions options;
    const std::vector<CommandOption> table = PageTable(&options);
    // Every pair is name=value, each one option with its value attached, so
    // that no pair is ever read as another's value.
    std::vector<std::string> arguments{"tarrow"};
    std::size_t start = query.empty() || query[0] != '?' ? 0 : 1;
    while (start < query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        const std::string pair = query.substr(start, end - start);
        start = end + 1;
        if (pair.empty()) {
            continue;
        }
        const std::string name = pair.substr(0, pair.find('='));
        const bool known = std::any_of(table.begin(), table.end(), [&](const CommandOption& o) {
            return o.name == "--" + name;
        });
        if (!known) {
            options.error = "unknown pair '" + name + "' (seed, frames, size, dump, capture)";
            return options;
        }
        if (pair.size() == name.size()) {
            options.error = name + "= needs a value";
            return options;
        }
        arguments.push_back("--" + pair);
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
    return options;
}
