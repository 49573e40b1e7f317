// SPDX-License-Identifier: MIT
// The fast Solver against the slow, literal reference solver: both must end
// every puzzle with the same result, outcome, difficulty, Solution and Board.
// Board after a several-solution search is the second solution found, so an
// agreement there also pins the search's cell choice and value order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "solver/RandomGrids.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using namespace cluemill::testing;

// Enough for every published puzzle here; a few random fillings without a
// solution need more and are skipped and counted instead.
constexpr long long kStepBudget = 3'000'000;
constexpr int kMaxReportedMismatches = 10;

const char* OutcomeName(SolveOutcome outcome) {
    switch (outcome) {
        case SolveOutcome::Unique:
            return "Unique";
        case SolveOutcome::DeadEnd:
            return "DeadEnd";
        case SolveOutcome::SearchOff:
            return "SearchOff";
        case SolveOutcome::NoSolution:
            return "NoSolution";
        case SolveOutcome::Several:
            return "Several";
    }
    return "?";
}

SolveOutcome ReferenceOutcome(const reference::Result& r) {
    if (r.Count == 1) return SolveOutcome::Unique;
    if (r.Count == 2) return SolveOutcome::Several;
    return r.Contradiction ? SolveOutcome::DeadEnd : SolveOutcome::NoSolution;
}

template <typename Grid>
std::string GridText(const Grid& grid) {
    std::string text;
    for (const auto v : grid) text += static_cast<char>('0' + v);
    return text;
}

// Outcomes met by one source, and what could not be compared.
struct Tally {
    int Compared = 0;
    int Skipped = 0;          // the reference ran out of steps
    int OutsideContract = 0;  // conflicting givens or no empty cell
    int Mismatches = 0;
    std::array<int, 5> ByOutcome{};     // index: SolveOutcome
    std::array<int, 7> ByDifficulty{};  // of the Unique outcomes

    int Count(SolveOutcome outcome) const { return ByOutcome[static_cast<int>(outcome)]; }

    std::string Summary() const {
        std::ostringstream out;
        out << Compared << " compared, " << Skipped << " skipped, " << OutsideContract
            << " outside the contract; Unique " << Count(SolveOutcome::Unique) << " (levels";
        for (int level = 1; level <= 6; ++level) out << ' ' << ByDifficulty[level];
        out << "), DeadEnd " << Count(SolveOutcome::DeadEnd) << ", NoSolution "
            << Count(SolveOutcome::NoSolution) << ", Several " << Count(SolveOutcome::Several);
        return out.str();
    }
};

// Runs one puzzle through both solvers; reports a failure with the puzzle
// line if they disagree. The Solver is reused from puzzle to puzzle, as the
// program reuses its one puzzle state.
class Comparer {
  public:
    void Check(const CellValues& puzzle) {
        if (GivensConflict(puzzle) || CountEmptyCells(puzzle) == 0) {
            ++tally_.OutsideContract;
            return;
        }
        const reference::Result expected = ReferenceSolve(puzzle, kStepBudget);
        if (!expected.Completed) {
            ++tally_.Skipped;
            return;
        }

        solver_.Puzzle = puzzle;
        const bool unique = solver_.UniqueSud(SearchSwitches{});
        ++tally_.Compared;

        std::ostringstream diff;
        if (unique != expected.Unique) diff << " result " << unique << " vs " << expected.Unique;
        if (solver_.Outcome != ReferenceOutcome(expected)) {
            diff << " outcome " << OutcomeName(solver_.Outcome) << " vs "
                 << OutcomeName(ReferenceOutcome(expected));
        }
        if (solver_.Contradiction != expected.Contradiction) {
            diff << " Contradiction " << solver_.Contradiction << " vs " << expected.Contradiction;
        }
        if (solver_.Difficulty != expected.Difficulty) {
            diff << " Difficulty " << solver_.Difficulty << " vs " << expected.Difficulty;
        }
        if (GridText(solver_.Solution) != GridText(expected.Solution)) {
            diff << "\n  Solution " << GridText(solver_.Solution) << "\n  expected "
                 << GridText(expected.Solution);
        }
        if (GridText(solver_.Board) != GridText(expected.Board)) {
            diff << "\n  Board    " << GridText(solver_.Board) << "\n  expected "
                 << GridText(expected.Board);
        }

        const SolveOutcome outcome = ReferenceOutcome(expected);
        ++tally_.ByOutcome[static_cast<int>(outcome)];
        if (outcome == SolveOutcome::Unique) ++tally_.ByDifficulty[expected.Difficulty];

        if (!diff.str().empty()) {
            ++tally_.Mismatches;
            if (tally_.Mismatches <= kMaxReportedMismatches) {
                ADD_FAILURE() << "puzzle " << WritePuzzleText(puzzle, '.') << ":" << diff.str();
            }
        }
    }

