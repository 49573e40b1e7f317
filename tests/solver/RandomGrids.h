// SPDX-License-Identifier: MIT
// Random puzzles for the comparisons with the reference implementations:
// fillings of cell lists that break no rule, solved grids, minimal puzzles.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "solver/ReferenceSolver.h"
#include "solver/Solver.h"

namespace cluemill::testing {

inline bool Fits(const CellValues& grid, int cell, int digit) {
    for (const int peer : kPeers[cell]) {
        if (grid[peer] == digit) return false;
    }
    return true;
}

// Fills the cells in the given order by a depth-first enumeration with the
// digits shuffled at every step, as the generator does; no row, column or box
// gets a digit twice. False if the enumeration gave up (node limit) or found
// no complete filling.
inline bool FillCells(CellValues& grid, const std::vector<int>& cells, std::size_t depth,
                      std::mt19937& rng, int& nodesLeft) {
    if (depth == cells.size()) return true;
    if (--nodesLeft < 0) return false;
    std::array<int, 9> digits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::shuffle(digits.begin(), digits.end(), rng);
    const int cell = cells[depth];
    for (const int d : digits) {
        if (!Fits(grid, cell, d)) continue;
        grid[cell] = static_cast<std::int8_t>(d);
        if (FillCells(grid, cells, depth + 1, rng, nodesLeft)) return true;
    }
    grid[cell] = 0;
    return false;
}

inline std::vector<int> ShuffledCells(std::mt19937& rng) {
    std::vector<int> cells(kCells);
    for (int i = 0; i < kCells; ++i) cells[i] = i;
    std::shuffle(cells.begin(), cells.end(), rng);
    return cells;
}

inline CellValues RandomSolvedGrid(std::mt19937& rng) {
    std::vector<int> cells(kCells);
    for (int i = 0; i < kCells; ++i) cells[i] = i;
    for (;;) {
        CellValues grid{};
        int nodes = 100'000;
        if (FillCells(grid, cells, 0, rng, nodes)) return grid;
    }
}

// The reference solver's answer, within a step budget.
inline reference::Result ReferenceSolve(const CellValues& puzzle, long long stepBudget) {
    std::array<std::int16_t, kCells> wide{};
    for (int i = 0; i < kCells; ++i) wide[i] = puzzle[i];
    return reference::UniqueSud(wide, stepBudget);
}

inline bool HasOneSolution(const CellValues& puzzle, long long stepBudget) {
    const reference::Result r = ReferenceSolve(puzzle, stepBudget);
    return r.Completed && r.Count == 1;
}

// Empties the givens in the given order as long as the puzzle stays unique:
// every given left is then needed.
inline CellValues MinimalPuzzle(CellValues puzzle, const std::vector<int>& order,
                                long long stepBudget) {
    for (const int cell : order) {
        if (puzzle[cell] == 0) continue;
        const std::int8_t kept = puzzle[cell];
        puzzle[cell] = 0;
        if (!HasOneSolution(puzzle, stepBudget)) puzzle[cell] = kept;
    }
    return puzzle;
}

}  // namespace cluemill::testing
