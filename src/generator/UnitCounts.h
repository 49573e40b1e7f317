// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

#include "solver/Geometry.h"
#include "solver/Solver.h"

namespace cluemill {

// Per row, column and box, how often each value 0 to 9 occurs in a grid,
// kept up to date one cell change at a time. CountNum of a cell then takes
// three look-ups instead of 27 reads of the grid, with the same answer.
class UnitCounts {
  public:
    // Counts every cell of grid afresh (values 0 to 9).
    void Rebuild(const CellValues& grid) {
        for (auto* table : {&rows_, &columns_, &boxes_}) {
            for (auto& unit : *table) unit.fill(0);
        }
        rowDigits_.fill(0);
        columnDigits_.fill(0);
        boxDigits_.fill(0);
        for (int cell = 0; cell < kCells; ++cell) Add(cell, grid[cell], 1);
    }
    // The cell's value changes from `from` to `to`.
    void Change(int cell, int from, int to) {
        Add(cell, from, -1);
        Add(cell, to, 1);
    }
    // Main::CountNum for a cell holding digit d: the occurrences of d in the
    // row; if exactly 1, plus those in the column; if that makes exactly 2,
    // plus those in the box; otherwise 0.
    int CountNum(int cell, int d) const {
        int n = rows_[RowOf(cell)][d];
        if (n != 1) return 0;
        n += columns_[ColumnOf(cell)][d];
        if (n != 2) return 0;
        return n + boxes_[BoxOf(cell)][d];
    }
    // True when some digit 1 to 9 occurs nowhere in the cell's row, column
    // and box: an empty cell that could still take a digit.
    bool HasRoom(int cell) const {
        const unsigned taken =
            rowDigits_[RowOf(cell)] | columnDigits_[ColumnOf(cell)] | boxDigits_[BoxOf(cell)];
        return (~taken & 0x3FEu) != 0;
    }

  private:
    void Add(int cell, int value, int amount) {
        Count(rows_[RowOf(cell)], rowDigits_[RowOf(cell)], value, amount);
        Count(columns_[ColumnOf(cell)], columnDigits_[ColumnOf(cell)], value, amount);
        Count(boxes_[BoxOf(cell)], boxDigits_[BoxOf(cell)], value, amount);
    }
    static void Count(std::array<std::uint8_t, 10>& unit, std::uint16_t& digits, int value,
                      int amount) {
        unit[value] = static_cast<std::uint8_t>(unit[value] + amount);
        const auto bit = static_cast<std::uint16_t>(1u << value);
        digits = static_cast<std::uint16_t>(unit[value] != 0 ? digits | bit : digits & ~bit);
    }

    using Table = std::array<std::array<std::uint8_t, 10>, 9>;
    Table rows_{};
    Table columns_{};
    Table boxes_{};
    // Per unit, bit v set while value v occurs in it.
    using Digits = std::array<std::uint16_t, 9>;
    Digits rowDigits_{};
    Digits columnDigits_{};
    Digits boxDigits_{};
};

}  // namespace cluemill
