// SPDX-License-Identifier: MIT
#include "cli/Cli.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "Version.h"
#include "cli/SheetCommand.h"
#include "output/PuzzleFormats.h"

namespace cluemill {

namespace {

constexpr const char* kUsage =
    "Usage: cluemill-cli COMMAND [ARGUMENTS]\n"
    "       cluemill-cli --version\n"
    "\n"
    "Commands:\n"
    "  rate [--jobs N] [FILE]\n"
    "                solve and grade the puzzles of FILE (standard input when\n"
    "                no FILE), one result line per puzzle\n"
    "  test [--minimal] [FILE]\n"
    "                the uniqueness test of the window for every puzzle of\n"
    "                FILE, with the minimality test on request\n"
    "  patterns [--data-dir DIR] list|show|add|encode|decode|import|forecast\n"
    "                the pattern library Patterns.rec, and what a pattern\n"
    "                will give\n"
    "  grade [--minimal] [--limit] [--expand N] [--seed S] [--jobs N] [FILE]\n"
    "                the generator's acceptance of each puzzle line\n"
    "  generate (--pattern CODE|LINE81 | --random-pattern) [options]\n"
    "                a generation run, headless\n"
    "  canon [FILE]\n"
    "                the canonical form of every puzzle line under the symmetries\n"
    "                of its pattern\n"
    "  sheet [FILE] --output OUT [--per-page N] [--solutions] [--grade] [options]\n"
    "                printable puzzle sheets: PDF, SVG or PNG as OUT's extension says\n"
    "\n"
    "Run 'cluemill-cli COMMAND --help' for the details of a command.\n";

}  // namespace

std::string ProgramFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path(error) : exe.parent_path()).string();
}

std::optional<std::filesystem::path> PrepareDataFolder(const std::optional<std::string>& named,
                                                       const std::string& command,
                                                       std::ostream& err) {
    const std::filesystem::path program = ProgramFolder();
    const std::filesystem::path folder = ChooseDataFolder(
        named ? std::optional<std::filesystem::path>(*named) : std::nullopt, program,
        FolderWritable(program), UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (const std::error_code error = CreateDataFolder(folder)) {
        err << "cluemill-cli " << command << ": cannot use the data folder " << folder.string()
            << ": " << error.message() << '\n';
        return std::nullopt;
    }
    return folder;
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (command == "--version") {
        out << "cluemill-cli " << kVersion << '\n';
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "rate") return RunRate(rest, in, out, err);
    if (command == "test") return RunTest(rest, in, out, err);
    if (command == "patterns") return RunPatterns(rest, in, out, err);
    if (command == "grade") return RunGrade(rest, in, out, err);
    if (command == "generate") return RunGenerate(rest, in, out, err);
    if (command == "sheet") return RunSheet(rest, in, out, err);
    if (command == "canon") return RunCanon(rest, in, out, err);
    err << "cluemill-cli: unknown command '" << command << "'\n\n" << kUsage;
    return 2;
}

}  // namespace cluemill
