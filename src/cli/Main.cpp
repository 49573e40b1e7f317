// SPDX-License-Identifier: MIT
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/SheetCommand.h"

int main(int argc, char** argv) {
    // Beyond a file size limit a write fails (and is reported) instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Only a sheet paints; the other commands start no Qt.
    std::optional<cluemill::SheetGui> gui;
    if (!args.empty() && args.front() == "sheet") gui.emplace();
    const int status = cluemill::RunCli(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
