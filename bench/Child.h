#pragma once

// Runs a program as a child process and measures it from outside: wall time
// from the fork to its end, and its peak resident memory from wait4's rusage.
// The same measurement serves the program and its reference.

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace torvex {

struct CHILD_RESULT {
    double m_dSeconds = 0;
    long m_lPeakKiB = 0;
    int m_nExit = -1; // -1 when it did not end normally
};

// argv[0] is the program's path; its standard output goes to strOut (a file
// that is created or truncated, or /dev/null), its standard error to /dev/null
// unless bKeepErr.
inline CHILD_RESULT RunChild(const std::vector<std::string>& argv, const std::string& strOut = "/dev/null",
                             bool bKeepErr = false) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    CHILD_RESULT r;
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return r;
    if (pid == 0) {
        const int out = open(strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0) _exit(126);
        dup2(out, STDOUT_FILENO);
        if (!bKeepErr) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage ru{};
    if (wait4(pid, &status, 0, &ru) != pid) return r;
    r.m_dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.m_lPeakKiB = ru.ru_maxrss;
    r.m_nExit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace torvex
