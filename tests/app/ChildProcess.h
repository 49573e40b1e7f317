// SPDX-License-Identifier: MIT
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>

namespace cluemill::testing {

// What a child process runs under: a file size limit (a full disk as the
// writer sees it: writes past it fail with EFBIG, SIGXFSZ ignored), and
// another user than root (folders and files the test made read-only are
// then read-only indeed, which they are not for root).
struct ChildLimits {
    std::optional<rlim_t> FileSize;
    bool Unprivileged = false;
};

// Starts work in a child process under limits; -1 when it cannot.
inline pid_t StartChild(const ChildLimits& limits, const std::function<int()>& work) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (limits.FileSize) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit size{*limits.FileSize, *limits.FileSize};
            if (setrlimit(RLIMIT_FSIZE, &size) != 0) _exit(125);
        }
        if (limits.Unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(125);
        const int status = work();
        std::fflush(nullptr);
        _exit(status);
    }
    return pid;
}

// The exit status of a child: work's own, 125 when its limits could not be
// set, 126 when it was killed, 127 when there was no child.
inline int WaitChild(pid_t pid) {
    if (pid < 0) return 127;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 127;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 126;
}

inline int RunInChild(const ChildLimits& limits, const std::function<int()>& work) {
    return WaitChild(StartChild(limits, work));
}

}  // namespace cluemill::testing
