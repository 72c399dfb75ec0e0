// process_usage.cpp - what a running process uses, read from /proc.
#include "tests/support/process_usage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

std::optional<ProcessEntry> ReadProcess(int pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(file, stat);
    // "pid (name) state parent ...": the name may hold spaces and parentheses.
    const std::size_t open = stat.find('('), close = stat.rfind(')');
    ProcessEntry entry{pid, 0, '?', ""};
    if (open == std::string::npos || close == std::string::npos ||
        std::sscanf(stat.c_str() + close + 1, " %c %d", &entry.state, &entry.parent) != 2) {
        return std::nullopt;
    }
    entry.name = stat.substr(open + 1, close - open - 1);
    return entry;
}

std::vector<ProcessEntry> Processes() {
    std::vector<ProcessEntry> processes;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
        const std::string pid = entry.path().filename();
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (std::optional<ProcessEntry> process = ReadProcess(std::stoi(pid))) {
            processes.push_back(*process);
        }
    }
    return processes;
}

int ChildNamed(int parent, const std::string& name) {
    for (const ProcessEntry& process : Processes()) {
        if (process.parent == parent && process.name == name) {
            return process.pid;
        }
    }
    return -1;
}

long CpuTicks(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name, which may hold spaces: state is field 3,
    // user time 14, system time 15.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index >= 14) {
            ticks += std::atol(field.c_str());
        }
    }
    return ticks;
}

long ResidentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

std::multiset<std::string> OpenDescriptors(int pid) {
    std::multiset<std::string> open;
    std::error_code gone; // a descriptor closed while the folder is read
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone)) {
        std::string target = std::filesystem::read_symlink(entry.path(), gone).string();
        if (gone) {
            continue;
        }
        for (const char* numbered : {"socket:[", "pipe:["}) {
            if (target.rfind(numbered, 0) == 0) {
                target = target.substr(0, target.find(':'));
            }
        }
        open.insert(target);
    }
    return open;
}
