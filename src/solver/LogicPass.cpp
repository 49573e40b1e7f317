// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

bool Solver::HasDeadCell() const {
    CellSet alive;
    for (int digit = 1; digit <= 9; ++digit) alive = alive | Candidates.CellsOf(digit);
    return !open_.Without(alive).Empty();
}

void Solver::IndexBoard() {
    placed_.fill(0);
    // Band by band, so that a cell's bit in open_ needs no division.
    for (int band = 0, cell = 0; band < 3; ++band) {
        std::uint32_t word = 0;
        for (int bit = 0; bit < 27; ++bit, ++cell) {
            const int value = Board[cell];
            word |= value == 0 ? 1u << bit : 0u;
            if (value <= 0) continue;
            const CandidateMask mask = DigitBit(value);
            const auto& units = kCellUnits[cell];
            placed_[units[0]] |= mask;
            placed_[units[1]] |= mask;
            placed_[units[2]] |= mask;
        }
        open_.Band[band] = word;
    }
}

bool Solver::PreSolve(int& cellsToSolve) {
    subsetsKnown_ = {};
    Candidates.TakeTouchedUnits();
    if (!boardIndexed_ || Board != indexedBoard_) IndexBoard();
    boardIndexed_ = false;
    // Placements and eliminations keep it so.
    CellSet alive;
    for (int digit = 1; digit <= 9; ++digit) alive = alive | Candidates.CellsOf(digit);
    onlyOpenHold_ = alive.Without(open_).Empty();
    // Each cycle tries the techniques cheapest first and starts again from the
    // top after the first success, so the subset searches only run when
    // everything cheaper has failed. The hidden pair (level 5) is tried before
    // the naked quad and quint (level 4): search order and level order differ.
    // After a single, a cell can only have run out of candidates among the
    // placed cell's peers, which Assign looks at; when only empty cells hold
    // candidates, those peers are empty cells too.
    bool placedLast = false;
    for (;;) {
        // An empty cell without candidates, found in a few word operations.
        if (placedLast && onlyOpenHold_ ? peerEmptied_ : HasDeadCell()) {
            Contradiction = true;
            return false;
        }
        placedLast = true;
        if (HiddenSingle()) {
            RaiseDifficulty(1);
            if (--cellsToSolve == 0) return true;
            continue;
        }
        if (NakedSingle()) {
            RaiseDifficulty(2);
            if (--cellsToSolve == 0) return true;
            continue;
        }
        placedLast = false;
        // The subsets found in a unit hold until its candidates change.
        const std::uint32_t touched = Candidates.TakeTouchedUnits();
        for (auto& units : subsetsKnown_) units &= ~touched;
        if (Intersection()) {
            RaiseDifficulty(3);
            continue;
        }
        // No single is left here.
        if (FindSubset(true, 2, onlyOpenHold_) || FindSubset(true, 3, onlyOpenHold_)) {
            RaiseDifficulty(4);
        } else if (FindSubset(false, 2, onlyOpenHold_)) {
            RaiseDifficulty(5);
        } else if (FindSubset(true, 4, onlyOpenHold_)) {
            RaiseDifficulty(4);
        } else if (FindSubset(false, 3, onlyOpenHold_)) {
            RaiseDifficulty(5);
        } else if (FindSubset(true, 5, onlyOpenHold_)) {
            RaiseDifficulty(4);
        } else {
            return false;
        }
    }
}

}  // namespace cluemill
