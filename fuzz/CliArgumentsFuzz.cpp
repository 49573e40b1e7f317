// SPDX-License-Identifier: MIT
// The command line from outside: arguments and standard input. The input is
// split at its first "\n--\n": before it one argument per line, after it
// standard input (its first four lines). Everything happens inside a scratch
// folder: arguments cannot name a path outside it, a generation run is only
// parsed, never started, and neither is the search of a grade that adds
// givens.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "cli/Cli.h"

using namespace cluemill;

namespace {

// grade --expand 1 to 3 takes solutions from the exact search, which can
// wander for seconds on a sparse line, up to 85,000 times: that is the
// generator's search, not reading, so such a run reads no puzzle line.
bool Expands(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != "--expand") continue;
        try {
            std::size_t used = 0;
            const long long level = std::stoll(args[i + 1], &used);
            if (used == args[i + 1].size() && level >= 1 && level <= 3) return true;
        } catch (const std::exception&) {
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find("\n--\n");
    std::istringstream lines(text.substr(0, split));
    std::vector<std::string> args;
    for (std::string arg; args.size() < 12 && std::getline(lines, arg);) {
        if (arg.find('/') != std::string::npos || arg.find("..") != std::string::npos) continue;
        if (arg == "--data-dir") arg = "--seed";
        // A generation run is parsed, but has no pattern to start from.
        if (!args.empty() && args[0] == "generate" &&
            (arg == "--pattern" || arg == "--random-pattern"))
            continue;
        args.push_back(arg);
    }
    // The library is the scratch folder's, not the one beside the program.
    if (!args.empty() && args[0] == "patterns")
        args.insert(args.begin() + 1, {"--data-dir", fuzz::ScratchFolder().string()});
    std::string input = split == std::string::npos ? "" : text.substr(split + 4);
    std::size_t at = 0;
    for (int n = 0; n < 4 && at != std::string::npos; ++n) {
        at = input.find('\n', at);
        if (at != std::string::npos) ++at;
    }
    if (at != std::string::npos) input.resize(at);
    if (!args.empty() && args[0] == "grade" && Expands(args)) input.clear();

    std::error_code ignored;
    std::filesystem::remove(fuzz::ScratchFolder() / "Patterns.rec", ignored);
    std::istringstream in(input);
    std::ostringstream out;
    // File names are the scratch folder's while the command runs (and only
    // then: the fuzzer's own files are named relative to where it started).
    static const int home = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fuzz::Expect(home >= 0 && chdir(fuzz::ScratchFolder().c_str()) == 0, "the scratch folder");
    const int status = RunCli(args, in, out, out);
    fuzz::Expect(fchdir(home) == 0, "the starting folder is entered again");
    fuzz::Expect(status >= 0 && status <= 2, "the exit status is 0, 1 or 2");
    return 0;
}
