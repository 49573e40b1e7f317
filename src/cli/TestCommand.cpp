// SPDX-License-Identifier: MIT
#include <istream>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "cli/PuzzleLines.h"
#include "tester/PuzzleText.h"
#include "tester/Tester.h"

namespace cluemill {

namespace {

const Command kTest = {
    "test",
    "[--minimal] [FILE]",
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
    "              cell order, that the puzzle can do without; '-' otherwise\n",
    {{"--minimal", nullptr, "also test a unique puzzle for minimality (\"Check Minimal\")"}},
    1,
    kLineCommandExits,
};

void TestOne(Tester& tester, const std::string& line, bool minimal, std::string& result) {
    const CellValues givens = ReadPuzzleText(line);
    const Tester::Result tested = tester.Test(givens);
    Verdict verdict = tested.Outcome;
    int white = -1;
    if (verdict == Verdict::Unique && minimal) {
        white = tester.FirstRedundantGiven({}, {}, nullptr);
        verdict = white < 0 ? Verdict::UniqueMinimal : Verdict::UniqueNotMinimal;
    }
    AppendPuzzleText(result, givens, '.');
    result += '\t';
    result += VerdictText(verdict);
    result += '\t';
    if (tested.Outcome == Verdict::Unique) {
        AppendPuzzleText(result, tester.Solver.Board, '0');
    } else {
        result += '-';
    }
    result += '\t';
    result += white < 0 ? std::string("-") : std::to_string(white);
    result += '\n';
}

}  // namespace

int RunTest(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kTest, args, arguments, out, err); status >= 0) {
        return status;
    }
    const bool minimal = arguments.Has("--minimal");
    const std::string file = arguments.Operands().empty() ? "" : arguments.Operands()[0];
    Tester tester;
    std::string result;
    return ReadInput(file, in, err, "test", [&](std::istream& input) {
        return ForEachPuzzleLine(input, err, "test", [&](const std::string& line) {
            result.clear();
            TestOne(tester, line, minimal, result);
            out << result;
        });
    });
}

}  // namespace cluemill
