// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

// The cell of `holders` in unit u if there is exactly one, or -1.
int LoneCellInUnit(const CellSet& holders, int u) {
    const CellSet inUnit = holders & kUnitSets[u];
    return inUnit.Count() == 1 ? inUnit.First() : -1;
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
