// SPDX-License-Identifier: MIT
// UniqueSud and its counting search: outcomes, the state left behind, the
// switches of a generation run, the solution display and the cell choice.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "solver/Geometry.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

// Solved by the logic pass with hidden singles alone.
constexpr std::string_view kLogicSolved =
    ".........8.....9..9.72...8.5.............145..3..2..1..89.....5..387..21..2....7.";
constexpr std::string_view kLogicSolvedSolution =
    "325498167846157932917236584571384296298761453634925718789612345453879621162543879";
// Solved by the logic pass; its hardest step is a hidden subset.
constexpr std::string_view kHiddenSubset =
    ".3..2.47.5.2........9...3.6...5.2.....8.7.54.9....3..74......58..3...7...7...6...";
constexpr std::string_view kHiddenSubsetSolution =
    "631928475542367891789415326317542689268179543954683217426731958193854762875296134";
// Unique; the logic pass eliminates but places nothing, the search finishes.
constexpr std::string_view kNeedsSearch =
    "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";
constexpr std::string_view kNeedsSearchSolution =
    "468931527751624839392578461134756298289413675675289314846192753513867942927345186";
// Several solutions. The search tries cells fewest candidates first and
// values in ascending order; this is the second solution it meets.
constexpr std::string_view kSeveral =
    "8.........95.......76.........426798...571243...893165......916....3.487....1.532";
constexpr std::string_view kSeveralSecond =
    "842167359395248671176359824513426798968571243427893165234785916651932487789614532";
// No solution, which the logic pass does not notice; the search does.
constexpr std::string_view kNoSolution =
    "...1.5....8.4.....3.....76.7.49....6.53...14.6....43.9.91.....8.....8.5....5.6...";
// Cell 8 sees 1 to 8 in its row and the 9 of cell 80 in its column.
const std::string kDeadEnd = "12345678." + std::string(71, '.') + "9";

std::string Text(const CellValues& cells) {
    std::string text;
    for (auto v : cells) text += static_cast<char>('0' + v);
    return text;
}

const std::string kZeros(kCells, '0');

bool ValidFullGrid(const CellValues& g) {
    for (int u = 0; u < 9; ++u) {
        unsigned row = 0, column = 0, box = 0;
        for (int i = 0; i < 9; ++i) {
            const int r = g[u * 9 + i], c = g[u + 9 * i],
                      b = g[u / 3 * 27 + u % 3 * 3 + i / 3 * 9 + i % 3];
            if (r < 1 || r > 9 || c < 1 || c > 9 || b < 1 || b > 9) return false;
            row |= 1u << r;
            column |= 1u << c;
            box |= 1u << b;
        }
        if (row != 0x3FE || column != 0x3FE || box != 0x3FE) return false;
    }
    return true;
}

bool KeepsGivens(const CellValues& grid, std::string_view givens) {
    const CellValues puzzle = ReadPuzzleText(givens);
    for (int c = 0; c < kCells; ++c) {
        if (puzzle[c] != 0 && grid[c] != puzzle[c]) return false;
    }
    return true;
}

// The state the logic pass alone reaches on a puzzle, for comparison.
Solver LogicPassOnly(std::string_view givens) {
    Solver s;
    s.Puzzle = ReadPuzzleText(givens);
    int open = s.SetUpGivens();
    s.Difficulty = 0;
    s.PreSolve(open);
    return s;
}

Solver Loaded(std::string_view givens) {
    Solver s;
    s.Puzzle = ReadPuzzleText(givens);
    return s;
}

// ---------------------------------------------------------------------------
// Outcomes and the state they leave

struct LogicSolvedCase {
    const char* Name;
    std::string_view Givens;
    std::string_view Solution;
    int Level;
    SearchSwitches Switches;
    bool SolutionRecorded;
};

