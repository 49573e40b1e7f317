// SPDX-License-Identifier: MIT
// The fate of one candidate of a run: solved, graded, accepted or rejected
// under the user's options.
#include "generator/Generator.h"
#include "solver/SolutionCounter.h"

namespace cluemill {

bool Generator::IsSudMinimal() {
    if (!settings_->Minimal) return true;
    const CellValues savedPuzzle = Solver.Puzzle;
    const CellValues savedBoard = Solver.Board;
    observer_->Working(RunStage::MinimalCheck);
    bool minimal = true;
    for (int cell = 0; cell < kCells && minimal; ++cell) {
        if (savedPuzzle[cell] <= 0) continue;
        Solver.Puzzle = savedPuzzle;
        Solver.Puzzle[cell] = 0;
        minimal = !Solver.UniqueSud(Switches());
    }
    Solver.Puzzle = savedPuzzle;
    Solver.Board = savedBoard;
    return minimal;
}

bool Generator::UniqueModSud() {
    const bool checkMinimal = settings_->Minimal;
    const bool expand = settings_->ExpandLevel > 0;
    // Accepts with the counter raised; the logic pass alone solved it when
    // byLogic is set.
    const auto accept = [this](PatternCounter counter, bool byLogic) {
        lastCounter_ = counter;
        lastByLogic_ = byLogic;
        if (byLogic) Solver.Solution = Solver.Board;
        return true;
    };

    int open = Solver.SetUpGivens();
    Solver.Difficulty = 0;
    if (Solver.PreSolve(open)) {
        if (!checkMinimal) return accept(PatternCounter::NotExpanded, true);
        const int difficulty = Solver.Difficulty;
        if (!IsSudMinimal()) return false;
        Solver.Difficulty = difficulty;
        return accept(PatternCounter::Minimal, true);
    }
    if (Solver.Contradiction) return false;

    // The search on the state the logic pass left. None or one solution does
    // not depend on the search order, so the fast counter decides them; the
    // first of several solutions does, and only an expansion uses it.
    const int last = Solver.ListEmptyCells();
    int solutions = CountSolutions(Solver.Board, Solver.Candidates, Solver.Solution);
    if (solutions == 2) {
        if (!expand) return false;
        solutions = Solver.Search(last);
    }
    if (solutions == 0) return false;
    Solver.Board = Solver.Solution;

    if (solutions == 1) {
        if (!settings_->Limit) {
            if (checkMinimal && !IsSudMinimal()) return false;
            Solver.Difficulty = 6;
            return accept(checkMinimal ? PatternCounter::Minimal : PatternCounter::NotExpanded,
                          false);
        }
        if (checkMinimal || !expand || !ModifyTask()) return false;
        Solver.Puzzle = ExpandedPuzzle;
        return accept(PatternCounter::Expanded, false);
    }
    if (!ModifyTask()) return false;
    const CellValues candidate = Solver.Puzzle;
    Solver.Puzzle = ExpandedPuzzle;
    if (checkMinimal) {
        const int difficulty = Solver.Difficulty;
        // A rejected expansion takes its added givens with it: the run goes
        // on filling the pattern's own cells.
        if (!IsSudMinimal()) {
            Solver.Puzzle = candidate;
            return false;
        }
        Solver.Difficulty = difficulty;
    }
    return accept(PatternCounter::Expanded, false);
}

}  // namespace cluemill
