// SPDX-License-Identifier: MIT
// UniqueSud and its counting search: outcomes, the state left behind, the
// switches of a generation run, the solution display and the cell choice.
// Outcome, grade, Solution and Board of default runs are recorded for
// thousands of puzzles elsewhere; the cases here pin what the record does not
// see.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

CandidateMask Digits(std::initializer_list<int> digits) {
    CandidateMask mask = 0;
    for (const int d : digits) mask = static_cast<CandidateMask>(mask | DigitBit(d));
    return mask;
}

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

// The state the logic pass alone reaches on a puzzle, for comparison.
Solver LogicPassOnly(std::string_view givens) {
    Solver s;
    s.Puzzle = ReadPuzzleText(givens);
    int open = s.SetUpGivens();
    s.PreSolve(open);
    return s;
}

// What the undo trail holds after a call.
enum class Trail { Kept, Empty, Used };

struct OutcomeCase {
    const char* Name;
    std::string_view Givens;
    SearchSwitches Switches;
    SolveOutcome Outcome;
    int Level;                  // -1: as the logic pass left it
    std::string_view Solution;  // empty: all 0
    std::string_view Board;     // empty: as the logic pass left it, candidates too
    Trail After;
};

TEST(UniqueSudTest, OutcomesAndTheStateTheyLeave) {
    using enum SolveOutcome;
    const SearchSwitches plain{false, false};
    const SearchSwitches run{true, false};
    const SearchSwitches limited{true, true};
    const OutcomeCase cases[] = {
        {"singles", kLogicSolved, plain, Unique, 1, kLogicSolvedSolution, kLogicSolvedSolution,
         Trail::Kept},
        {"hidden subset", kHiddenSubset, plain, Unique, 5, kHiddenSubsetSolution,
         kHiddenSubsetSolution, Trail::Kept},
        {"singles in a run: no Solution", kLogicSolved, run, Unique, 1, "", kLogicSolvedSolution,
         Trail::Kept},
        {"hidden subset in a limited run", kHiddenSubset, limited, Unique, 5, "",
         kHiddenSubsetSolution, Trail::Kept},
        {"search", kNeedsSearch, plain, Unique, 6, kNeedsSearchSolution, "", Trail::Empty},
        {"search, limit ticked outside a run",
         kNeedsSearch,
         {false, true},
         Unique,
         6,
         kNeedsSearchSolution,
         "",
         Trail::Empty},
        {"search in a run", kNeedsSearch, run, Unique, 6, kNeedsSearchSolution, "", Trail::Empty},
        {"search in a limited run is off", kNeedsSearch, limited, SearchOff, -1, "", "",
         Trail::Kept},
        {"several: Board holds the second solution", kSeveral, plain, Several, -1, "",
         kSeveralSecond, Trail::Used},
        {"no solution, found by the search", kNoSolution, plain, NoSolution, -1, "", "",
         Trail::Empty},
        {"dead end in the logic pass", kDeadEnd, plain, DeadEnd, -1, "", "", Trail::Kept},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        const Solver logic = LogicPassOnly(tc.Givens);
        // The solver is reused, as the program reuses it: an earlier search
        // leaves its trail and its Board behind.
        Solver s;
        s.Puzzle = ReadPuzzleText(kSeveral);
        s.UniqueSud({});
        const int trailBefore = s.UndoTop;
        ASSERT_GT(trailBefore, 0);
        s.Puzzle = ReadPuzzleText(tc.Givens);

        EXPECT_EQ(s.UniqueSud(tc.Switches), tc.Outcome == Unique);
        EXPECT_EQ(s.Outcome, tc.Outcome);
        EXPECT_EQ(s.Contradiction, tc.Outcome == DeadEnd);
        EXPECT_EQ(s.Difficulty, tc.Level >= 0 ? tc.Level : logic.Difficulty);
        EXPECT_EQ(Text(s.Solution),
                  tc.Solution.empty() ? std::string(kCells, '0') : std::string(tc.Solution));
        if (tc.Board.empty()) {
            EXPECT_EQ(Text(s.Board), Text(logic.Board));
            EXPECT_EQ(s.Candidates.Cells(), logic.Candidates.Cells());
        } else {
            EXPECT_EQ(Text(s.Board), tc.Board);
        }
        switch (tc.After) {
            case Trail::Kept:
                EXPECT_EQ(s.UndoTop, trailBefore);
                break;
            case Trail::Empty:
                EXPECT_EQ(s.UndoTop, 0);
                break;
            case Trail::Used:
                EXPECT_GT(s.UndoTop, 0);
                break;
        }
    }
}

