// SPDX-License-Identifier: MIT
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/PuzzleLines.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

constexpr const char* kRateHelp =
    "Usage: cluemill-cli rate [--jobs N] [FILE]\n"
    "\n"
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
    "board = the puzzle.\n"
    "\n"
    "A line shorter than 81 characters is reported on standard error as\n"
    "'line N: a puzzle needs 81 characters' and skipped; the exit status is\n"
    "then 1. Exit status 0 otherwise, 2 on a usage error.\n"
    "\n"
    "  --jobs N   puzzles solved side by side on N cores (default: all of\n"
    "             them); the output is the same for every N\n";

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
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kRateHelp;
        return 0;
    }
    std::int64_t jobs = DefaultJobs();
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--jobs" && i + 1 < args.size() && ParseNumber(args[i + 1], 1, 256, jobs)) {
            ++i;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            err << "cluemill-cli rate: bad option '" << args[i] << "'\n\n" << kRateHelp;
            return 2;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() > 1) {
        err << "cluemill-cli rate: expected at most one FILE\n\n" << kRateHelp;
        return 2;
    }
    return ReadInput(
        files.empty() ? std::string() : files[0], in, err, "rate", [&](std::istream& input) {
            return ForEachPuzzleLine(input, out, err, "rate", static_cast<int>(jobs), [] {
                return [solver = std::make_shared<Solver>()](const std::string& line,
                                                             std::string& result) {
                    RateOne(*solver, line, result);
                };
            });
        });
}

}  // namespace cluemill
