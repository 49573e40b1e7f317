// SPDX-License-Identifier: MIT
// UniqueSud against the answers recorded in tests/data/solver_record.txt: per
// puzzle the outcome, the grade, Board afterwards (the logic pass's board, or
// at Several the second solution the search met, which pins its cell choice
// and value order) and Solution. The puzzles are published sets, fillings of
// random clue patterns, thinned and minimal solved grids and edge cases.

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "solver/Solver.h"

namespace cluemill {
namespace {

// Digits, '.' or '0' an empty cell, '-' an empty cell written as -1.
CellValues Grid(const std::string& text) {
    CellValues cells{};
    for (int i = 0; i < kCells; ++i) {
        const char c = text[i];
        cells[i] = static_cast<std::int8_t>(c == '-' ? -1 : c == '.' ? 0 : c - '0');
    }
    return cells;
}

std::string Text(const CellValues& cells) {
    std::string text;
    for (const auto v : cells) text += v < 0 ? '-' : static_cast<char>('0' + v);
    return text;
}

TEST(RecordedSolveTest, EveryPuzzleEndsAsRecorded) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/solver_record.txt");
    ASSERT_TRUE(in);
    // Outcomes U D O N S as in SolveOutcome; grades 0 to 6 of the Unique ones.
    std::array<int, 5> outcomes{};
    std::array<int, 7> grades{};
    int mismatches = 0;
    Solver s;  // reused, as the program reuses its one puzzle state
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string puzzle, outcome, board, solution;
        int grade = 0;
        fields >> puzzle >> outcome >> grade >> board >> solution;
        if (solution == "-") solution = std::string(kCells, '0');
        if (board == "=") board = solution;
        const std::size_t kind = std::string("UDONS").find(outcome);
        ASSERT_LT(kind, outcomes.size()) << line;
        const auto expected = static_cast<SolveOutcome>(kind);
        ++outcomes[kind];
        if (expected == SolveOutcome::Unique) ++grades[grade];

        s.Puzzle = Grid(puzzle);
        const bool unique = s.UniqueSud({});
        const bool same = unique == (expected == SolveOutcome::Unique) && s.Outcome == expected &&
                          s.Contradiction == (expected == SolveOutcome::DeadEnd) &&
                          s.Difficulty == grade && Text(s.Board) == board &&
                          Text(s.Solution) == solution;
        if (!same && ++mismatches <= 10) {
            ADD_FAILURE() << puzzle << ": outcome " << static_cast<int>(s.Outcome) << ", grade "
                          << s.Difficulty << "\n  Board    " << Text(s.Board) << "\n  expected "
                          << board << "\n  Solution " << Text(s.Solution) << "\n  expected "
                          << solution;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The record reaches every ending and every grade.
    for (const SolveOutcome o : {SolveOutcome::Unique, SolveOutcome::DeadEnd,
                                 SolveOutcome::NoSolution, SolveOutcome::Several}) {
        EXPECT_GT(outcomes[static_cast<int>(o)], 20) << static_cast<int>(o);
    }
    for (int grade = 1; grade <= 6; ++grade) EXPECT_GT(grades[grade], 20) << grade;
}

}  // namespace
}  // namespace cluemill
