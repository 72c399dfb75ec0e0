// option_table.cpp - reading a command line through its table, and the help
// text made from it.
#include "framework/option_table.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

constexpr std::size_t kHelpWidth = 79;
constexpr unsigned long long kLargestSeed = UINT32_MAX;

const CommandOption* Find(const std::vector<CommandOption>& table, const std::string& name) {
    const auto found = std::find_if(table.begin(), table.end(), [&](const CommandOption& option) {
        return option.name == name || (!option.alias.empty() && option.alias == name);
    });
    return found == table.end() ? nullptr : &*found;
}

std::string Names(const CommandOption& option) {
    return (option.alias.empty() ? "" : option.alias + ", ") + option.name +
           (option.value.empty() ? "" : " " + option.value);
}

} // namespace

std::optional<std::string> ReadCommandLine(int argc, const char* const* argv,
                                           const std::vector<CommandOption>& table) {
    std::vector<const CommandOption*> given;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const CommandOption* option = Find(table, name);
        if (option == nullptr) {
            return "unknown option '" + name + "' (see --help)";
        }
        if (option->once && std::find(given.begin(), given.end(), option) != given.end()) {
            return option->name + " may be given only once";
        }
        given.push_back(option);
        if (option->value.empty() && value) {
            return name + " takes no value";
        }
        if (!option->value.empty() && !value) {
            if (i + 1 >= argc) {
                return name + " needs a value";
            }
            value = argv[++i];
        }
        if (auto problem = option->read(value.value_or(""))) {
            return problem;
        }
    }
    return std::nullopt;
}

std::string OptionsHelp(const std::vector<CommandOption>& table) {
    std::size_t widest = 0;
    for (const CommandOption& option : table) {
        widest = std::max(widest, Names(option).size());
    }
    const std::size_t column = 2 + widest + 2;
    std::string text;
    for (const CommandOption& option : table) {
        std::string line = "  " + Names(option);
        line.resize(column, ' ');
        std::size_t start = 0;
        bool lineHasWords = false;
        while (start < option.help.size()) {
            const std::size_t end = std::min(option.help.find(' ', start), option.help.size());
            const std::string word = option.help.substr(start, end - start);
            if (lineHasWords && line.size() + 1 + word.size() > kHelpWidth) {
                text += line + "\n";
                line = std::string(column, ' ');
                lineHasWords = false;
            }
            line += (lineHasWords ? " " : "") + word;
            lineHasWords = true;
            start = end + 1;
        }
        text += line + "\n";
    }
    return text;
}

bool ReadWholeNumber(const std::string& text, unsigned long long largest,
                     unsigned long long* value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, *value);
    return problem == std::errc() && stop == end && *value <= largest;
}

bool ReadSize(const std::string& text, int* width, int* height) {
    const std::size_t cross = text.find('x');
    unsigned long long w = 0;
    unsigned long long h = 0;
    if (cross == std::string::npos || !ReadWholeNumber(text.substr(0, cross), kLargestEdge, &w) ||
        !ReadWholeNumber(text.substr(cross + 1), kLargestEdge, &h) || w == 0 || h == 0) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

CommandOption SeedOption(const std::string& help, unsigned int* seed, bool* given) {
    return {"--seed", "", "S", help, [seed, given](const std::string& value) {
                unsigned long long number = 0;
                if (!ReadWholeNumber(value, kLargestSeed, &number)) {
                    return std::optional<std::string>("--seed needs a whole number from 0 to " +
                                                      std::to_string(kLargestSeed) + ", not '" +
                                                      value + "'");
                }
                *seed = static_cast<unsigned int>(number);
                *given = true;
                return std::optional<std::string>();
            }};
}
