// SPDX-License-Identifier: MIT
// The logic pass PreSolve called directly: its count of cells to solve, its
// start, and states the caller prepared. Its grading and the boards it leaves
// are pinned by the recorded puzzles.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "solver/Geometry.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using Masks = std::array<CandidateMask, kCells>;

struct Puzzle {
    std::string_view Givens;
    std::string_view Solution;
};

// Each is solved by the logic pass; the hardest technique it needs is in the name.
constexpr Puzzle kHiddenSingles{
    ".........8.....9..9.72...8.5.............145..3..2..1..89.....5..387..21..2....7.",
    "325498167846157932917236584571384296298761453634925718789612345453879621162543879"};
constexpr Puzzle kIntersection{
    ".625.....4...293......8..9...5......2431.5.6..968......8.......5.4.3..2...9..6...",
    "962513874458729316731684592875362941243195768196847253687251439514938627329476185"};
constexpr Puzzle kHiddenSubset{
    ".3..2.47.5.2........9...3.6...5.2.....8.7.54.9....3..74......58..3...7...7...6...",
    "631928475542367891789415326317542689268179543954683217426731958193854762875296134"};

// Unique, but the logic pass gets stuck after some placements.
constexpr Puzzle kBeyondLogic{
    "5.7....3.....61...1.8......62..4.......7...8...........1....6.43..5...........2..",
    "567492138239861745148375926623148579951736482874259361712983654396524817485617293"};
std::string Text(const CellValues& cells) {
    std::string text;
    for (auto v : cells) text += static_cast<char>('0' + v);
    return text;
}

int EmptyCount(const CellValues& cells) {
    int n = 0;
    for (auto v : cells) n += v == 0 ? 1 : 0;
    return n;
}

// Sets up the givens the way UniqueSud does before its logic pass; returns
// the number of empty cells.
int Load(Solver& s, std::string_view givens) {
    s.Puzzle = ReadPuzzleText(givens);
    const int open = s.SetUpGivens();
    s.Difficulty = 0;
    return open;
}

// The completion test only counts placements down to exactly 0; it never
// looks at the grid.
TEST(PreSolveTest, CompletionTestCountsPlacementsDownToZero) {
    struct CountCase {
        const char* Name;
        int Offset;  // added to the true number of empty cells
        bool Expected;
        int CellsAfter;
        int EmptyAfter;
    };
    const CountCase cases[] = {
        {"exact count", 0, true, 0, 0},
        {"one too many: the grid fills and the pass returns False", 1, false, 1, 0},
        {"too few: True while cells are still empty", -53, true, 0, 53},
        {"zero with empty cells: the count runs past 0", -58, false, -58, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        int cells = Load(s, kHiddenSingles.Givens) + tc.Offset;

        EXPECT_EQ(s.PreSolve(cells), tc.Expected);
        EXPECT_EQ(cells, tc.CellsAfter);
        EXPECT_EQ(EmptyCount(s.Board), tc.EmptyAfter);
        EXPECT_FALSE(s.Contradiction);
        EXPECT_EQ(s.Difficulty, 1);
    }
}

// Full grid, empty grid, a dead cell on entry: False at once, nothing changed.
TEST(PreSolveTest, ReturnsAtOnceWhenThereIsNothingToDo) {
    struct StartCase {
        const char* Name;
        std::string_view Givens;
        int DeadCell;  // emptied of candidates before the pass, or -1
        bool Contradiction;
    };
    const StartCase cases[] = {
        {"full grid", kHiddenSingles.Solution, -1, false},
        {"empty grid", "", -1, false},
        {"an empty cell without candidates, hidden singles elsewhere", kIntersection.Givens, 0,
         true},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        const int open = Load(s, tc.Givens);
        if (tc.DeadCell >= 0) s.Candidates.Set(tc.DeadCell, 0);
        s.Difficulty = 3;
        const Masks before = s.Candidates.Cells();
        const CellValues boardBefore = s.Board;
        int cells = open;

        EXPECT_FALSE(s.PreSolve(cells));
        EXPECT_EQ(s.Contradiction, tc.Contradiction);
        EXPECT_EQ(cells, open);
        EXPECT_EQ(s.Candidates.Cells(), before);
        EXPECT_EQ(s.Board, boardBefore);
        EXPECT_EQ(s.Difficulty, 3);
    }
}

TEST(PreSolveTest, WorksOnAStateSetUpByTheCaller) {
    Solver s;
    // A solver that stopped half way through another puzzle.
    int stuck = Load(s, kBeyondLogic.Givens);
    ASSERT_FALSE(s.PreSolve(stuck));

    // The set-up by hand: every given assigned in turn.
    s.Board = ReadPuzzleText(kIntersection.Givens);
    s.Candidates.Fill(kAllDigits);
    for (int c = 0; c < kCells; ++c) {
        if (s.Board[c] > 0) s.Assign(s.Board[c], c);
    }
    s.Difficulty = 0;
    int cells = EmptyCount(s.Board);
    EXPECT_TRUE(s.PreSolve(cells));
    EXPECT_EQ(Text(s.Board), kIntersection.Solution);
    EXPECT_EQ(s.Difficulty, 3);
}

TEST(PreSolveTest, NeverLowersDifficultyNorClearsContradiction) {
    const int cases[][2] = {{0, 1}, {4, 4}, {6, 6}};  // before, after
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        Solver s;
        int cells = Load(s, kHiddenSingles.Givens);
        s.Difficulty = before;
        s.Contradiction = true;

        EXPECT_TRUE(s.PreSolve(cells));
        EXPECT_EQ(s.Difficulty, after);
        EXPECT_TRUE(s.Contradiction);
    }
}

// The set-up hands its board index to the logic pass; a value written into
// Board in between must be seen there as well.
TEST(PreSolveTest, SeesAValuePlacedBetweenSetUpAndPass) {
    Solver direct;
    direct.Puzzle = ReadPuzzleText(kHiddenSubset.Givens);
    direct.Puzzle[0] = static_cast<std::int8_t>(kHiddenSubset.Solution[0] - '0');
    int directOpen = direct.SetUpGivens();
    direct.Difficulty = 0;
    const bool directSolved = direct.PreSolve(directOpen);

    Solver changed;
    changed.Puzzle = ReadPuzzleText(kHiddenSubset.Givens);
    int open = changed.SetUpGivens();
    const int digit = kHiddenSubset.Solution[0] - '0';
    changed.Assign(digit, 0);
    changed.Board[0] = static_cast<std::int8_t>(digit);
    --open;
    changed.Difficulty = 0;
    EXPECT_EQ(changed.PreSolve(open), directSolved);
    EXPECT_EQ(changed.Board, direct.Board);
    EXPECT_EQ(changed.Candidates.Cells(), direct.Candidates.Cells());
    EXPECT_EQ(changed.Difficulty, direct.Difficulty);
}

}  // namespace
}  // namespace cluemill
