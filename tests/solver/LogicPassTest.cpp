// SPDX-License-Identifier: MIT
// The logic pass PreSolve: its grading and the ways it ends.

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
constexpr Puzzle kNakedSingle{
    ".82....6..7..2941.41......8.9.65........8....5..2.7.....64..5....456...7...97....",
    "382145769675829413419736258293651874167384925548297631736418592924563187851972346"};
constexpr Puzzle kIntersection{
    ".625.....4...293......8..9...5......2431.5.6..968......8.......5.4.3..2...9..6...",
    "962513874458729316731684592875362941243195768196847253687251439514938627329476185"};
constexpr Puzzle kNakedSubset{
    "8.1..3.5...31..2.656284........84....5..6..48.3....1..7..............4.....2.7..1",
    "871623954943175286562849713617384529259761348438592167795416832126938475384257691"};
constexpr Puzzle kHiddenSubset{
    ".3..2.47.5.2........9...3.6...5.2.....8.7.54.9....3..74......58..3...7...7...6...",
    "631928475542367891789415326317542689268179543954683217426731958193854762875296134"};

// Unique, but the logic pass gets stuck after some placements.
constexpr Puzzle kBeyondLogic{
    "5.7....3.....61...1.8......62..4.......7...8...........1....6.43..5...........2..",
    "567492138239861745148375926623148579951736482874259361712983654396524817485617293"};
constexpr std::string_view kBeyondLogicStuck =
    "567090030000861040148375900620148000000700080000009000010983604300520010000017203";

// No solution; the logic pass places values until a cell runs out of candidates.
constexpr std::string_view kRunsIntoDeadEnd =
    "254.....37...9.........62...2.5..6.............9..1.3...67.........8...53.....947";

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

TEST(PreSolveTest, SolvesAndGradesByTheHardestTechniqueUsed) {
    struct GradeCase {
        const char* Name;
        Puzzle P;
        int Level;
    };
    const GradeCase cases[] = {
        {"hidden singles only", kHiddenSingles, 1},
        {"one naked single among hidden singles", kNakedSingle, 2},
        {"an intersection", kIntersection, 3},
        {"a naked subset", kNakedSubset, 4},
        {"a hidden subset", kHiddenSubset, 5},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        int cells = Load(s, tc.P.Givens);

        EXPECT_TRUE(s.PreSolve(cells));
        EXPECT_EQ(cells, 0);
        EXPECT_EQ(Text(s.Board), tc.P.Solution);
        EXPECT_EQ(s.Difficulty, tc.Level);
        EXPECT_FALSE(s.Contradiction);
        EXPECT_EQ(s.Candidates.Cells(), Masks{});
    }
}

TEST(PreSolveTest, HiddenSinglesComeBeforeAvailableNakedSingles) {
    Solver s;
    int cells = Load(s, kHiddenSingles.Givens);
    // Cell 69 can only hold a 6 from the start, so a naked single is there
    // all along; the grade stays at hidden singles.
    ASSERT_EQ(s.Candidates[69], DigitBit(6));
    EXPECT_TRUE(s.PreSolve(cells));
    EXPECT_EQ(s.Difficulty, 1);
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

TEST(PreSolveTest, DeadEndReachedDuringThePass) {
    Solver s;
    const int open = Load(s, kRunsIntoDeadEnd);
    int cells = open;

    EXPECT_FALSE(s.PreSolve(cells));
    EXPECT_TRUE(s.Contradiction);
    EXPECT_LT(cells, open);
    EXPECT_EQ(cells, EmptyCount(s.Board));
    int dead = 0;
    for (int c = 0; c < kCells; ++c) dead += s.Board[c] == 0 && s.Candidates[c] == 0;
    EXPECT_GT(dead, 0);
    EXPECT_EQ(s.Difficulty, 4);
}

TEST(PreSolveTest, PuzzleBeyondTheTechniquesKeepsThePartlySolvedState) {
    Solver s;
    int cells = Load(s, kBeyondLogic.Givens);

    EXPECT_FALSE(s.PreSolve(cells));
    EXPECT_FALSE(s.Contradiction);
    EXPECT_EQ(Text(s.Board), kBeyondLogicStuck);
    EXPECT_EQ(cells, EmptyCount(s.Board));
    EXPECT_EQ(s.Difficulty, 5);
    // Every step was sound: the solution's digit survives in each open cell.
    for (int c = 0; c < kCells; ++c) {
        if (s.Board[c] == 0) {
            EXPECT_TRUE(s.HasCandidate(c, kBeyondLogic.Solution[c] - '0')) << "cell " << c;
            EXPECT_GE(CountDigits(s.Candidates[c]), 2) << "cell " << c;
        } else {
            EXPECT_EQ(s.Candidates[c], 0) << "cell " << c;
        }
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
