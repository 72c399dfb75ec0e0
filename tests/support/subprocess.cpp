// subprocess.cpp - spawns a program with its output captured in files.
#include "tests/support/subprocess.h"

#include "tests/support/files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace {

std::vector<std::string> ChildEnvironment(const ProcessEnvironment& change) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool dropped = false;
        for (const std::string& unset : change.unset) {
            dropped = dropped || name == unset;
        }
        for (const auto& [setName, value] : change.set) {
            dropped = dropped || name == setName;
        }
        if (!dropped) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : change.set) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

int Status(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

ProcessResult Collect(const RunningProcess& process, int status, const rusage& usage) {
    ProcessResult result;
    result.status = status;
    result.peakKiB = usage.ru_maxrss;
    result.out = ReadFile(process.outPath);
    result.err = ReadFile(process.errPath);
    unlink(process.outPath.c_str());
    unlink(process.errPath.c_str());
    return result;
}

std::string TemporaryFile(const char* role) {
    std::string path =
        (std::filesystem::temp_directory_path() / (std::string("tarrow-test-") + role + "-XXXXXX"))
            .string();
    close(mkstemp(path.data()));
    return path;
}

} // namespace

std::string BuiltProgram(const std::string& name) {
    return std::string(TARROW_BIN_DIR) + "/" + name;
}

RunningProcess StartProcess(const std::vector<std::string>& arguments,
                            const ProcessEnvironment& environment, int handed,
                            const std::string& directory) {
    const std::string outPath = TemporaryFile("out");
    const std::string errPath = TemporaryFile("err");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_TRUNC,
                                     0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_TRUNC,
                                     0);
    // Moved above 3 first: a dup2 onto itself would leave close-on-exec set.
    const int handedAbove = handed >= 0 ? fcntl(handed, F_DUPFD_CLOEXEC, 10) : -1;
    if (handedAbove >= 0) {
        posix_spawn_file_actions_adddup2(&actions, handedAbove, 3);
    }
    if (!directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    }

    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = ChildEnvironment(environment);
    std::vector<char*> envp;
    for (std::string& entry : envStrings) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    RunningProcess process{-1, outPath, errPath};
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        process.pid = child;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (handedAbove >= 0) {
        close(handedAbove);
    }
    return process;
}

ProcessResult FinishProcess(const RunningProcess& process) {
    int status = 0;
    rusage usage{};
    if (process.pid > 0) {
        wait4(process.pid, &status, 0, &usage);
    }
    return Collect(process, process.pid > 0 ? Status(status) : -1, usage);
}

bool WaitForExit(const RunningProcess& process, std::chrono::milliseconds limit,
                 ProcessResult* result) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        rusage usage{};
        if (wait4(process.pid, &status, WNOHANG, &usage) == process.pid) {
            *result = Collect(process, Status(status), usage);
            return true;
        }
        usleep(20000);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const ProcessEnvironment& environment, const std::string& directory) {
    return FinishProcess(StartProcess(arguments, environment, -1, directory));
}
