// subprocess.h - runs a program of the build as its user would, and collects
// what it printed and how it ended.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
    int status = -1; // exit status, or 128 + signal number
    std::string out;
    std::string err;
    long peakKiB = 0; // the most memory it held resident at once
};

struct ProcessEnvironment {
    std::vector<std::pair<std::string, std::string>> set;
    std::vector<std::string> unset;
};

// The path of a program built into the build's bin folder.
std::string BuiltProgram(const std::string& name);

// A program started and not yet waited for.
struct RunningProcess {
    int pid = -1;
    std::string outPath;
    std::string errPath;
};

// `handed`, where given, becomes the program's descriptor 3 (a server's
// -displayfd, say); `directory`, where given, is where the program starts.
RunningProcess StartProcess(const std::vector<std::string>& arguments,
                            const ProcessEnvironment& environment = {}, int handed = -1,
                            const std::string& directory = "");
ProcessResult FinishProcess(const RunningProcess& process);
// Waits at most `limit` for the program to end; false (and still running) if it did not.
bool WaitForExit(const RunningProcess& process, std::chrono::milliseconds limit,
                 ProcessResult* result);

ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const ProcessEnvironment& environment = {},
                         const std::string& directory = "");
