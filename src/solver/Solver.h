// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

#include "solver/CandidateGrid.h"
#include "solver/Geometry.h"

namespace cluemill {

struct ChuteScan;

using CellValues = std::array<std::int8_t, kCells>;

// The names of the difficulty classes 1 to 6, as the program prints them.
inline constexpr std::array<const char*, 6> kClassNames = {"Very Easy", "Easy",      "Medium",
                                                           "Hard",      "Very Hard", "Others"};

// Told to UniqueSud by its caller. A generation run asks for no window
// output and, with "Limited to Very Hard" ticked, for no search at all.
struct SearchSwitches {
    bool Generating = false;
    bool CheckLimit = false;
};

// Where UniqueSud shows a solution it found while no generation run is going
// on. The window implements it; headless callers pass none.
class SolutionDisplay {
  public:
    virtual ~SolutionDisplay() = default;
    // Values of all 81 cells. afterLogicPass: the logic pass alone solved it.
    virtual void ShowSolution(const CellValues& values, bool afterLogicPass) = 0;
};

// How the last UniqueSud ended; its Boolean result only says Unique or not.
enum class SolveOutcome { Unique, DeadEnd, SearchOff, NoSolution, Several };

// One entry of the search's undo trail: the cell given a value, the value,
// and which peers lost it, as bits of the cell's row, column and box
// (box bit 3 * r + c for row offset r and column offset c).
struct UndoEntry {
    std::int8_t Cell = 0;
    std::int8_t Candidate = 0;
    std::uint16_t RowMask = 0;
    std::uint16_t ColumnMask = 0;
    std::uint16_t BoxMask = 0;
};

// The puzzle state and the logic solver: the working grid, the candidates,
// the search lists and the undo trail, with the techniques, the logic pass
// PreSolve and the solution-counting search UniqueSud that work on them.
//
// Every scan order and tie-break is behaviour: the same puzzle always leaves
// the same Board, Candidates, Solution and Difficulty. Nothing here allocates.
// One instance is not reentrant; callers that need an earlier state after a
// call save and restore it themselves.
class Solver {
  public:
    // The puzzle handed to UniqueSud: 1 to 9 for a given, 0 for an empty cell.
    CellValues Puzzle{};
    // The working grid: 0 empty, 1 to 9 a value.
    CellValues Board{};
    // Candidates[cell] bit d - 1 set = digit d still possible there. Written
    // only through its own operations (Set, Clear, Fill, ...).
    CandidateGrid Candidates;
    // Candidate counts of the cells in EmptyCells, kept by the search.
    CellValues NumCandidates{};
    // The search's open cells; reordered in place by its cell choice.
    CellValues EmptyCells{};
    // Search: 1-based index into the cell's ascending candidates of the value
    // being tried, 0 = none.
    CellValues TryIndex{};
    // The solution found by UniqueSud; all 0 when it returns False.
    CellValues Solution{};
    std::array<UndoEntry, kCells + 1> Trail{};  // entries 1 to UndoTop
    int UndoTop = 0;
    bool Contradiction = false;
    // Highest technique level the last solve needed: 1 hidden single,
    // 2 naked single, 3 intersection, 4 naked subset, 5 hidden subset,
    // 6 the search.
    int Difficulty = 0;
    SolveOutcome Outcome = SolveOutcome::DeadEnd;

    bool HasCandidate(int cell, int digit) const { return Candidates.Has(cell, digit); }

    // Bookkeeping. Cells are 0 to 80 and digits 1 to 9; not checked.
    // Clears cell's candidates and removes candidate from its row, column and
    // box; does not write Board.
    void Assign(int candidate, int cell);
    // Clears one candidate; True if it was set. The two are the same operation.
    bool RemoveCandidate(int candidate, int cell);
    bool CandidateRemoved(int candidate, int cell) { return RemoveCandidate(candidate, cell); }

    // Singles. Each does at most one thing per call.
    bool HiddenSingle();
    bool NakedSingle();
    // Intersections.
    bool PointingPair();
    bool DiscardPP(int candidate, int boxLeftTop, int chute);
    bool BoxLine();
    bool DiscardBL(int candidate, int indice, int chute, int kind);
    // Naked subsets of 2 to 5 cells, hidden subsets of 2 or 3 digits.
    bool NakedHidden(bool naked, int candidateCount);

