// process_usage.h - what a running process uses, as /proc reports it.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

// A process as /proc/PID/stat names it.
struct ProcessEntry {
    int pid;
    int parent;
    char state; // 'R', 'S', ... 'Z' once ended and not yet waited for
    std::string name;
};

std::optional<ProcessEntry> ReadProcess(int pid); // none once it is gone
std::vector<ProcessEntry> Processes();            // every process there is
// The first child of `parent` with that name; -1 when there is none.
int ChildNamed(int parent, const std::string& name);

// Processor time the process has used so far, in clock ticks.
long CpuTicks(int pid);
long ResidentKiB(int pid);
// What each open descriptor is: a file's path, or the kind of an unnamed
// object ("socket", "pipe", "anon_inode:[eventfd]"), whose numbers change
// with every one made.
std::multiset<std::string> OpenDescriptors(int pid);
