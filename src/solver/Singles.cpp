// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

constexpr bool IsLone(std::uint32_t bits) {
    return std::popcount(bits) == 1;
}

// Per row and per box (0 to 8): its band, and where it lies in the band word.
struct BandPart {
    std::uint8_t Band;
    std::uint8_t Shift;  // rows: the row's first bit
    std::uint32_t Mask;  // boxes: the box's bits
};

constexpr std::array<BandPart, 9> kRowParts = [] {
    std::array<BandPart, 9> parts{};
    for (int i = 0; i < 9; ++i) {
        parts[i] = {static_cast<std::uint8_t>(i / 3), static_cast<std::uint8_t>(9 * (i % 3)), 0};
    }
    return parts;
}();

constexpr std::array<BandPart, 9> kBoxParts = [] {
    std::array<BandPart, 9> parts{};
    for (int i = 0; i < 9; ++i) {
        parts[i] = {static_cast<std::uint8_t>(i / 3), 0,
                    (7u | 7u << 9 | 7u << 18) << (3 * (i % 3))};
    }
    return parts;
}();

// The cell of `holders` in row `row` if there is exactly one, or -1.
int LoneCellInRow(const CellSet& holders, int row) {
    const BandPart& part = kRowParts[row];
    const std::uint32_t bits = (holders.Band[part.Band] >> part.Shift) & 0x1FF;
    return IsLone(bits) ? row * 9 + std::countr_zero(bits) : -1;
}

// The same for a column. Its cells in the three bands are folded into one
// word, bit 9 * r + b for the cell in row 3 * b + r.
int LoneCellInColumn(const CellSet& holders, int column) {
    constexpr std::uint32_t kColumn = 1u | 1u << 9 | 1u << 18;
    const std::uint32_t bits = ((holders.Band[0] >> column) & kColumn) |
                               (((holders.Band[1] >> column) & kColumn) << 1) |
                               (((holders.Band[2] >> column) & kColumn) << 2);
    if (!IsLone(bits)) return -1;
    const int at = std::countr_zero(bits);
    return (at % 9 * 3 + at / 9) * 9 + column;
}

// The same for a box (0 to 8 in scan order).
int LoneCellInBox(const CellSet& holders, int box) {
    const BandPart& part = kBoxParts[box];
    const std::uint32_t bits = holders.Band[part.Band] & part.Mask;
    return IsLone(bits) ? part.Band * 27 + std::countr_zero(bits) : -1;
}

}  // namespace

bool Solver::HiddenSingle() {
    // Digit-major: the lowest digit wins, and for one digit rows come before
    // columns and columns before boxes. A unit where a digit's candidates did
    // not change since it was last found without a lone cell is passed over.
    for (unsigned digits = Candidates.ChangedDigits(); digits != 0; digits &= digits - 1) {
        const int digit = LowestDigit(digits);
        const std::uint32_t changed = Candidates.ChangedUnits(digit);
        const CellSet& holders = Candidates.CellsOf(digit);
        int cell = -1;
        int u = 0;
        for (std::uint32_t rows = changed & 0x1FF; rows != 0; rows &= rows - 1) {
            u = std::countr_zero(rows);
            cell = LoneCellInRow(holders, u);
            if (cell >= 0) break;
        }
        if (cell < 0) {
            for (std::uint32_t columns = (changed >> 9) & 0x1FF; columns != 0;
                 columns &= columns - 1) {
                u = std::countr_zero(columns);
                cell = LoneCellInColumn(holders, u);
                if (cell >= 0) break;
            }
            u += 9;
        }
        if (cell < 0) {
            for (std::uint32_t boxes = changed >> 18; boxes != 0; boxes &= boxes - 1) {
                u = std::countr_zero(boxes);
                cell = LoneCellInBox(holders, u);
                if (cell >= 0) break;
            }
            u += 18;
        }
        if (cell >= 0) {
            // The units before the one found were examined; it and the ones
            // after it were not.
            Candidates.Examined(digit, changed & ((1u << u) - 1));
            Place(digit, cell);
            return true;
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