    // Ends a source: no mismatch, and at most a few puzzles left uncompared.
    const Tally& Finish(const std::string& source) {
        std::cout << "[ " << source << " ] " << tally_.Summary() << '\n';
        EXPECT_EQ(tally_.Mismatches, 0) << source << ": " << tally_.Summary();
        EXPECT_LE(tally_.Skipped * 100, tally_.Compared) << source << ": over 1% skipped";
        return tally_;
    }

  private:
    Solver solver_;
    Tally tally_;
};

// ---- Puzzle sources ----

// A clue pattern of about clueCount cells; a symmetric one is invariant under
// a half turn of the grid (and then may have one cell more, the centre).
std::vector<int> RandomPattern(std::mt19937& rng, int clueCount, bool symmetric) {
    std::vector<int> order(kCells);
    for (int i = 0; i < kCells; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    std::array<bool, kCells> chosen{};
    int chosenCount = 0;
    for (const int cell : order) {
        if (chosenCount >= clueCount) break;
        if (chosen[cell]) continue;
        chosen[cell] = true;
        ++chosenCount;
        if (symmetric && !chosen[80 - cell]) {
            chosen[80 - cell] = true;
            ++chosenCount;
        }
    }
    std::vector<int> pattern;
    for (int i = 0; i < kCells; ++i) {
        if (chosen[i]) pattern.push_back(i);
    }
    return pattern;
}

// ---- Tests ----

TEST(EquivalenceTest, RandomPatternFillings) {
    std::mt19937 rng(20240611);
    Comparer comparer;
    for (int n = 0; n < 4000; ++n) {
        const int clueCount = std::uniform_int_distribution<int>(20, 32)(rng);
        const bool symmetric = n % 3 == 0;
        std::vector<int> cells = RandomPattern(rng, clueCount, symmetric);
        std::shuffle(cells.begin(), cells.end(), rng);
        CellValues puzzle{};
        int nodes = 20'000;
        if (!FillCells(puzzle, cells, 0, rng, nodes)) continue;
        comparer.Check(puzzle);
    }
    const Tally& tally = comparer.Finish("random fillings");
    EXPECT_GT(tally.Compared, 3500);
    EXPECT_GT(tally.Count(SolveOutcome::DeadEnd), 0);
    EXPECT_GT(tally.Count(SolveOutcome::NoSolution), 0);
    EXPECT_GT(tally.Count(SolveOutcome::Several), 0);
    EXPECT_GT(tally.Count(SolveOutcome::Unique), 0);
}

TEST(EquivalenceTest, ThinnedSolvedGrids) {
    std::mt19937 rng(7);
    Comparer comparer;
    // Cells removed at random down to a given number of clues.
    for (int n = 0; n < 1500; ++n) {
        CellValues puzzle = RandomSolvedGrid(rng);
        const std::vector<int> order = ShuffledCells(rng);
        const int clueCount = std::uniform_int_distribution<int>(20, 45)(rng);
        for (int i = 0; i < kCells - clueCount; ++i) puzzle[order[i]] = 0;
        comparer.Check(puzzle);
    }
    // Cells removed while the puzzle stays unique, down to a minimal puzzle:
    // the hardest puzzles a solved grid yields this way.
    for (int n = 0; n < 150; ++n) {
        const CellValues solved = RandomSolvedGrid(rng);
        comparer.Check(MinimalPuzzle(solved, ShuffledCells(rng), kStepBudget));
    }
    const Tally& tally = comparer.Finish("thinned grids");
    EXPECT_GT(tally.Count(SolveOutcome::Several), 0);
    EXPECT_GT(tally.ByDifficulty[6], 0);
    EXPECT_GT(tally.ByDifficulty[1] + tally.ByDifficulty[2], 0);
}

class PublishedPuzzles : public ::testing::TestWithParam<const char*> {};

TEST_P(PublishedPuzzles, MatchReference) {
    const std::string path = std::string(CLUEMILL_TEST_DATA) + "/" + GetParam() + ".txt";
    std::ifstream in(path);
    ASSERT_TRUE(in) << "cannot read " << path;
    Comparer comparer;
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        if (line.size() < kCells) continue;
        ++lines;
        comparer.Check(ReadPuzzleText(line));
    }
    EXPECT_GE(lines, 100) << path;
    comparer.Finish(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Equivalence, PublishedPuzzles,
                         ::testing::Values("hard", "seventeen", "multi", "easy", "fillings"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param);
                         });

