// SPDX-License-Identifier: MIT
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace cluemill::testing {

// One in-process run of cluemill-cli: exit status and both streams.
struct CliRun {
    int Status = 0;
    std::string Out;
    std::string Err;
};

// The parts of text between the separators; a separator at the end starts
// no part, and with words set empty parts are left out.
inline std::vector<std::string> Split(const std::string& text, char separator, bool words = false) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        if (!words || !part.empty()) parts.push_back(part);
    }
    return parts;
}

inline CliRun RunCommand(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.Status = RunCli(args, in, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

}  // namespace cluemill::testing
