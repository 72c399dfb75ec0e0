// process_usage.h - what a running process uses, as /proc reports it.
#pragma once

#include <set>
#include <string>

// Processor time the process has used so far, in clock ticks.
long CpuTicks(int pid);
long ResidentKiB(int pid);
// What each open descriptor is: a file's path, or the kind of an unnamed
// object ("socket", "pipe", "anon_inode:[eventfd]"), whose numbers change
// with every one made.
std::multiset<std::string> OpenDescriptors(int pid);