class RecordingDisplay : public SolutionDisplay {
  public:
    std::vector<std::string> Calls;  // the values, then "L" after the logic pass or "S"

    void ShowSolution(const CellValues& values, bool afterLogicPass) override {
        Calls.push_back(Text(values) + (afterLogicPass ? " L" : " S"));
    }
};

TEST(UniqueSudTest, ShowsTheSolutionOnlyOutsideAGenerationRun) {
    struct DisplayCase {
        std::string_view Givens;
        bool Generating;
        std::vector<std::string> Calls;
    };
    const DisplayCase cases[] = {
        {kLogicSolved, false, {std::string(kLogicSolvedSolution) + " L"}},
        {kNeedsSearch, false, {std::string(kNeedsSearchSolution) + " S"}},
        {kLogicSolved, true, {}},
        {kNeedsSearch, true, {}},
        {kSeveral, false, {}},
        {kNoSolution, false, {}},
        {kDeadEnd, false, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(std::string(tc.Givens) + (tc.Generating ? " in a run" : ""));
        Solver s;
        s.Puzzle = ReadPuzzleText(tc.Givens);
        RecordingDisplay display;
        s.UniqueSud({.Generating = tc.Generating}, &display);
        EXPECT_EQ(display.Calls, tc.Calls);
    }
}

// The open cells share no unit, so placing a value never changes another
// open cell's count and every combination of candidates is a solution: the
// search stops at its second solution with one trail entry per open cell,
// in the order the cells were decided.
TEST(SearchTest, DecidesTheCellWithFewestCandidatesLowestPositionFirst) {
    struct CellChoiceCase {
        const char* Name;
        std::vector<int> Cells;
        std::vector<CandidateMask> Masks;
        std::vector<int> DecidedOrder;
    };
    const CandidateMask d12 = Digits({1, 2});
    const CandidateMask d123 = Digits({1, 2, 3});
    const CellChoiceCase cases[] = {
        {"tie below the entry at L: the lower position first",
         {10, 40, 70},
         {d12, d12, d123},
         {10, 40, 70}},
        {"the entry at L keeps its place when it has the minimum",
         {10, 40, 70},
         {d12, d123, d12},
         {70, 10, 40}},
        {"the single minimum wins", {10, 40, 70}, {d123, Digits({5}), d12}, {40, 70, 10}},
        {"the minimum after a swap", {10, 40, 70}, {d12, Digits({4}), d123}, {40, 10, 70}},
        {"four cells",
         {10, 26, 40, 70},
         {d123, Digits({3, 4}), Digits({5, 6}), Digits({1, 2, 3, 4})},
         {26, 40, 10, 70}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        s.Board = ReadPuzzleText(kLogicSolvedSolution);
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
        for (std::size_t i = 0; i < tc.Cells.size(); ++i) {
            const int cell = tc.Cells[i];
            const int lowest = LowestDigit(tc.Masks[i]);
            EXPECT_EQ(s.Solution[cell], lowest) << "cell " << cell;
            const int second = cell == tc.DecidedOrder.back()
                                   ? LowestDigit(tc.Masks[i] & ~DigitBit(lowest))
                                   : lowest;
            EXPECT_EQ(s.Board[cell], second) << "cell " << cell;
        }
    }
}

}  // namespace
}  // namespace cluemill
