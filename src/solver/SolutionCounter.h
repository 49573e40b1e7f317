// SPDX-License-Identifier: MIT
#pragma once

#include "solver/Solver.h"

namespace cluemill {

// Counts the solutions of a position up to two, by any correct means and as
// fast as it can: the search order is its own, so it tells none, one or
// several, and the one solution when there is exactly one, but not which of
// several solutions comes first in the exact search.
//
// board holds the values placed so far (0 = empty); candidates the digits
// still possible in each empty cell, none of them a digit placed in a peer (as
// the logic pass leaves them). Values already placed must not conflict.
// Returns 0, 1 or 2; at 1, firstSolution holds the solution.
int CountSolutions(const CellValues& board, const CandidateGrid& candidates,
                   CellValues& firstSolution);
// The same, quicker, when the caller knows the empty cells of board (open),
// which are the only cells with candidates, and the digits placed in each
// unit (placed, units in scan order).
int CountSolutions(const CellValues& board, const CandidateGrid& candidates, const CellSet& open,
                   const std::array<CandidateMask, kUnits>& placed, CellValues& firstSolution);

}  // namespace cluemill
