// process_usage.h - what a running process uses, as /proc reports it.
#pragma once

// Processor time the process has used so far, in clock ticks.
long CpuTicks(int pid);
long ResidentKiB(int pid);
int OpenDescriptors(int pid);