    // Sets Board from Puzzle and the candidates from the givens (conflicts are
    // not detected); resets Solution, NumCandidates, TryIndex, Contradiction.
    // Returns the number of empty cells.
    int SetUpGivens();
    // The logic pass: applies the techniques cheapest first until the grid is
    // complete (True), a dead end is met (False, Contradiction set) or nothing
    // applies (False). Raises Difficulty; never lowers it.
    bool PreSolve(int& cellsToSolve);
    // Lists the empty cells of Board in EmptyCells with their candidate
    // counts; returns the last position (-1 when there is none).
    int ListEmptyCells();
    // The counting search over EmptyCells positions 0 to last, stopping at the
    // second solution. Returns 0, 1 or 2; Solution holds the first solution
    // and, at 2, Board the second. Expects what the logic pass leaves: no open
    // cell without a candidate. A placement only checks the peers that just
    // lost a candidate for a dead end.
    int Search(int last);
    // Decides whether Puzzle has exactly one solution (see SolveOutcome).
    // display may be null.
    bool UniqueSud(const SearchSwitches& switches, SolutionDisplay* display = nullptr);

  private:
    void RaiseDifficulty(int level) {
        if (Difficulty < level) Difficulty = level;
    }
    void Place(int digit, int cell) {
        Assign(digit, cell);
        Board[cell] = static_cast<std::int8_t>(digit);
        open_.Erase(cell);
        const CandidateMask bit = DigitBit(digit);
        const auto& units = kCellUnits[cell];
        placed_[units[0]] |= bit;
        placed_[units[1]] |= bit;
        placed_[units[2]] |= bit;
    }
    // Builds open_ and placed_ from Board.
    void IndexBoard();
    // PointingPair, then BoxLine, from one scan of the chutes.
    bool Intersection();
    bool PointingPair(const ChuteScan& scan);
    bool BoxLine(const ChuteScan& scan);
    // NakedHidden with the subsets of each unit kept from one call to the
    // next while the unit's candidates stay as they were (subsetsKnown_).
    // inPass: asked by the logic pass in its order, when no open cell has
    // fewer than two candidates, no digit has one place in a unit, only open
    // cells hold candidates, and the kinds before this one found nothing;
    // many units and sizes are then passed over.
    bool FindSubset(bool naked, int candidateCount, bool inPass);
    // True if an empty cell of Board (open_) has no candidate left.
    bool HasDeadCell() const;
    // The search's placement step and its undo while it decides position L,
    // whose open positions 0 to L - 1 hold exactly the cells of searchOpen_:
    // the value leaves those of the cell's peers that hold it, recorded in
    // one trail entry, and comes back to exactly them. Only the peers that
    // change are recounted; SearchAssign returns false when one of them lost
    // its last candidate.
    bool SearchAssign(int cell, int candidate);
    void SearchUndo();

    // While the logic pass runs: the empty cells of Board, and per unit the
    // digits placed in it.
    CellSet open_;
    // While the search runs: the cells of its open positions.
    CellSet searchOpen_;
    std::array<CandidateMask, kUnits> placed_{};
    // Set by SetUpGivens, which builds open_ and placed_ for the board it
    // leaves (indexedBoard_); the next PreSolve uses them if Board is
    // unchanged, and clears it.
    bool boardIndexed_ = false;
    CellValues indexedBoard_{};
    // Per unit, the first acting naked subset of each size 2 to 5 and hidden
    // subset of size 2 and 3 (0 = none), valid for the units whose bit is set
    // in subsetsKnown_ (naked pairs and triples, naked quads and quints,
    // hidden); and what the searches ask of the unit first, valid for the
    // units whose bit is set in subsetsKnown_[3]: its open cells, the digits
    // they hold, and whether those are exactly its free digits, as many as
    // its open cells (a square unit, see FindSubset).
    struct UnitSubsets {
        std::array<CandidateMask, 6> Naked{};
        std::array<CandidateMask, 4> Hidden{};
        CandidateMask Present = 0;
        std::int8_t OpenCells = 0;
        bool Square = false;
    };
    std::array<UnitSubsets, kUnits> unitSubsets_{};
    std::array<std::uint32_t, 4> subsetsKnown_{};
    // Per size (naked 2 to 5, hidden 2 and 3), the known units whose entry
    // in unitSubsets_ is not 0.
    std::array<std::uint32_t, 6> subsetsActing_{};
    // During the logic pass: no cell holding a value has a candidate.
    bool onlyOpenHold_ = false;
    // Set by Assign: a peer of the cell lost its last candidate.
    bool peerEmptied_ = false;
};

}  // namespace cluemill
