// page_options.cpp - the query's pairs, read through the option table.
#include "page_options.h"

#include "options/option_table.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

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
// pair, for the reason. No name or value holds a control character: no
// option takes one, and a message naming it would not show it.
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

using O = PageOptions;

const OptionTable<O>& Table() {
    static const OptionTable<O> table{
        Seed<O>("", &O::seed, &O::seeded),
        Count<O, long>("frames", "N", "a whole number", 0, kMostFrames, "", &O::frames, &O::run),
        Size<O>("size", "", &O::width, &O::height),
        Flag<O>("dump", "", "", &O::dump),
        FrameList<O>("capture", "", &O::capture),
    };
    return table;
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
    // Every pair is name=value, each one option with its value attached, so
    // that no pair is ever read as another's value.
    AddressPairs pairs;
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
        if (equals == pair.size()) {
            pairs.emplace_back(name, std::nullopt);
            continue;
        }
        if (Problem problem = Decode(pair.substr(equals + 1), pair, &value)) {
            options.error = *problem;
            return options;
        }
        pairs.emplace_back(name, value);
    }
    options.error = ReadAddress(pairs, Table(), &options).value_or("");
    if (options.error.empty() && !options.run && (options.dump || !options.capture.empty())) {
        options.error = "dump= and capture= belong to a run: give frames= too";
    }
    if (options.error.empty() && !options.capture.empty()) {
        options.error = CaptureOutsideRun(options).value_or("");
    }
    return options;
}
