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

// Starts work in a child process, with a file size limit when one is given
// (a full disk as the writer sees it: writes past it fail with EFBIG,
// SIGXFSZ ignored); -1 when it cannot.
inline pid_t StartChild(std::optional<rlim_t> fileSize, const std::function<int()>& work) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const rlimit size{fileSize.value_or(0), fileSize.value_or(0)};
    if (fileSize && (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &size) != 0))
        _exit(125);
    const int status = work();
    std::fflush(nullptr);
    _exit(status);
}

// The exit status of a child: work's own, 125 when its limit could not be
// set, 126 when it was killed, 127 when there was no child.
inline int WaitChild(pid_t pid) {
    int status = 0;
    while (pid >= 0 && waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return 127;
    }
    return pid < 0 ? 127 : WIFEXITED(status) ? WEXITSTATUS(status) : 126;
}

inline int RunInChild(std::optional<rlim_t> fileSize, const std::function<int()>& work) {
    return WaitChild(StartChild(fileSize, work));
}

}  // namespace cluemill::testing