TEST(EquivalenceTest, EdgeCaseGrids) {
    std::mt19937 rng(99);
    Comparer comparer;

    comparer.Check(CellValues{});  // the empty grid: Board ends as the second solution found

    for (const int cell : {0, 8, 13, 40, 72, 80}) {
        for (const int digit : {1, 5, 9}) {
            CellValues puzzle{};
            puzzle[cell] = static_cast<std::int8_t>(digit);
            comparer.Check(puzzle);
        }
    }

    // Solved grids with one, two or a whole unit of cells left open: the
    // logic pass finishes them with singles.
    for (int n = 0; n < 20; ++n) {
        const CellValues solved = RandomSolvedGrid(rng);
        CellValues puzzle = solved;
        puzzle[n * 4] = 0;
        comparer.Check(puzzle);
        puzzle[80 - n] = 0;
        comparer.Check(puzzle);
        const Unit& unit = kUnitTable[n % kUnits];
        puzzle = solved;
        for (const int cell : unit.Cells) puzzle[cell] = 0;
        comparer.Check(puzzle);
    }

    // Fillings without a solution that no logic technique notices: only the
    // search, run to exhaustion, finds that nothing fits.
    for (const char* line : {
             "157.....68...1.........89...9.5..2.............6..7.4...98.........2...87.....351",
             "928.....34...9.........26...8.9..1.............6..3.2...48.........6...51.....264",
             "724.....18...9.........29...4.5..6.............8..9.4...14.........1...63.....218",
             "...1.5....8.4.....3.....76.7.49....6.53...14.6....43.9.91.....8.....8.5....5.6...",
         }) {
        const CellValues puzzle = ReadPuzzleText(line);
        const reference::Result r = ReferenceSolve(puzzle, 50'000'000);
        EXPECT_TRUE(r.Completed && r.Count == 0 && !r.Contradiction) << line;
        comparer.Check(puzzle);
    }

    // Empty cells written as -1 in puzzles that the logic pass decides: they
    // count as empty, yet Board keeps the -1, so the board index of the logic
    // pass must not take them for open cells.
    for (const char* line : {
             ".........8.....9..9.72...8.5.............145..3..2..1..89.....5..387..21..2....7.",
             "8.1..3.5...31..2.656284........84....5..6..48.3....1..7..............4.....2.7..1",
         }) {
        CellValues puzzle = ReadPuzzleText(line);
        for (int cell = 0; cell < kCells; cell += 2) {
            if (puzzle[cell] == 0) puzzle[cell] = -1;
        }
        comparer.Check(puzzle);
    }

    const Tally& tally = comparer.Finish("edge-case grids");
    EXPECT_EQ(tally.Skipped, 0);
    EXPECT_EQ(tally.OutsideContract, 0);
}

}  // namespace
}  // namespace cluemill
