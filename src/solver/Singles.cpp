// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

constexpr std::uint32_t kRowBits = 0x1FF;

constexpr std::uint32_t BoxBits(int stack) {
    return (7u << (3 * stack)) | (7u << (9 + 3 * stack)) | (7u << (18 + 3 * stack));
}

constexpr std::uint32_t kColumnBits = 1u | (1u << 9) | (1u << 18);

// The cell of `holders` in unit u (scan order) if there is exactly one, or -1.
int LoneCellInUnit(const CellSet& holders, int u) {
    if (u < 9) {
        const std::uint32_t row = (holders.Band[u / 3] >> (9 * (u % 3))) & kRowBits;
        return row != 0 && (row & (row - 1)) == 0 ? u * 9 + std::countr_zero(row) : -1;
    }
    if (u < 18) {
        const int column = u - 9;
        const std::uint32_t bits = kColumnBits << column;
        const std::uint32_t b0 = holders.Band[0] & bits;
        const std::uint32_t b1 = holders.Band[1] & bits;
        const std::uint32_t b2 = holders.Band[2] & bits;
        if (std::popcount(b0) + std::popcount(b1) + std::popcount(b2) != 1) return -1;
        const int band = b0 != 0 ? 0 : b1 != 0 ? 1 : 2;
        return band * 27 + std::countr_zero(b0 | b1 | b2);
    }
    const int box = u - 18;
    const std::uint32_t bits = holders.Band[box / 3] & BoxBits(box % 3);
    return bits != 0 && (bits & (bits - 1)) == 0 ? box / 3 * 27 + std::countr_zero(bits) : -1;
}

}  // namespace

bool Solver::NakedCell() const {
    bool dead = false;
    for (int cell = 0; cell < kCells; ++cell) dead |= (Board[cell] == 0) & (Candidates[cell] == 0);
    return dead;
}

bool Solver::HiddenSingle() {
    // Digit-major: the lowest digit wins, and for one digit rows come before
    // columns and columns before boxes. A unit where a digit's candidates did
    // not change since it was last found without a lone cell is passed over.
    for (int digit = 1; digit <= 9; ++digit) {
        const std::uint32_t changed = Candidates.ChangedUnits(digit);
        const CellSet& holders = Candidates.CellsOf(digit);
        for (std::uint32_t units = changed; units != 0; units &= units - 1) {
            const int u = std::countr_zero(units);
            const int cell = LoneCellInUnit(holders, u);
            if (cell >= 0) {
                Candidates.Examined(digit, changed & ((1u << u) - 1));
                Place(digit, cell);
                return true;
            }
        }
        Candidates.Examined(digit, changed);
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
