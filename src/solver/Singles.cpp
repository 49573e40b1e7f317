// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

constexpr std::uint32_t kRowBits = 0x1FF;

constexpr std::uint32_t BoxBits(int stack) {
    return (7u << (3 * stack)) | (7u << (9 + 3 * stack)) | (7u << (18 + 3 * stack));
}

// The first unit, in scan order, in which the cells of `holders` number
// exactly one; that cell, or -1.
int LoneCellInSomeUnit(const CellSet& holders) {
    for (int b = 0; b < 3; ++b) {
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t row = (holders.Band[b] >> (9 * k)) & kRowBits;
            if (row != 0 && (row & (row - 1)) == 0) return (3 * b + k) * 9 + std::countr_zero(row);
        }
    }
    // Columns: count each column's holders over the nine rows, bit-parallel.
    std::uint32_t once = 0;
    std::uint32_t twice = 0;
    for (int b = 0; b < 3; ++b) {
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t row = (holders.Band[b] >> (9 * k)) & kRowBits;
            twice |= once & row;
            once |= row;
        }
    }
    const std::uint32_t columns = once & ~twice;
    if (columns != 0) {
        const int column = std::countr_zero(columns);
        for (int row = 0; row < 9; ++row) {
            if ((holders.Band[row / 3] >> (9 * (row % 3) + column)) & 1u) return row * 9 + column;
        }
    }
    for (int b = 0; b < 3; ++b) {
        for (int stack = 0; stack < 3; ++stack) {
            const std::uint32_t box = holders.Band[b] & BoxBits(stack);
            if (box != 0 && (box & (box - 1)) == 0) return b * 27 + std::countr_zero(box);
        }
    }
    return -1;
}

}  // namespace

bool Solver::NakedCell() const {
    bool dead = false;
    for (int cell = 0; cell < kCells; ++cell) dead |= (Board[cell] == 0) & (Candidates[cell] == 0);
    return dead;
}

bool Solver::HiddenSingle() {
    // Digit-major: the lowest digit wins, and for one digit rows come before
    // columns and columns before boxes.
    for (int digit = 1; digit <= 9; ++digit) {
        const int cell = LoneCellInSomeUnit(Candidates.CellsOf(digit));
        if (cell >= 0) {
            Place(digit, cell);
            return true;
        }
    }
    return false;
}

bool Solver::NakedSingle() {
    // Cells with exactly one candidate, all at once from the nine digit sets.
    CellSet once;
    CellSet twice;
    for (int digit = 1; digit <= 9; ++digit) {
        const CellSet& holders = Candidates.CellsOf(digit);
        twice = twice | (once & holders);
        once = once | holders;
    }
    int found = -1;
    once.Without(twice).ForEach([&](int cell) {
        if (found < 0 && Board[cell] == 0) found = cell;
    });
    if (found < 0) return false;
    Place(LowestDigit(Candidates[found]), found);
    return true;
}

}  // namespace cluemill