TEST(UniqueSudTest, LogicSolvedPuzzleNeedsNoSearch) {
    const LogicSolvedCase cases[] = {
        {"hidden singles, no generation run",
         kLogicSolved,
         kLogicSolvedSolution,
         1,
         {false, false},
         true},
        {"hidden subset, no generation run",
         kHiddenSubset,
         kHiddenSubsetSolution,
         5,
         {false, false},
         true},
        {"hidden singles, generation run",
         kLogicSolved,
         kLogicSolvedSolution,
         1,
         {true, false},
         false},
        {"hidden subset, generation run limited",
         kHiddenSubset,
         kHiddenSubsetSolution,
         5,
         {true, true},
         false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = Loaded(kSeveral);
        s.UniqueSud({});  // an earlier search leaves its trail
        const int trailDepth = s.UndoTop;
        ASSERT_GT(trailDepth, 0);
        s.Puzzle = ReadPuzzleText(tc.Givens);

        EXPECT_TRUE(s.UniqueSud(tc.Switches));
        EXPECT_EQ(s.Outcome, SolveOutcome::Unique);
        EXPECT_EQ(s.Difficulty, tc.Level);
        EXPECT_EQ(Text(s.Board), tc.Solution);
        EXPECT_EQ(Text(s.Solution), tc.SolutionRecorded ? std::string(tc.Solution) : kZeros);
        EXPECT_EQ(s.UndoTop, trailDepth);
        EXPECT_FALSE(s.Contradiction);
    }
}

struct SearchSolvedCase {
    const char* Name;
    SearchSwitches Switches;
};

TEST(UniqueSudTest, UniquePuzzleSolvedBySearch) {
    const SearchSolvedCase cases[] = {
        {"no generation run", {false, false}},
        {"no generation run, limit ticked", {false, true}},
        {"generation run, limit not ticked", {true, false}},
    };
    const Solver logic = LogicPassOnly(kNeedsSearch);
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = Loaded(kNeedsSearch);

        EXPECT_TRUE(s.UniqueSud(tc.Switches));
        EXPECT_EQ(s.Outcome, SolveOutcome::Unique);
        EXPECT_EQ(s.Difficulty, 6);
        EXPECT_EQ(Text(s.Solution), kNeedsSearchSolution);
        // Every guess is taken back: the logic pass's grid and candidates.
        EXPECT_EQ(Text(s.Board), Text(logic.Board));
        EXPECT_NE(Text(s.Board).find('0'), std::string::npos);
        EXPECT_EQ(s.Candidates.Cells(), logic.Candidates.Cells());
        EXPECT_EQ(s.UndoTop, 0);
    }
}

TEST(UniqueSudTest, SeveralSolutionsLeaveTheSecondOnTheBoard) {
    const Solver logic = LogicPassOnly(kSeveral);
    Solver s = Loaded(kSeveral);

    EXPECT_FALSE(s.UniqueSud({}));
    EXPECT_EQ(s.Outcome, SolveOutcome::Several);
    EXPECT_EQ(Text(s.Solution), kZeros);
    EXPECT_TRUE(ValidFullGrid(s.Board));
    EXPECT_TRUE(KeepsGivens(s.Board, kSeveral));
    EXPECT_EQ(Text(s.Board), kSeveralSecond);
    EXPECT_GT(s.UndoTop, 0);
    EXPECT_EQ(s.Difficulty, logic.Difficulty);
}

TEST(UniqueSudTest, EmptyGridHasSeveralSolutions) {
    Solver s = Loaded("");

    EXPECT_FALSE(s.UniqueSud({}));
    EXPECT_EQ(s.Outcome, SolveOutcome::Several);
    EXPECT_EQ(Text(s.Solution), kZeros);
    EXPECT_TRUE(ValidFullGrid(s.Board));
    EXPECT_GT(s.UndoTop, 0);
    EXPECT_EQ(s.Difficulty, 0);
}

TEST(UniqueSudTest, NoSolutionFoundOnlyBySearch) {
    const Solver logic = LogicPassOnly(kNoSolution);
    ASSERT_FALSE(logic.Contradiction);
    Solver s = Loaded(kNoSolution);

    EXPECT_FALSE(s.UniqueSud({}));
    EXPECT_EQ(s.Outcome, SolveOutcome::NoSolution);
    EXPECT_FALSE(s.Contradiction);
    EXPECT_EQ(Text(s.Solution), kZeros);
    EXPECT_EQ(Text(s.Board), Text(logic.Board));
    EXPECT_EQ(s.Candidates.Cells(), logic.Candidates.Cells());
    EXPECT_EQ(s.UndoTop, 0);
    EXPECT_EQ(s.Difficulty, logic.Difficulty);
}

TEST(UniqueSudTest, DeadEndInTheLogicPass) {
    Solver s = Loaded(kDeadEnd);

    EXPECT_FALSE(s.UniqueSud({}));
    EXPECT_EQ(s.Outcome, SolveOutcome::DeadEnd);
    EXPECT_TRUE(s.Contradiction);
    EXPECT_EQ(Text(s.Solution), kZeros);
    EXPECT_EQ(Text(s.Board), Text(ReadPuzzleText(kDeadEnd)));
}

