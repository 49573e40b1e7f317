// SPDX-License-Identifier: MIT
// The command line from outside: arguments and standard input. The input is
// split at its first "\n--\n": before it one argument per line, after it
// standard input. Everything happens inside a scratch folder: arguments
// cannot name a path outside it, a generation run (which may take as long
// as it likes) is only parsed, never started, and neither is the search of a
// grade that adds two or three givens.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "cli/Cli.h"

using namespace cluemill;

namespace {

constexpr std::size_t kMaxArguments = 12;
constexpr std::size_t kMaxInputLines = 4;

// grade --expand N takes the first of several solutions from the exact
// search, whose fixed order can wander for seconds on a sparse line before
// it finds two (7 s for one 19-given line without sanitizers), and --expand
// 2 or 3 tries up to 85,000 such searches. That is the generator's search,
// not reading: the arguments of such a run are parsed as given, but it reads
// no puzzle line.
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
    const std::string head = text.substr(0, split);
    std::string input = split == std::string::npos ? std::string() : text.substr(split + 4);

    std::vector<std::string> args;
    std::istringstream lines(head);
    for (std::string arg; args.size() < kMaxArguments && std::getline(lines, arg);) {
        // Paths stay inside the scratch folder.
        if (arg.find('/') != std::string::npos || arg.find("..") != std::string::npos) continue;
        if (arg == "--data-dir") arg = "--seed";
        args.push_back(arg);
    }
    if (!args.empty() && args.front() == "generate") {
        std::vector<std::string> parsedOnly;
        for (const auto& arg : args) {
            if (arg != "--pattern" && arg != "--random-pattern") parsedOnly.push_back(arg);
        }
        args = parsedOnly;
    }
    // The library is the scratch folder's, not the one beside the program.
    if (!args.empty() && args.front() == "patterns") {
        args.insert(args.begin() + 1, {"--data-dir", fuzz::ScratchFolder().string()});
    }
    // A few puzzle lines keep one run short (grade may expand each of them).
    std::size_t at = 0;
    for (std::size_t n = 0; n < kMaxInputLines && at != std::string::npos; ++n) {
        at = input.find('\n', at);
        if (at != std::string::npos) ++at;
    }
    if (at != std::string::npos) input.resize(at);
    if (!args.empty() && args.front() == "grade" && Expands(args)) input.clear();

    std::error_code ignored;
    std::filesystem::remove(fuzz::ScratchFolder() / "Patterns.rec", ignored);
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    // File names are the scratch folder's while the command runs (and only
    // then: the fuzzer's own files are named relative to where it started).
    static const int home = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fuzz::Expect(home >= 0 && chdir(fuzz::ScratchFolder().c_str()) == 0,
                 "the scratch folder is entered");
    const int status = RunCli(args, in, out, err);
    fuzz::Expect(fchdir(home) == 0, "the starting folder is entered again");
    fuzz::Expect(status >= 0 && status <= 2, "the exit status is 0, 1 or 2");
    return 0;
}
