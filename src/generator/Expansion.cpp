// SPDX-License-Identifier: MIT
// Rescuing a candidate by adding one, two or three givens taken from its
// solution: every single open cell first, then every pair, then every triple,
// in a shuffled order; the first addition that makes the puzzle unique wins.
#include <initializer_list>
#include <utility>
#include <vector>

#include "generator/Generator.h"

namespace cluemill {

bool Generator::ModifyTask() {
    const CellValues savedPuzzle = Solver.Puzzle;
    const CellValues savedBoard = Solver.Board;
    ExpandedPuzzle = savedPuzzle;
    std::array<int, kCells> openCells{};
    std::array<int, kCells + 1> order{};  // positions 1 to n, as the shuffle counts them
    int n = 0;
    for (int cell = 0; cell < kCells; ++cell) {
        if (savedPuzzle[cell] != 0) continue;
        openCells[n] = cell;
        ++n;
        order[n] = n;
    }
    random_.Randomize();
    for (int swap = 0; swap < 100 && n > 0; ++swap) {
        const int a = 1 + static_cast<int>(random_.Random() * n);
        const int b = 1 + static_cast<int>(random_.Random() * n);
        std::swap(order[a], order[b]);
    }
    auto restore = [&] {
        Solver.Puzzle = savedPuzzle;
        Solver.Board = savedBoard;
    };
    // One trial with the given positions; 1 accepted, -1 halted, 0 go on.
    auto trial = [&](std::initializer_list<int> positions) {
        Solver.Puzzle = savedPuzzle;
        for (const int k : positions) {
            const int cell = openCells[order[k] - 1];
            Solver.Puzzle[cell] = savedBoard[cell];
        }
        if (Solver.UniqueSud(Switches())) {
            for (const int k : positions) {
                const int cell = openCells[order[k] - 1];
                ExpandedPuzzle[cell] = Solver.Puzzle[cell];
            }
            restore();
            return 1;
        }
        if (observer_->Poll()) {
            restore();
            return -1;
        }
        return 0;
    };

    observer_->Working(RunStage::ExpansionLevel1);
    for (int k1 = 1; k1 <= n; ++k1) {
        if (const int r = trial({k1})) return r > 0;
    }
    if (settings_->ExpandLevel == 1) {
        restore();
        return false;
    }
    observer_->Working(RunStage::ExpansionLevel2);
    for (int k1 = 1; k1 <= n - 1; ++k1) {
        for (int k2 = k1 + 1; k2 <= n; ++k2) {
            if (const int r = trial({k1, k2})) return r > 0;
        }
    }
    if (settings_->ExpandLevel == 2) {
        restore();
        return false;
    }
    observer_->Working(RunStage::ExpansionLevel3);
    for (int k1 = 1; k1 <= n - 2; ++k1) {
        for (int k2 = k1 + 1; k2 <= n - 1; ++k2) {
            for (int k3 = k2 + 1; k3 <= n; ++k3) {
                if (const int r = trial({k1, k2, k3})) return r > 0;
            }
        }
    }
    restore();
    observer_->Working(RunStage::ExpansionFailed);
    return false;
}

}  // namespace cluemill