TEST(UniqueSudTest, LimitedGenerationRunDoesNotSearch) {
    const Solver logic = LogicPassOnly(kNeedsSearch);
    Solver s = Loaded(kNeedsSearch);

    EXPECT_FALSE(s.UniqueSud({.Generating = true, .CheckLimit = true}));
    EXPECT_EQ(s.Outcome, SolveOutcome::SearchOff);
    EXPECT_EQ(Text(s.Solution), kZeros);
    EXPECT_EQ(Text(s.Board), Text(logic.Board));
    EXPECT_EQ(s.Candidates.Cells(), logic.Candidates.Cells());
    EXPECT_EQ(s.Difficulty, logic.Difficulty);
    EXPECT_FALSE(s.Contradiction);
}

TEST(UniqueSudTest, EachCallStartsFromTheGivens) {
    Solver fresh = Loaded(kNeedsSearch);
    fresh.UniqueSud({});
    for (std::string_view before :
         {kSeveral, kNoSolution, std::string_view(kDeadEnd), kLogicSolved}) {
        SCOPED_TRACE(std::string(before));
        Solver s = Loaded(before);
        s.UniqueSud({});
        s.Puzzle = ReadPuzzleText(kNeedsSearch);

        EXPECT_TRUE(s.UniqueSud({}));
        EXPECT_EQ(Text(s.Solution), Text(fresh.Solution));
        EXPECT_EQ(Text(s.Board), Text(fresh.Board));
        EXPECT_EQ(s.Candidates.Cells(), fresh.Candidates.Cells());
        EXPECT_EQ(s.Difficulty, 6);
        EXPECT_FALSE(s.Contradiction);
    }
}

// ---------------------------------------------------------------------------
// The solution display

class RecordingDisplay : public SolutionDisplay {
  public:
    struct Call {
        std::string Values;
        bool AfterLogicPass;
    };
    std::vector<Call> Calls;

    void ShowSolution(const CellValues& values, bool afterLogicPass) override {
        Calls.push_back({Text(values), afterLogicPass});
    }
};

struct DisplayCase {
    const char* Name;
    std::string_view Givens;
    SearchSwitches Switches;
    bool Shown;
    std::string_view Values;
    bool AfterLogicPass;
};

