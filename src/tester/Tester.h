// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "solver/Solver.h"

namespace cluemill {

// The seven outcomes of a puzzle's test.
enum class Verdict {
    InvalidGivens,     // two givens share a digit in a row, column or box
    Complete,          // no empty cell
    NoSolution,        // an empty cell without a candidate, or the search found none
    SeveralSolutions,  // the search found a second solution
    Unique,            // one solution, minimality not asked
    UniqueMinimal,     // one solution, and no given can go
    UniqueNotMinimal,  // one solution, and a given can go
};

// The message that shows a verdict, and its caption.
const char* VerdictText(Verdict verdict);
const char* VerdictCaption(Verdict verdict);

// The test of a puzzle for valid givens, its number of solutions (up to two)
// and, on request, minimality. It owns its solver.
class Tester {
  public:
    // What Test found: the verdict (one of the first four, or Unique), and
    // whether an empty cell had no candidate before any search (the test
    // then ends at once).
    struct Result {
        Verdict Outcome = Verdict::Unique;
        bool DeadCell = false;
    };

    // Tests the givens (1 to 9, 0 empty). With a unique solution, Solver.Board
    // holds it; after no or several solutions Board and Solution are all 0.
    Result Test(const CellValues& givens);
    // The first given in cell order without which the puzzle in Solver.Puzzle
    // (unique, solution in Solver.Board) still has one solution, or -1 when
    // every given is needed. between() runs after each given found needed;
    // display shows the solutions the search finds on the way (may be null).
    // Leaves Puzzle and Board as it found them.
    int FirstRedundantGiven(const SearchSwitches& switches, const std::function<void()>& between,
                            SolutionDisplay* display);

    cluemill::Solver Solver;
};

}  // namespace cluemill
