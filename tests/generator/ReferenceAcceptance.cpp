// SPDX-License-Identifier: MIT
#include "generator/ReferenceAcceptance.h"

namespace cluemill::reference {
namespace {

// UniqueSud as a generation run calls it: with "Limited to Very Hard" ticked
// the search is switched off, so only a puzzle that the logic pass finishes
// is accepted. completed turns false when the search runs out of budget.
bool RunUniqueSud(const std::array<std::int16_t, 81>& puzzle, bool checkLimit,
                  const SolveFunction& solve, bool& completed) {
    const Result r = solve(puzzle);
    if (!r.Completed) completed = false;
    if (!r.Unique) return false;
    return !checkLimit || r.Difficulty <= 5;
}

// IsSudMinimal with "Check Minimal" ticked: no given, taken away in cell
// order, leaves a puzzle that UniqueSud still accepts.
bool IsSudMinimal(const std::array<std::int16_t, 81>& puzzle, bool checkLimit,
                  const SolveFunction& solve, bool& completed) {
    for (int k = 0; k <= 80; ++k) {
        if (puzzle[k] <= 0) continue;
        std::array<std::int16_t, 81> without = puzzle;
        without[k] = 0;
        if (RunUniqueSud(without, checkLimit, solve, completed)) return false;
    }
    return true;
}

}  // namespace

Acceptance UniqueModSud(const std::array<std::int16_t, 81>& puzzle, bool checkMinimal,
                        bool checkLimit, const SolveFunction& solve) {
    Acceptance result;
    // The givens, the logic pass and, where it gets stuck, the counting
    // search from the state it left: what UniqueSud does.
    const Result solved = solve(puzzle);
    if (!solved.Completed) {
        result.Completed = false;
        return result;
    }
    auto accept = [&](int difficulty) {
        result.Accepted = true;
        result.Difficulty = difficulty;
        result.Counter = checkMinimal ? "Minimal" : "NotExpanded";
        result.Solution = solved.Solution;
        return result;
    };

    // The logic pass completed the grid.
    if (solved.Unique && solved.Difficulty <= 5) {
        if (checkMinimal && !IsSudMinimal(puzzle, checkLimit, solve, result.Completed))
            return result;
        return accept(solved.Difficulty);
    }
    // A dead end, no solution, or several solutions and no expansion.
    if (!solved.Unique) return result;
    // Exactly one solution, which needs the search: "Others", never under
    // the limit.
    if (checkLimit) return result;
    if (checkMinimal && !IsSudMinimal(puzzle, checkLimit, solve, result.Completed)) return result;
    return accept(6);
}

}  // namespace cluemill::reference
