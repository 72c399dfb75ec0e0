// wine_prefix.cpp - per-test Wine prefixes.
#include "tests/windows/wine_prefix.h"

#include "tests/support/files.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The Windows build under test: CTest names one for each architecture.
std::string WindowsExe() {
    const char* exe = std::getenv("TARROW_WINDOWS_EXE");
    return exe != nullptr ? exe : "";
}

} // namespace

WinePrefix::WinePrefix(const ScratchDirectory& scratch) : path_(scratch.Path("prefix")) {
    if (WindowsExe().empty() || !fs::exists(WindowsExe())) {
        problem_ = "TARROW_WINDOWS_EXE names no Windows build: '" + WindowsExe() + "'";
        return;
    }
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
    std::vector<std::string> command{"/usr/bin/wine", WindowsExe()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

std::vector<std::string> WinePrefix::Program(const std::string& name,
                                             const std::vector<std::string>& arguments) {
    std::vector<std::string> command = Demo(arguments);
    command[1] = Beside(name);
    return command;
}

std::string WinePrefix::Beside(const std::string& program) {
    return (fs::path(WindowsExe()).parent_path() / program).string();
}

bool WinePrefix::Is32Bit() {
    // The PE header begins where the word at 0x3c says: "PE\0\0", then the
    // machine (0x14c: i386).
    const std::string exe = ReadFile(WindowsExe());
    const auto byte = [&](std::size_t at) {
        return at < exe.size() ? static_cast<unsigned char>(exe[at]) : 0u;
    };
    const std::size_t header = byte(0x3c) | byte(0x3d) << 8 | byte(0x3e) << 16 | byte(0x3f) << 24;
    const bool pe =
        header + 6 <= exe.size() && exe.compare(header, 4, std::string("PE\0\0", 4)) == 0;
    return pe && (byte(header + 4) | byte(header + 5) << 8) == 0x14c;
}
