// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "solver/ReferenceSolver.h"

// A slow, literal second reading of the generator's acceptance of one
// candidate (UniqueModSud and IsSudMinimal) with "Don't expand, seek
// sequential" selected, built on the literal reference solver. Tests compare
// the production acceptance against it.
namespace cluemill::reference {

struct Acceptance {
    bool Completed = true;  // false: a search ran out of its step budget
    bool Accepted = false;
    int Difficulty = 0;                       // 1 to 6 when accepted, else 0
    std::string Counter = "-";                // "NotExpanded" or "Minimal" when accepted
    std::array<std::int16_t, 81> Solution{};  // when accepted
};

// Decides the candidate in puzzle (1 to 9 a given, 0 empty) as a generation
// run does with the given "Check Minimal" and "Limited to Very Hard" states.
// The candidate must have an empty cell and no conflicting givens; neither
// is checked. Every solve goes through solve, reference::UniqueSud unless a
// caller substitutes one that remembers its answers.
using SolveFunction = std::function<Result(const std::array<std::int16_t, 81>&)>;
Acceptance UniqueModSud(
    const std::array<std::int16_t, 81>& puzzle, bool checkMinimal, bool checkLimit,
    const SolveFunction& solve = [](const auto& p) { return UniqueSud(p); });

}  // namespace cluemill::reference
