// SPDX-License-Identifier: MIT
#include <bit>

#include "solver/Solver.h"

namespace cluemill {

namespace {

// Records a peer of entry's cell in one of its masks. A peer in the cell's
// row (or column) and box is recorded in the row (or column) mask only, so no
// cell is ever in two masks.
void RecordPeer(UndoEntry& entry, int peer) {
    const int cell = entry.Cell;
    if (RowOf(peer) == RowOf(cell)) {
        entry.RowMask |= static_cast<std::uint16_t>(1u << ColumnOf(peer));
    } else if (ColumnOf(peer) == ColumnOf(cell)) {
        entry.ColumnMask |= static_cast<std::uint16_t>(1u << RowOf(peer));
    } else {
        const int d = peer - BoxLeftTopOf(cell);
        entry.BoxMask |= static_cast<std::uint16_t>(1u << (d / 9 * 3 + d % 9));
    }
}

// Calls visit with every peer entry records.
template <class Visit>
void ForEachRecorded(const UndoEntry& entry, Visit visit) {
    const int cell = entry.Cell;
    const int row = RowOf(cell);
    const int column = ColumnOf(cell);
    const int boxLeftTop = BoxLeftTopOf(cell);
    for (unsigned m = entry.RowMask; m != 0; m &= m - 1) visit(row * 9 + std::countr_zero(m));
    for (unsigned m = entry.ColumnMask; m != 0; m &= m - 1) visit(column + 9 * std::countr_zero(m));
    for (unsigned m = entry.BoxMask; m != 0; m &= m - 1) {
        const int b = std::countr_zero(m);
        visit(boxLeftTop + 9 * (b / 3) + b % 3);
    }
}

}  // namespace

void Solver::Assign(int candidate, int cell) {
    Candidates.Set(cell, 0);
    Candidates.ClearDigit(candidate, kPeerSets[cell], peerEmptied_);
    // The digit has no candidate left in the cell's own units, so none of
    // them can hold a hidden single of it: a later scan need not look.
    Candidates.Examined(candidate, UnitsOf(cell));
}

bool Solver::RemoveCandidate(int candidate, int cell) {
    return Candidates.Clear(cell, candidate);
}

bool Solver::SearchAssign(int cell, int candidate) {
    searchOpen_.Erase(cell);
    UndoEntry& entry = Trail[++UndoTop];
    entry = UndoEntry{static_cast<std::int8_t>(cell), static_cast<std::int8_t>(candidate), 0, 0, 0};
    bool emptied = false;
    const CellSet hit = Candidates.ClearDigit(candidate, kPeerSets[cell] & searchOpen_, emptied);
    bool alive = true;
    hit.ForEach([&](int c) {
        RecordPeer(entry, c);
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
    ForEachRecorded(entry, [&](int c) {
        Candidates.Add(c, digit);
        NumCandidates[c] = static_cast<std::int8_t>(CountDigits(Candidates[c]));
    });
    --UndoTop;
    searchOpen_ = searchOpen_ | CellSet::Of(cell);
}

}  // namespace cluemill
