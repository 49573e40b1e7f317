// SPDX-License-Identifier: MIT
#include <bit>

#include "solver/Solver.h"

namespace cluemill {

int Solver::CandidateList(int cell, int k) const {
    unsigned mask = Candidates[cell];
    for (int i = 1; i < k && mask != 0; ++i) mask &= mask - 1;
    return mask == 0 ? 0 : LowestDigit(mask);
}

void Solver::Assign(int candidate, int cell) {
    Candidates.Set(cell, 0);
    Candidates.ClearDigit(candidate, kPeerSets[cell]);
    // The digit has no candidate left in the cell's own units, so none of
    // them can hold a hidden single of it: a later scan need not look.
    Candidates.Examined(candidate, UnitsOf(cell));
}

bool Solver::RemoveCandidate(int candidate, int cell) {
    return Candidates.Clear(cell, candidate);
}

void Solver::RemoveCandidates(int cell, int candidate, int ptr) {
    UndoEntry& entry = Trail[++UndoTop];
    entry = UndoEntry{static_cast<std::int8_t>(cell), static_cast<std::int8_t>(candidate), 0, 0, 0};
    const CandidateMask bit = DigitBit(candidate);
    const int row = RowOf(cell);
    const int column = ColumnOf(cell);
    const int box = BoxOf(cell);
    const int boxLeftTop = BoxLeftTopOf(cell);
    for (int i = 0; i <= ptr; ++i) {
        const int c = EmptyCells[i];
        if ((Candidates[c] & bit) == 0) continue;
        // A peer in the cell's row (or column) and box is recorded in the row
        // (or column) mask only, so no cell is ever in two masks.
        if (RowOf(c) == row) {
            entry.RowMask |= static_cast<std::uint16_t>(1u << ColumnOf(c));
        } else if (ColumnOf(c) == column) {
            entry.ColumnMask |= static_cast<std::uint16_t>(1u << RowOf(c));
        } else if (BoxOf(c) == box) {
            const int d = c - boxLeftTop;
            entry.BoxMask |= static_cast<std::uint16_t>(1u << (d / 9 * 3 + d % 9));
        } else {
            continue;
        }
        Candidates.Clear(c, candidate);
        NumCandidates[c] = static_cast<std::int8_t>(CountDigits(Candidates[c]));
    }
}

void Solver::Undo(int ptr) {
    const UndoEntry& entry = Trail[UndoTop];
    const int cell = entry.Cell;
    const int digit = entry.Candidate;
    Board[cell] = 0;
    const int row = RowOf(cell);
    const int column = ColumnOf(cell);
    const int boxLeftTop = BoxLeftTopOf(cell);
    for (unsigned m = entry.RowMask; m != 0; m &= m - 1) {
        Candidates.Add(row * 9 + std::countr_zero(m), digit);
    }
    for (unsigned m = entry.ColumnMask; m != 0; m &= m - 1) {
        Candidates.Add(column + 9 * std::countr_zero(m), digit);
    }
    for (unsigned m = entry.BoxMask; m != 0; m &= m - 1) {
        const int b = std::countr_zero(m);
        Candidates.Add(boxLeftTop + 9 * (b / 3) + b % 3, digit);
    }
    --UndoTop;
    for (int i = 0; i <= ptr; ++i) {
        const int c = EmptyCells[i];
        NumCandidates[c] = static_cast<std::int8_t>(CountDigits(Candidates[c]));
    }
}

bool Solver::SearchAssign(int cell, int candidate) {
    searchOpen_.Erase(cell);
    UndoEntry& entry = Trail[++UndoTop];
    entry = UndoEntry{static_cast<std::int8_t>(cell), static_cast<std::int8_t>(candidate), 0, 0, 0};
    const CellSet hit = Candidates.ClearDigit(candidate, kPeerSets[cell] & searchOpen_);
    const int row = RowOf(cell);
    const int column = ColumnOf(cell);
    const int boxLeftTop = BoxLeftTopOf(cell);
    bool alive = true;
    hit.ForEach([&](int c) {
        // As in RemoveCandidates: a peer in the row (or column) and box is
        // recorded in the row (or column) mask only.
        if (RowOf(c) == row) {
            entry.RowMask |= static_cast<std::uint16_t>(1u << ColumnOf(c));
        } else if (ColumnOf(c) == column) {
            entry.ColumnMask |= static_cast<std::uint16_t>(1u << RowOf(c));
        } else {
            const int d = c - boxLeftTop;
            entry.BoxMask |= static_cast<std::uint16_t>(1u << (d / 9 * 3 + d % 9));
        }
        const int left = CountDigits(Candidates[c]);
        NumCandidates[c] = static_cast<std::int8_t>(left);
        alive &= left != 0;
    });
    return alive;
}

void Solver::SearchUndo() {
    const UndoEntry& entry = Trail[UndoTop];
    const int cell = entry.Cell;
    const int digit = entry.Candidate;
    Board[cell] = 0;
    const int row = RowOf(cell);
    const int column = ColumnOf(cell);
    const int boxLeftTop = BoxLeftTopOf(cell);
    const auto giveBack = [&](int c) {
        Candidates.Add(c, digit);
        NumCandidates[c] = static_cast<std::int8_t>(CountDigits(Candidates[c]));
    };
    for (unsigned m = entry.RowMask; m != 0; m &= m - 1) giveBack(row * 9 + std::countr_zero(m));
    for (unsigned m = entry.ColumnMask; m != 0; m &= m - 1) giveBack(column + 9 * std::countr_zero(m));
    for (unsigned m = entry.BoxMask; m != 0; m &= m - 1) {
        const int b = std::countr_zero(m);
        giveBack(boxLeftTop + 9 * (b / 3) + b % 3);
    }
    --UndoTop;
    searchOpen_ = searchOpen_ | CellSet::Of(cell);
}

}  // namespace cluemill
