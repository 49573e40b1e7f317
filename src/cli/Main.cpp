// SPDX-License-Identifier: MIT
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // Beyond a file size limit a write fails (and is reported) instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = cluemill::RunCli(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
