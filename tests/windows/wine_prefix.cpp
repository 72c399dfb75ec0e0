// wine_prefix.cpp - per-test Wine prefixes.
#include "tests/windows/wine_prefix.h"

#include <filesystem>

namespace fs = std::filesystem;

WinePrefix::WinePrefix(const ScratchDirectory& scratch) : path_(scratch.Path("prefix")) {
    const fs::path templatePath = TARROW_WINE_TEMPLATE;
    if (!fs::exists(templatePath / "system.reg")) {
        problem_ = "no Wine prefix template at " + templatePath.string();
        return;
    }
    try {
        fs::copy(templatePath, path_,
                 fs::copy_options::recursive | fs::copy_options::create_hard_links |
                     fs::copy_options::copy_symlinks);
        for (const char* registry : {"system.reg", "user.reg", "userdef.reg"}) {
            fs::remove(fs::path(path_) / registry);
            fs::copy_file(templatePath / registry, fs::path(path_) / registry);
        }
    } catch (const fs::filesystem_error& failure) {
        problem_ = std::string("cannot copy the Wine prefix: ") + failure.what();
    }
}

WinePrefix::~WinePrefix() {
    if (ready()) {
        RunProcess({"/usr/bin/wineserver", "-k"}, Environment());
    }
}

ProcessEnvironment WinePrefix::Environment(const std::string& display,
                                           const std::string& debugChannels) const {
    ProcessEnvironment environment{{{"WINEPREFIX", path_},
                                    {"WINEDEBUG", debugChannels},
                                    {"WINEDLLOVERRIDES", "mscoree,mshtml="}},
                                   {"DISPLAY", "WAYLAND_DISPLAY"}};
    if (!display.empty()) {
        environment.set.emplace_back("DISPLAY", display);
    }
    return environment;
}

std::vector<std::string> WinePrefix::Demo(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"/usr/bin/wine", TARROW_WINDOWS_EXE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}