TEST(UniqueSudTest, ShowsTheSolutionOnlyOutsideAGenerationRun) {
    const DisplayCase cases[] = {
        {"solved by the logic pass",
         kLogicSolved,
         {false, false},
         true,
         kLogicSolvedSolution,
         true},
        {"solved by the search", kNeedsSearch, {false, false}, true, kNeedsSearchSolution, false},
        {"logic pass during a generation run", kLogicSolved, {true, false}, false, "", false},
        {"search during a generation run", kNeedsSearch, {true, false}, false, "", false},
        {"several solutions", kSeveral, {false, false}, false, "", false},
        {"no solution", kNoSolution, {false, false}, false, "", false},
        {"dead end", kDeadEnd, {false, false}, false, "", false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = Loaded(tc.Givens);
        RecordingDisplay display;

        s.UniqueSud(tc.Switches, &display);

        if (tc.Shown) {
            ASSERT_EQ(display.Calls.size(), 1u);
            EXPECT_EQ(display.Calls[0].Values, tc.Values);
            EXPECT_EQ(display.Calls[0].AfterLogicPass, tc.AfterLogicPass);
        } else {
            EXPECT_TRUE(display.Calls.empty());
        }
    }
}

TEST(UniqueSudTest, RunsWithoutADisplay) {
    Solver s = Loaded(kNeedsSearch);
    EXPECT_TRUE(s.UniqueSud({}, nullptr));
    EXPECT_EQ(Text(s.Solution), kNeedsSearchSolution);
}

// ---------------------------------------------------------------------------
// ListEmptyCells and Search on hand-made states

TEST(ListEmptyCellsTest, ListsEmptyCellsInOrderWithTheirCounts) {
    Solver s;
    s.Board = ReadPuzzleText(kLogicSolvedSolution);
    s.Candidates.Fill(0);
    s.Board[70] = s.Board[5] = s.Board[40] = 0;
    s.Candidates.Set(5, DigitBit(8));
    s.Candidates.Set(40, static_cast<CandidateMask>(DigitBit(1) | DigitBit(6) | DigitBit(9)));
    s.Candidates.Set(70, static_cast<CandidateMask>(DigitBit(2) | DigitBit(4)));

    EXPECT_EQ(s.ListEmptyCells(), 2);
    EXPECT_EQ(s.EmptyCells[0], 5);
    EXPECT_EQ(s.EmptyCells[1], 40);
    EXPECT_EQ(s.EmptyCells[2], 70);
    EXPECT_EQ(s.NumCandidates[5], 1);
    EXPECT_EQ(s.NumCandidates[40], 3);
    EXPECT_EQ(s.NumCandidates[70], 2);
}

TEST(ListEmptyCellsTest, FullGridListsNothing) {
    Solver s;
    s.Board = ReadPuzzleText(kLogicSolvedSolution);
    s.Candidates.Fill(0);
    EXPECT_EQ(s.ListEmptyCells(), -1);
}

TEST(SearchTest, KeepsTheFirstSolutionAndLeavesTheSecondOnTheBoard) {
    Solver s = LogicPassOnly(kSeveral);
    const int last = s.ListEmptyCells();
    ASSERT_GE(last, 0);

    EXPECT_EQ(s.Search(last), 2);
    EXPECT_TRUE(ValidFullGrid(s.Solution));
    EXPECT_TRUE(KeepsGivens(s.Solution, kSeveral));
    EXPECT_EQ(Text(s.Board), kSeveralSecond);
    EXPECT_NE(Text(s.Solution), Text(s.Board));
}

TEST(SearchTest, CountsOneAndNoSolution) {
    Solver unique = LogicPassOnly(kNeedsSearch);
    EXPECT_EQ(unique.Search(unique.ListEmptyCells()), 1);
    EXPECT_EQ(Text(unique.Solution), kNeedsSearchSolution);

    Solver none = LogicPassOnly(kNoSolution);
    EXPECT_EQ(none.Search(none.ListEmptyCells()), 0);
}

CandidateMask Digits(std::initializer_list<int> digits) {
    CandidateMask mask = 0;
    for (int d : digits) mask = static_cast<CandidateMask>(mask | DigitBit(d));
    return mask;
}

struct CellChoiceCase {
    const char* Name;
    std::vector<int> Cells;  // open cells, no two in one unit
    std::vector<CandidateMask> Masks;
    std::vector<int> DecidedOrder;
};

// The open cells share no unit, so placing a value never changes another
// open cell's count and every combination of candidates is a solution: the
// search stops at its second solution with one trail entry per open cell,
// in the order the cells were decided.
TEST(SearchTest, DecidesTheCellWithFewestCandidatesLowestPositionFirst) {
    const CellChoiceCase cases[] = {
        {"tie below the entry at L: the lower position first",
         {10, 40, 70},
         {Digits({1, 2}), Digits({1, 2}), Digits({1, 2, 3})},
         {10, 40, 70}},
        {"the entry at L keeps its place when it has the minimum",
         {10, 40, 70},
         {Digits({1, 2}), Digits({1, 2, 3}), Digits({1, 2})},
         {70, 10, 40}},
        {"the single minimum wins",
         {10, 40, 70},
         {Digits({1, 2, 3}), Digits({5}), Digits({1, 2})},
         {40, 70, 10}},
        {"the minimum after a swap",
         {10, 40, 70},
         {Digits({1, 2}), Digits({4}), Digits({1, 2, 3})},
         {40, 10, 70}},
        {"four cells",
         {10, 26, 40, 70},
         {Digits({1, 2, 3}), Digits({3, 4}), Digits({5, 6}), Digits({1, 2, 3, 4})},
         {26, 40, 10, 70}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        s.Board = ReadPuzzleText(kLogicSolvedSolution);
        s.Candidates.Fill(0);
        for (std::size_t i = 0; i < tc.Cells.size(); ++i) {
            s.Board[tc.Cells[i]] = 0;
            s.Candidates.Set(tc.Cells[i], tc.Masks[i]);
        }
        const int last = s.ListEmptyCells();
        ASSERT_EQ(last, static_cast<int>(tc.Cells.size()) - 1);
        s.UndoTop = 5;  // left by an earlier search

        EXPECT_EQ(s.Search(last), 2);

        ASSERT_EQ(s.UndoTop, static_cast<int>(tc.Cells.size()));
        for (std::size_t i = 0; i < tc.DecidedOrder.size(); ++i) {
            EXPECT_EQ(s.Trail[i + 1].Cell, tc.DecidedOrder[i]) << "decision " << i + 1;
        }
        // First solution: every cell its lowest candidate. Second: the cell
        // decided last moves on to its next candidate.
        const int lastDecided = tc.DecidedOrder.back();
        for (std::size_t i = 0; i < tc.Cells.size(); ++i) {
            const int cell = tc.Cells[i];
            const int lowest = LowestDigit(tc.Masks[i]);
            EXPECT_EQ(s.Solution[cell], lowest) << "cell " << cell;
            const int second =
                cell == lastDecided ? LowestDigit(tc.Masks[i] & ~DigitBit(lowest)) : lowest;
            EXPECT_EQ(s.Board[cell], second) << "cell " << cell;
        }
    }
}

}  // namespace
}  // namespace cluemill
