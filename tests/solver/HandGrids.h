// SPDX-License-Identifier: MIT
// Candidate grids built by hand for the technique and bookkeeping tests, and
// a readable difference between two of them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "solver/Geometry.h"
#include "solver/Solver.h"

namespace cluemill::testing {

using Masks = std::array<CandidateMask, kCells>;
using CellList = std::vector<int>;

inline CandidateMask Digits(std::initializer_list<int> digits) {
    CandidateMask mask = 0;
    for (int d : digits) mask = static_cast<CandidateMask>(mask | DigitBit(d));
    return mask;
}

inline CellList Row(int row) {
    CellList cells;
    for (int i = 0; i < 9; ++i) cells.push_back(row * 9 + i);
    return cells;
}

inline CellList Column(int column) {
    CellList cells;
    for (int i = 0; i < 9; ++i) cells.push_back(column + 9 * i);
    return cells;
}

inline CellList Box(int boxLeftTop) {
    CellList cells;
    for (int i = 0; i < 9; ++i) cells.push_back(boxLeftTop + 9 * (i / 3) + i % 3);
    return cells;
}

inline bool Peers(int a, int b) {
    const bool sameBox = a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3;
    return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || sameBox);
}

// A grid with no values and every candidate still possible.
inline Solver OpenGrid() {
    Solver s;
    s.Candidates.Fill(kAllDigits);
    return s;
}

// The grid after clearing digits from cells.
inline Masks Without(Masks grid, CandidateMask digits, const CellList& cells) {
    for (int c : cells) grid[c] = static_cast<CandidateMask>(grid[c] & ~digits);
    return grid;
}

// The grid after placing digit in cell: the cell loses every candidate, its
// peers the digit.
inline Masks AfterPlacing(Masks grid, int digit, int cell) {
    for (int c = 0; c < kCells; ++c) {
        if (Peers(c, cell)) grid[c] = static_cast<CandidateMask>(grid[c] & ~DigitBit(digit));
    }
    grid[cell] = 0;
    return grid;
}

inline std::string MaskText(CandidateMask mask) {
    std::string text = "{";
    for (int d = 1; d <= 9; ++d) {
        if (mask & DigitBit(d)) text += static_cast<char>('0' + d);
    }
    return text + "}";
}

// Empty when the two grids agree; otherwise one line per differing cell.
inline std::string CandidateDiff(const Masks& expected, const Masks& actual) {
    std::string diff;
    for (int c = 0; c < kCells; ++c) {
        if (expected[c] != actual[c]) {
            diff += "cell " + std::to_string(c) + ": expected " + MaskText(expected[c]) + ", got " +
                    MaskText(actual[c]) + "\n";
        }
    }
    return diff;
}

}  // namespace cluemill::testing
