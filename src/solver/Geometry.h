// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace cluemill {

// Cells are numbered 0 to 80 row by row. Units are scanned rows 0 to 8, then
// columns 0 to 8, then boxes band by band; that order fixes every tie-break.
inline constexpr int kCells = 81;
inline constexpr int kUnits = 27;

// A candidate set: bit d - 1 stands for digit d.
using CandidateMask = std::uint16_t;
inline constexpr CandidateMask kAllDigits = 0x1FF;

constexpr CandidateMask DigitBit(int digit) {
    return static_cast<CandidateMask>(1u << (digit - 1));
}
constexpr int CountDigits(unsigned mask) {
    return std::popcount(mask);
}
// The lowest digit of a non-empty mask.
constexpr int LowestDigit(unsigned mask) {
    return std::countr_zero(mask) + 1;
}

constexpr int RowOf(int cell) {
    return cell / 9;
}
constexpr int ColumnOf(int cell) {
    return cell % 9;
}
constexpr int BoxLeftTopOf(int cell) {
    return RowOf(cell) / 3 * 27 + ColumnOf(cell) / 3 * 3;
}
// Box number 0 to 8 in scan order (band outer, stack inner).
constexpr int BoxOf(int cell) {
    return RowOf(cell) / 3 * 3 + ColumnOf(cell) / 3;
}
constexpr int BoxLeftTopOfBox(int box) {
    return box / 3 * 27 + box % 3 * 3;
}

enum class UnitKind { Row = 1, Column = 2, Box = 3 };

struct Unit {
    UnitKind Kind;
    std::array<std::uint8_t, 9> Cells;  // in scan order; a box reads row by row
};

namespace detail {
constexpr std::array<Unit, kUnits> MakeUnits() {
    std::array<Unit, kUnits> units{};
    for (int i = 0; i < 9; ++i) {
        units[i].Kind = UnitKind::Row;
        units[9 + i].Kind = UnitKind::Column;
        units[18 + i].Kind = UnitKind::Box;
        for (int j = 0; j < 9; ++j) {
            units[i].Cells[j] = static_cast<std::uint8_t>(i * 9 + j);
            units[9 + i].Cells[j] = static_cast<std::uint8_t>(i + 9 * j);
            units[18 + i].Cells[j] =
                static_cast<std::uint8_t>(BoxLeftTopOfBox(i) + 9 * (j / 3) + j % 3);
        }
    }
    return units;
}

constexpr std::array<std::array<std::uint8_t, 20>, kCells> MakePeers() {
    std::array<std::array<std::uint8_t, 20>, kCells> peers{};
    for (int c = 0; c < kCells; ++c) {
        int n = 0;
        for (int p = 0; p < kCells; ++p) {
            if (p != c &&
                (RowOf(p) == RowOf(c) || ColumnOf(p) == ColumnOf(c) || BoxOf(p) == BoxOf(c))) {
                peers[c][n++] = static_cast<std::uint8_t>(p);
            }
        }
    }
    return peers;
}
}  // namespace detail

inline constexpr std::array<Unit, kUnits> kUnitTable = detail::MakeUnits();
// The three units of each cell, as unit numbers: its row, 9 + its column,
// 18 + its box.
inline constexpr std::array<std::array<std::uint8_t, 3>, kCells> kCellUnits = [] {
    std::array<std::array<std::uint8_t, 3>, kCells> units{};
    for (int c = 0; c < kCells; ++c) {
        units[c] = {static_cast<std::uint8_t>(RowOf(c)), static_cast<std::uint8_t>(9 + ColumnOf(c)),
                    static_cast<std::uint8_t>(18 + BoxOf(c))};
    }
    return units;
}();
inline constexpr std::array<std::array<std::uint8_t, 20>, kCells> kPeers = detail::MakePeers();

constexpr bool ArePeers(int a, int b) {
    return a != b && (RowOf(a) == RowOf(b) || ColumnOf(a) == ColumnOf(b) || BoxOf(a) == BoxOf(b));
}

}  // namespace cluemill
