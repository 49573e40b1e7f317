// SPDX-License-Identifier: MIT
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "cli/PuzzleLines.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

const Command kRate = {
    "rate",
    "[--jobs N] [FILE]",
    "Solves and grades every puzzle of FILE, or of standard input when no FILE\n"
    "is given. A puzzle is one line: characters 1 to 81 are the cells row by\n"
    "row, \"1\" to \"9\" a given and any other character an empty cell;\n"
    "characters after the 81st are ignored. Empty lines and lines beginning\n"
    "with '#' are skipped; a CR before the line end is dropped.\n"
    "\n"
    "For every puzzle one line is printed, fields separated by a TAB:\n"
    "  puzzle81  result  difficulty  solution81  board81\n"
    "\n"
    "  puzzle81    the puzzle as read, '.' for an empty cell\n"
    "  result      unique    exactly one solution\n"
    "              none      no solution (the logic pass met a dead end, or\n"
    "                        the search found none)\n"
    "              multiple  the search found a second solution\n"
    "              invalid   two givens share a digit in a row, column or box\n"
    "              complete  no empty cell\n"
    "  difficulty  the hardest technique needed: 0 none, 1 hidden single,\n"
    "              2 naked single, 3 pointing pair or box-line reduction,\n"
    "              4 naked subset, 5 hidden subset, 6 search\n"
    "  solution81  the solution, or '-' when there is not exactly one\n"
    "  board81     the working grid as the solver left it, '.' for empty:\n"
    "              the solution, the logic pass's state, or for 'multiple'\n"
    "              the second solution found\n"
    "\n"
    "invalid and complete puzzles are not solved: difficulty 0, solution '-',\n"
    "board = the puzzle.\n",
    {kJobsOption},
    1,
    kLineCommandExits,
};

const char* ResultWord(SolveOutcome outcome) {
    switch (outcome) {
        case SolveOutcome::Unique:
            return "unique";
        case SolveOutcome::Several:
            return "multiple";
        default:
            return "none";
    }
}

// Appends one result line for a puzzle of at least 81 characters.
void RateOne(Solver& solver, std::string_view line, std::string& result) {
    solver.Puzzle = ReadPuzzleText(line);
    AppendPuzzleText(result, solver.Puzzle, '.');
    const bool invalid = GivensConflict(solver.Puzzle);
    if (invalid || CountEmptyCells(solver.Puzzle) == 0) {
        result += invalid ? "\tinvalid\t0\t-\t" : "\tcomplete\t0\t-\t";
        AppendPuzzleText(result, solver.Puzzle, '.');
        result += '\n';
        return;
    }
    const bool unique = solver.UniqueSud(SearchSwitches{});
    result += '\t';
    result += ResultWord(solver.Outcome);
    result += '\t';
    result += static_cast<char>('0' + solver.Difficulty);
    result += '\t';
    if (unique) {
        AppendPuzzleText(result, solver.Solution, '.');
    } else {
        result += '-';
    }
    result += '\t';
    AppendPuzzleText(result, solver.Board, '.');
    result += '\n';
}

}  // namespace

int RunRate(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kRate, args, arguments, out, err); status >= 0) {
        return status;
    }
    const int jobs = static_cast<int>(arguments.Number("--jobs", DefaultJobs()));
    const std::string file = arguments.Operands().empty() ? "" : arguments.Operands()[0];
    return ReadInput(file, in, err, "rate", [&](std::istream& input) {
        return ForEachPuzzleLine(input, out, err, "rate", jobs, [] {
            return [solver = std::make_shared<Solver>()](const std::string& line,
                                                         std::string& result) {
                RateOne(*solver, line, result);
            };
        });
    });
}

}  // namespace cluemill
