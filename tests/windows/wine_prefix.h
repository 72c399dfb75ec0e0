// wine_prefix.h - a Wine prefix of one test's own, copied from the template
// the build makes once (wineboot), and the environment that runs the
// Windows build of the demo in it: the one TARROW_WINDOWS_EXE names.
//
// The copy hard-links the template's files, which Wine only reads, and copies
// the registry, which it rewrites; so each test starts from the same state,
// and parallel tests never share a prefix or a Wine server.
#pragma once

#include "tests/support/scratch_directory.h"
#include "tests/support/subprocess.h"

#include <string>
#include <vector>

class WinePrefix {
  public:
    explicit WinePrefix(const ScratchDirectory& scratch); // copies the template
    ~WinePrefix();                                        // ends the prefix's Wine server
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    bool ready() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

    // The environment for Wine on this display (empty: none), with Wine's
    // debug channels as given.
    ProcessEnvironment Environment(const std::string& display = "",
                                   const std::string& debugChannels = "-all") const;
    // The command that runs the Windows build with these arguments.
    static std::vector<std::string> Demo(const std::vector<std::string>& arguments = {});
    // The command that runs another program of that build (tarrow.scr).
    static std::vector<std::string> Program(const std::string& name,
                                            const std::vector<std::string>& arguments);
    // Whether that build is the 32-bit one (its PE header names an i386 machine).
    static bool Is32Bit();
    // Another program of that build, in the same folder (tarrow.scr).
    static std::string Beside(const std::string& program);

  private:
    std::string path_;
    std::string problem_;
};
