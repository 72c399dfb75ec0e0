// saver_command_line.cpp - the screen-saver settings' requests.
#include "framework/saver_command_line.h"

#include "options/option_table.h"

#include <cctype>

namespace {

constexpr char kUsage[] = " (a screen saver takes /s, /p HWND or /c)";

} // namespace

SaverRequest ParseSaverCommandLine(int argc, const char* const* argv) {
    SaverRequest request;
    if (argc < 2) {
        return request;
    }
    const std::string first = argv[1];
    const char letter = first.size() >= 2
                            ? static_cast<char>(std::tolower(static_cast<unsigned char>(first[1])))
                            : '\0';
    const bool marked = !first.empty() && (first[0] == '/' || first[0] == '-');
    const std::string attached = first.size() > 3 && first[2] == ':' ? first.substr(3) : "";
    const bool plain = first.size() == 2;
    if (!marked || (!plain && attached.empty()) ||
        (letter != 's' && letter != 'p' && letter != 'c')) {
        request.error = "unknown argument '" + first + "'" + kUsage;
        return request;
    }
    // The window follows the letter after a colon, or as the next argument.
    int next = 2;
    std::string number = attached;
    if (plain && letter != 's' && next < argc) {
        number = argv[next++];
    }
    if (next < argc) {
        request.error = "unexpected argument '" + std::string(argv[next]) + "'" + kUsage;
        return request;
    }
    const std::string spelt = first.substr(0, 2);
    if (letter == 's') {
        if (!attached.empty()) {
            request.error = spelt + " takes no window" + kUsage;
            return request;
        }
        request.mode = SaverMode::Screen;
        return request;
    }
    if (letter == 'p' && number.empty()) {
        request.error = spelt + " needs the preview's window" + kUsage;
        return request;
    }
    request.mode = letter == 'p' ? SaverMode::Preview : SaverMode::Configure;
    if (!number.empty()) {
        if (const Problem wrong = option_values::WindowNumber(number, spelt, &request.window)) {
            request.error = *wrong;
        }
    }
    return request;
}
