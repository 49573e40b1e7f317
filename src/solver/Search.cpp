// SPDX-License-Identifier: MIT
#include <utility>

#include "solver/SolutionCounter.h"
#include "solver/Solver.h"

namespace cluemill {

int Solver::SetUpGivens() {
    Solution.fill(0);
    NumCandidates.fill(0);
    TryIndex.fill(0);
    Contradiction = false;
    // The same result as assigning every given in turn: a given keeps no
    // candidate, an empty cell loses the digits of the givens among its peers.
    std::array<CandidateMask, kUnits> used{};
    std::array<CellSet, 9> blocked{};  // per digit: the givens holding it and their peers
    CellSet givens;
    Board = Puzzle;
    // Band by band, so that a cell's bit in a CellSet needs no division.
    for (int band = 0, cell = 0; band < 3; ++band) {
        std::uint32_t word = 0;
        std::uint32_t zeros = 0;
        for (int bit = 0; bit < 27; ++bit, ++cell) {
            const int digit = Puzzle[cell];
            zeros |= static_cast<std::uint32_t>(digit == 0) << bit;
            if (digit < 1) continue;
            const CandidateMask mask = DigitBit(digit);
            const auto& units = kCellUnits[cell];
            used[units[0]] |= mask;
            used[units[1]] |= mask;
            used[units[2]] |= mask;
            blocked[digit - 1] = blocked[digit - 1] | kPeerSets[cell];
            word |= 1u << bit;
        }
        givens.Band[band] = word;
        open_.Band[band] = zeros;
    }
    // Per band, the digits of each column and of its box: then a cell needs
    // one OR with its row's digits.
    std::array<std::array<CandidateMask, 9>, 3> columnAndBox{};
    for (int band = 0; band < 3; ++band) {
        for (int column = 0; column < 9; ++column) {
            columnAndBox[band][column] =
                static_cast<CandidateMask>(used[9 + column] | used[18 + band * 3 + column / 3]);
        }
    }
    std::array<CandidateMask, kCells> cells;
    for (int row = 0, cell = 0; row < 9; ++row) {
        const CandidateMask inRow = used[row];
        const auto& others = columnAndBox[row / 3];
        for (int column = 0; column < 9; ++column, ++cell) {
            const auto free = static_cast<CandidateMask>(kAllDigits & ~(inRow | others[column]));
            // A mask instead of a branch: a given keeps no candidate.
            const auto given = static_cast<unsigned>(Puzzle[cell] >= 1);
            cells[cell] = static_cast<CandidateMask>(free & (given - 1u));
        }
    }
    // The logic pass needs the same index of the board (open_, filled in
    // above, and placed_); it takes this one while Board is still the puzzle.
    placed_ = used;
    indexedBoard_ = Board;
    boardIndexed_ = true;
    const int open = kCells - givens.Count();
    const CellSet all{{(1u << 27) - 1, (1u << 27) - 1, (1u << 27) - 1}};
    std::array<CellSet, 9> digits{};
    for (int d = 0; d < 9; ++d) digits[d] = all.Without(givens | blocked[d]);
    Candidates.Load(cells, digits);
    return open;
}

int Solver::ListEmptyCells() {
    int last = -1;
    for (int cell = 0; cell < kCells; ++cell) {
        if (Board[cell] != 0) continue;
        EmptyCells[++last] = static_cast<std::int8_t>(cell);
        NumCandidates[cell] = static_cast<std::int8_t>(CountDigits(Candidates[cell]));
    }
    return last;
}

int Solver::Search(int last) {
    // L is the position being decided: positions 0 to L - 1 are still open,
    // positions above L hold a tried value. The undo trail is the only memory.
    UndoTop = 0;
    int count = 0;
    int level = last;
    searchOpen_ = CellSet{};
    for (int k = 0; k <= last; ++k) searchOpen_ = searchOpen_ | CellSet::Of(EmptyCells[k]);
    // Every open cell has a candidate whenever a value is tried (the logic
    // pass left none without, and a dead end is never descended into), so
    // only the peers that just lost one can have run out.
    auto tryValue = [&](int cell, int value) {
        Board[cell] = static_cast<std::int8_t>(value);
        const bool alive = SearchAssign(cell, value);
        --level;
        // Dead end: an open cell lost its last candidate; come back to this
        // cell and move on to its next value.
        if (!alive) ++level;
    };
    for (;;) {
        if (level > last) break;
        if (level == -1) {
            if (++count == 2) break;
            Solution = Board;
            level = 0;
        }
        int cell = EmptyCells[level];
        if (TryIndex[cell] == 0) {
            // Fewest candidates first; the swaps outlive this branch and so
            // fix the order of every later one.
            for (int k = 0; k < level; ++k) {
                if (NumCandidates[EmptyCells[k]] < NumCandidates[EmptyCells[level]]) {
                    std::swap(EmptyCells[k], EmptyCells[level]);
                }
            }
            cell = EmptyCells[level];
            TryIndex[cell] = 1;
            tryValue(cell, LowestDigit(Candidates[cell]));
        } else if (TryIndex[cell] == NumCandidates[cell]) {
            SearchUndo();
            TryIndex[cell] = 0;
            ++level;
        } else {
            // A cell keeps its candidates while it holds a value, so the next
            // value is the next candidate above the current one.
            const int previous = Board[cell];
            SearchUndo();
            ++TryIndex[cell];
            const unsigned above = Candidates[cell] & ~((2u << (previous - 1)) - 1);
            tryValue(cell, LowestDigit(above));
        }
    }
    return count;
}

bool Solver::UniqueSud(const SearchSwitches& switches, SolutionDisplay* display) {
    int open = SetUpGivens();
    Difficulty = 0;
    if (PreSolve(open)) {
        Outcome = SolveOutcome::Unique;
        if (!switches.Generating) {
            Solution = Board;
            if (display != nullptr) display->ShowSolution(Board, true);
        }
        return true;
    }
    if (Contradiction) {
        Outcome = SolveOutcome::DeadEnd;
        return false;
    }
    if (switches.CheckLimit && switches.Generating) {
        Outcome = SolveOutcome::SearchOff;
        return false;
    }
    const int last = ListEmptyCells();
    // None or one solution leaves the same state whatever the search order,
    // so a fast counter decides them; only several solutions need the exact
    // search, whose order fixes which solution ends up in Board.
    CellValues found{};
    // The logic pass left its index of the board current.
    const int count = onlyOpenHold_ ? CountSolutions(Board, Candidates, open_, placed_, found)
                                    : CountSolutions(Board, Candidates, found);
    if (count == 1) {
        UndoTop = 0;
        Solution = found;
        Difficulty = 6;
        Outcome = SolveOutcome::Unique;
        if (!switches.Generating && display != nullptr) display->ShowSolution(Solution, false);
        return true;
    }
    if (count == 0) {
        UndoTop = 0;
        Outcome = SolveOutcome::NoSolution;
        return false;
    }
    // Which second solution the search leaves in Board depends on its exact
    // order; during a generation run every caller puts Board back itself, so
    // the search is spared there.
    if (!switches.Generating) Search(last);
    Solution.fill(0);
    Outcome = SolveOutcome::Several;
    return false;
}

}  // namespace cluemill
