// page_options.h - what the page's address asks for, read from its query.
//
//   ?seed=S          seed the demo (or the run) as --seed does
//   ?frames=N        instead of the demo, a run of N frames as fast as it
//                    can, driven as tarrow-render drives the scene
//   &size=WxH        the run's window size (default 1680x1050, as tarrow-render's)
//   &dump=1          after the run, the scene's state as tarrow-render's
//                    --dump-state writes it, on the console and in the page
//   &capture=1,120   frames of the run read back and kept for the page's reader
//                    (window.tarrow.frames), each from 1 to N
//
// Names and values are percent-decoded, '+' as a space, as URLSearchParams
// writes them ("capture=1%2C120"); the decoded pairs are read through an
// option table (options/option_table.h), as a command line is. Each pair is
// given once: a repeated one is refused, where a command line takes the last.
#pragma once

#include <cstdint>
#include <set>
#include <string>

struct PageOptions {
    bool seeded = false;
    std::uint32_t seed = 0;
    bool run = false; // frames given
    long frames = 0;
    int width = 1680;
    int height = 1050;
    bool dump = false;
    std::set<long> capture;
    std::string error; // what was wrong, one line; empty when nothing was
};

PageOptions ParsePageOptions(const std::string& query);
