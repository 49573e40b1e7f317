// SPDX-License-Identifier: MIT
// The candidate bookkeeping of the logic pass: Assign and the single-candidate
// removals.

#include <gtest/gtest.h>

#include "solver/HandGrids.h"

namespace cluemill {
namespace {

using namespace cluemill::testing;

TEST(RemoveCandidateTest, ClearsOnlyASetCandidateAndReportsIt) {
    for (const bool viaRemoved : {false, true}) {
        for (const CandidateMask start :
             {Digits({1, 6, 9}), Digits({1, 9}), Digits({6}), CandidateMask{0}}) {
            SCOPED_TRACE(MaskText(start) + (viaRemoved ? " CandidateRemoved" : " RemoveCandidate"));
            Solver s = OpenGrid();
            s.Candidates.Set(40, start);
            const Masks expected = Without(s.Candidates.Cells(), DigitBit(6), {40});
            const bool removed = viaRemoved ? s.CandidateRemoved(6, 40) : s.RemoveCandidate(6, 40);
            EXPECT_EQ(removed, (start & DigitBit(6)) != 0);
            EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        }
    }
}

TEST(AssignTest, ClearsTheCellAndTheDigitFromItsPeersOnly) {
    const int cases[][2] = {{1, 0}, {5, 40}, {9, 80}, {4, 8}};  // digit, cell
    for (const auto& [digit, cell] : cases) {
        SCOPED_TRACE(cell);
        Solver s = OpenGrid();
        s.Candidates.Set(cell, Digits({2, 3}));  // the cell's own candidates go, digit or not
        s.Board[(cell + 41) % kCells] = 3;       // Board is not written
        const CellValues boardBefore = s.Board;
        const Masks expected = AfterPlacing(s.Candidates.Cells(), digit, cell);

        s.Assign(digit, cell);

        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

}  // namespace
}  // namespace cluemill
