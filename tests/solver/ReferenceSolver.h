// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// A slow, literal second implementation of the logic solver and the
// solution-counting search, used only by tests to cross-check the production
// Solver. It keeps the solver state exactly as the original program laid it
// out (16-bit integers, a Boolean per cell and digit, candidate lists, an undo
// trail that grows by one entry per push) and follows every loop in its
// original order, without bit tricks or lookup tables, so that a difference
// between the two points at a fault in the fast one.
namespace cluemill::reference {

struct Result {
    bool Completed = true;  // false: the step budget ran out, nothing else valid
    bool Unique = false;    // UniqueSud's return value
    int Count = 0;          // 0 none (dead end or search found none), 1 unique, 2 several
    int Difficulty = 0;
    std::array<std::int16_t, 81> Board{}, Solution{};
    // The first solution the search found, kept when it found a second one
    // too (Solution is then all 0); all 0 when it found none.
    std::array<std::int16_t, 81> FirstSolution{};
    bool Contradiction = false;
};

// Sets up the givens of puzzle (1 to 9 a given, below 1 an empty cell), runs
// the logic pass and, if it gets stuck, the counting search, as UniqueSud does
// outside a generation run. The puzzle must have an empty cell and no
// conflicting givens; neither is checked. stepBudget bounds the number of
// turns of the search loop; when it is exceeded Completed is false.
Result UniqueSud(const std::array<std::int16_t, 81>& puzzle, long long stepBudget = 50'000'000);

}  // namespace cluemill::reference
