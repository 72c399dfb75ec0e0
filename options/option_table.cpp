// option_table.cpp - reading a command line or an address through a table,
// and the help text made from it.
#include "options/option_table.h"

#include <algorithm>

namespace {

constexpr std::size_t kHelpWidth = 79;

using EntryList = std::vector<const OptionEntry*>;

std::optional<std::size_t> Find(const EntryList& entries, const std::string& name,
                                Spelling spelling) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const OptionEntry& entry = *entries[i];
        const bool named =
            spelling == Spelling::CommandLine ? "--" + entry.name == name : entry.name == name;
        if (named ||
            (spelling == Spelling::CommandLine && !entry.alias.empty() && entry.alias == name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string Names(const OptionEntry& entry) {
    return (entry.alias.empty() ? "" : entry.alias + ", ") + Spelt(entry, Spelling::CommandLine) +
           (entry.value.empty() ? "" : " " + entry.value);
}

} // namespace

std::string Spelt(const OptionEntry& entry, Spelling spelling) {
    return spelling == Spelling::CommandLine ? "--" + entry.name : entry.name + "=";
}

namespace option_values {

Problem ReadArguments(int argc, const char* const* argv, const EntryList& entries,
                      const ReadEntry& read) {
    std::vector<std::size_t> given;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const std::optional<std::size_t> found = Find(entries, name, Spelling::CommandLine);
        if (!found) {
            return "unknown option '" + name + "' (see --help)";
        }
        const OptionEntry& entry = *entries[*found];
        const std::string spelt = Spelt(entry, Spelling::CommandLine);
        if (entry.once && std::find(given.begin(), given.end(), *found) != given.end()) {
            return spelt + " may be given only once";
        }
        given.push_back(*found);
        if (entry.value.empty() && value) {
            return name + " takes no value";
        }
        if (!entry.value.empty() && !value) {
            if (i + 1 >= argc) {
                return name + " needs a value";
            }
            value = argv[++i];
        }
        if (Problem problem = read(*found, value.value_or(""), spelt)) {
            return problem;
        }
    }
    return std::nullopt;
}

Problem ReadPairs(const AddressPairs& pairs, const EntryList& entries, const ReadEntry& read) {
    std::vector<std::size_t> given;
    for (const auto& [name, value] : pairs) {
        const std::optional<std::size_t> found = Find(entries, name, Spelling::Address);
        if (!found) {
            std::string known;
            for (const OptionEntry* entry : entries) {
                known += (known.empty() ? "" : ", ") + entry->name;
            }
            return "unknown pair '" + name + "' (" + known + ")";
        }
        const OptionEntry& entry = *entries[*found];
        const std::string spelt = Spelt(entry, Spelling::Address);
        if (std::find(given.begin(), given.end(), *found) != given.end()) {
            return spelt + " is given twice; the address gives each pair once";
        }
        given.push_back(*found);
        if (!value) {
            return spelt + " needs a value";
        }
        if (entry.value.empty() && *value != "1" && *value != "0") {
            return spelt + " takes 1 or 0, not '" + *value + "'";
        }
        if (Problem problem = read(*found, *value, spelt)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::string Help(const EntryList& entries) {
    std::size_t widest = 0;
    for (const OptionEntry* entry : entries) {
        widest = std::max(widest, Names(*entry).size());
    }
    const std::size_t column = 2 + widest + 2;
    std::string text;
    for (const OptionEntry* entry : entries) {
        const std::string& help = entry->help;
        std::string line = "  " + Names(*entry);
        line.resize(column, ' ');
        std::size_t start = 0;
        bool lineHasWords = false;
        while (start < help.size()) {
            const std::size_t end = std::min(help.find(' ', start), help.size());
            const std::string word = help.substr(start, end - start);
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

} // namespace option_values
