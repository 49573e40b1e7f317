// SPDX-License-Identifier: MIT
#include <istream>
#include <ostream>
#include <string>

#include "app/Main.h"
#include "cli/Cli.h"
#include "cli/CliPlatform.h"
#include "cli/PuzzleLines.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

constexpr const char* kTestHelp =
    "Usage: cluemill-cli test [--minimal] [FILE]\n"
    "\n"
    "Tests every puzzle of FILE, or of standard input when no FILE is given, as\n"
    "\"Check  Uniqueness\" does in the window. Puzzle lines follow the rules of\n"
    "'cluemill-cli rate': characters 1 to 81 are the cells, \"1\" to \"9\" a\n"
    "given and any other character an empty cell; empty lines and lines\n"
    "beginning with '#' are skipped.\n"
    "\n"
    "For every puzzle one line is printed, fields separated by a TAB:\n"
    "  puzzle81  verdict  solution81  white\n"
    "\n"
    "  puzzle81    the puzzle as read, '.' for an empty cell\n"
    "  verdict     the verdict as the window shows it:\n"
    "                Invalid given(s) found !!!\n"
    "                The sudoku you want to test is complete allready !!!\n"
    "                This Sudoku has no solution\n"
    "                This Sudoku has more than one solution\n"
    "                This Sudoku has one unique solution\n"
    "                This Sudoku has one unique solution and is minimal\n"
    "                This Sudoku has one unique solution but is non-minimal\n"
    "  solution81  the solution, or '-' when there is not exactly one\n"
    "  white       with --minimal, the cell (0 to 80) of the first given, in\n"
    "              cell order, that the puzzle can do without; '-' otherwise\n"
    "\n"
    "  --minimal   also test a unique puzzle for minimality (\"Check Minimal\")\n"
    "\n"
    "A line shorter than 81 characters is reported on standard error and\n"
    "skipped; the exit status is then 1. Exit status 0 otherwise, 2 on a usage\n"
    "error.\n";

void TestOne(Main& main, CliPlatform& platform, const std::string& line, bool minimal,
             std::string& result) {
    // The puzzle goes in as typed into the text box, and the test reads it
    // back from the grid.
    main.SetText2(line.substr(0, kCells));
    main.Form.TestMinimal.Value = minimal ? 1 : 0;
    platform.LastMessage.clear();
    main.ButtonSolve_Click();

    AppendPuzzleText(result, ReadPuzzleText(line), '.');
    result += '\t';
    result += platform.LastMessage;
    result += '\t';
    const bool unique = platform.LastMessage.rfind("This Sudoku has one unique solution", 0) == 0;
    result += unique ? main.Form.Text2.Text : std::string("-");
    result += '\t';
    int white = -1;
    for (int cell = 0; cell < kCells && white < 0; ++cell) {
        if (main.Form.Grid[cell].ForeColor == kWhite) white = cell;
    }
    result += white < 0 ? std::string("-") : std::to_string(white);
    result += '\n';
}

}  // namespace

int RunTest(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err) {
    bool minimal = false;
    std::vector<std::string> files;
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kTestHelp;
            return 0;
        }
        if (arg == "--minimal") {
            minimal = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "cluemill-cli test: unknown option '" << arg << "'\n\n" << kTestHelp;
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() > 1) {
        err << "cluemill-cli test: expected at most one FILE\n\n" << kTestHelp;
        return 2;
    }
    CliPlatform platform;
    Main main(platform);
    std::string result;
    return ReadInput(files.empty() ? std::string() : files[0], in, err, "test",
                     [&](std::istream& input) {
                         return ForEachPuzzleLine(input, err, "test", [&](const std::string& line) {
                             result.clear();
                             TestOne(main, platform, line, minimal, result);
                             out << result;
                         });
                     });
}

}  // namespace cluemill
