// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "generator/RandomSource.h"
#include "generator/UnitCounts.h"
#include "patterns/PatternLibrary.h"
#include "solver/Solver.h"

namespace cluemill {

// Why the generator refuses a pattern, in the order the checks run.
enum class PatternProblem {
    None,
    TooFewClues,   // fewer than 20 clue cells
    EmptyRows,     // a band with clues in one row or none
    EmptyColumns,  // a stack with clues in one column or none
    EmptyBoxes,    // more than four boxes without a clue
};

// The first problem of a pattern: the bands and stacks are checked together,
// band and stack 0 first, and within one the rows before the columns.
PatternProblem CheckPattern(const Pattern& clues);
// The words that tell a setter the problem ("A minimum of 20 clues is
// required !"); "" for None.
const char* PatternProblemText(PatternProblem problem);

// The choices a run is made with.
struct RunSettings {
    // The pattern, unless random patterns are drawn.
    Pattern Clues{};
    // Draw a library pattern at every renewal of the base, from records 1 to
    // PatternCount; the observer tells each record's pattern.
    bool RandomPatterns = false;
    std::int32_t PatternCount = 0;
    // "Check Minimal" and "Limited to Very Hard".
    bool Minimal = false;
    bool Limit = false;
    // Up to this many givens (0 to 3) are added to make a candidate unique.
    int ExpandLevel = 0;
    // Rejected candidates after which a new base is drawn.
    std::int32_t RenewAfter = 250;
};

// How a run ended.
enum class RunEnd { Halted, Exhausted };

// The counter of a pattern's statistics that an accepted puzzle raises.
enum class PatternCounter { NotExpanded, Minimal, Expanded };

// A longer step of the acceptance, for a window to show.
enum class RunStage {
    MinimalCheck,
    ExpansionLevel1,
    ExpansionLevel2,
    ExpansionLevel3,
    ExpansionFailed
};

// An accepted puzzle: its givens (the pattern's clue cells and, when it was
// expanded, the added ones), its solution, class 1 to 6, the counter it
// raises, the library record of its pattern when the run draws random
// patterns (0 otherwise), and whether the logic pass alone solved it.
struct AcceptedPuzzle {
    CellValues Givens{};
    CellValues Solution{};
    int Difficulty = 0;
    PatternCounter Counter = PatternCounter::NotExpanded;
    std::int32_t Record = 0;
    bool SolvedByLogic = false;
};

// Raises the counter of the puzzle's class that the puzzle counts in.
void RaiseCounter(PatternRecord& record, const AcceptedPuzzle& puzzle);

// The puzzle's text as the window shows it: the givens' digits, "0" for an
// empty cell.
std::string PuzzleLine(const AcceptedPuzzle& puzzle);

// What a run tells the one who started it. Poll comes before every digit
// placement, at every renewal and after every tried expansion: true asks
// the run to end (as halted) at once.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    virtual bool Poll() = 0;
    // A candidate was accepted (the run counted it in NewCount first).
    virtual void Accepted(const AcceptedPuzzle& puzzle) = 0;
    // A candidate was rejected; invalidCount rejections came before it since
    // the base was last renewed.
    virtual void Rejected(std::int32_t invalidCount) { (void)invalidCount; }
    virtual void Working(RunStage stage) { (void)stage; }
    // The clue cells of library record `record` (random patterns).
    virtual Pattern PatternOf(std::int32_t record) {
        (void)record;
        return {};
    }
};

// The generator: fills a pattern's cells with digits in a random depth-first
// enumeration and decides every complete filling (solved, graded, accepted
// or rejected, made unique by added givens) until its observer halts it or
// the enumeration runs out. It owns its solver and the state of its run; it
// shows nothing and writes nothing: the observer does.
class Generator {
  public:
    explicit Generator(RandomSource& random) : random_(random) {}
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;

    // A whole run. The pattern (settings.Clues, or each random one) is used
    // as it is: the caller checks it first (CheckPattern).
    RunEnd Run(const RunSettings& settings, RunObserver& observer);
    // The fate of one candidate, as a run decides it, with its givens as the
    // pattern: true when accepted (then LastAccepted tells it). The
    // observer's Poll is asked during an expansion only.
    bool Decide(const CellValues& candidate, const RunSettings& settings, RunObserver& observer);
    AcceptedPuzzle LastAccepted() const;

    // The decision on the candidate in Solver.Puzzle: true when accepted,
    // with its givens in Solver.Puzzle, its solution in Solver.Board, its
    // class in Solver.Difficulty; a rejected candidate is left in
    // Solver.Puzzle as it came.
    bool UniqueModSud();
    // No given of Solver.Puzzle can go with the puzzle still accepted by
    // UniqueSud (true at once when minimality is not asked for). Leaves
    // Puzzle and Board as it found them.
    bool IsSudMinimal();
    // Finds up to ExpandLevel givens from Solver.Board whose addition makes
    // the puzzle unique: ExpandedPuzzle then holds the expanded givens and
    // Solver.Difficulty its class. Leaves Puzzle and Board as it found them.
    bool ModifyTask();
    // 3 when the digit in the cell occurs once in its row, column and box of
    // Solver.Puzzle: the enumeration's check, from counts the run keeps in
    // step with Solver.Puzzle.
    int CountNum(int cellIndex) const {
        return counts_.CountNum(cellIndex, Solver.Puzzle[cellIndex]);
    }

    cluemill::Solver Solver;
    // The run's pattern: ClueCells(0 .. ClueCount - 1) in ascending order.
    int ClueCount = 0;
    std::array<int, kCells> ClueCells{};
    // The position in the clue order being filled; -1 = exhausted.
    int Depth = -1;
    // Per class (index class - 1): puzzles accepted since the run started.
    std::array<std::int32_t, 6> NewCount{};
    // The givens of the last successful expansion.
    CellValues ExpandedPuzzle{};
    // Candidates decided since the run started.
    std::int64_t CandidatesTried = 0;

  private:
    // The state of one base: the clue order, the digit order of each
    // position, the digit index each cell holds, and per position the clue
    // cells of the positions after it.
    struct Base {
        std::array<int, kCells> ClueOrder{};
        std::array<std::array<int, 10>, kCells> DigitOrder{};
        std::array<int, kCells> DigitPos{};
        std::array<CellSet, kCells> LaterClues{};
    };

    // ClueCells and ClueCount from the clue cells.
    void CollectPattern(const Pattern& clues);
    // A new base: the clue order and every position's digit order shuffled,
    // every clue cell empty.
    void NewBase();
    // Whether every later clue cell in a row, column or box of the cell can
    // still take a digit.
    bool LaterCluesHaveRoom(int cell) const;
    // The switches UniqueSud takes during a run: no window, and no search
    // under "Limited to Very Hard".
    SearchSwitches Switches() const { return {true, settings_->Limit}; }

    RandomSource& random_;
    const RunSettings* settings_ = nullptr;
    RunObserver* observer_ = nullptr;
    // The counts behind CountNum, kept in step with Solver.Puzzle by the run.
    UnitCounts counts_;
    Base base_;
    std::int32_t record_ = 0;
    PatternCounter lastCounter_ = PatternCounter::NotExpanded;
    bool lastByLogic_ = false;
};

}  // namespace cluemill
