// SPDX-License-Identifier: MIT
// The candidate bookkeeping: Assign, the single-candidate removals, and the
// search's placement step RemoveCandidates with its undo trail.

#include <gtest/gtest.h>

#include <vector>

#include "solver/HandGrids.h"

namespace cluemill {
namespace {

using namespace cluemill::testing;

const CandidateMask kWithout5 = static_cast<CandidateMask>(kAllDigits & ~DigitBit(5));

// The search's view of cells: EmptyCells holds the given cells in this order,
// and each cell's count agrees with its candidates.
void ListCells(Solver& s, const std::vector<int>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        s.EmptyCells[i] = static_cast<std::int8_t>(cells[i]);
        s.NumCandidates[cells[i]] = static_cast<std::int8_t>(CountDigits(s.Candidates[cells[i]]));
    }
}

void ExpectEntry(const UndoEntry& e, int cell, int digit, int row, int column, int box) {
    EXPECT_EQ(e.Cell, cell);
    EXPECT_EQ(e.Candidate, digit);
    EXPECT_EQ(e.RowMask, row);
    EXPECT_EQ(e.ColumnMask, column);
    EXPECT_EQ(e.BoxMask, box);
}

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

TEST(RemoveCandidatesTest, RecordsEachRemovalInExactlyOneMask) {
    struct OnePeerCase {
        const char* Name;
        int Cell;
        int Listed;  // the only cell at positions 0 to Ptr
        CandidateMask ListedStart;
        int RowMask;
        int ColumnMask;
        int BoxMask;
    };
    const CandidateMask all = kAllDigits;
    const OnePeerCase cases[] = {
        {"row peer outside the box", 40, 36, all, 1, 0, 0},
        {"row peer in column 8 sets bit 256", 40, 44, all, 256, 0, 0},
        {"row peer inside the box goes to the row mask", 40, 41, all, 32, 0, 0},
        {"column peer outside the box", 40, 4, all, 0, 1, 0},
        {"column peer in row 8 sets bit 256", 40, 76, all, 0, 256, 0},
        {"column peer inside the box goes to the column mask", 40, 31, all, 0, 8, 0},
        {"box peer at the box's top-left", 40, 30, all, 0, 0, 1},
        {"box peer at the box's top-right", 40, 32, all, 0, 0, 4},
        {"box peer at the box's bottom-right sets bit 256", 40, 50, all, 0, 0, 256},
        {"box peer of cell 0", 0, 20, all, 0, 0, 256},
        {"box peer of cell 80", 80, 60, all, 0, 0, 1},
        {"box peer in the middle row of box 0", 2, 10, all, 0, 0, 16},
        {"peer that no longer holds the digit", 40, 36, kWithout5, 0, 0, 0},
        {"cell outside row, column and box", 40, 0, all, 0, 0, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Candidates.Set(tc.Listed, tc.ListedStart);
        ListCells(s, {tc.Listed});
        s.Board[tc.Cell] = 5;  // the caller writes the value first
        const CellValues boardBefore = s.Board;
        const Masks expected = (tc.RowMask | tc.ColumnMask | tc.BoxMask) != 0
                                   ? Without(s.Candidates.Cells(), DigitBit(5), {tc.Listed})
                                   : s.Candidates.Cells();

        s.RemoveCandidates(tc.Cell, 5, 0);

        ASSERT_EQ(s.UndoTop, 1);
        ExpectEntry(s.Trail[1], tc.Cell, 5, tc.RowMask, tc.ColumnMask, tc.BoxMask);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.NumCandidates[tc.Listed], CountDigits(expected[tc.Listed]));
        EXPECT_EQ(s.Board, boardBefore);
    }
}

TEST(RemoveCandidatesTest, OnlyPositionsUpToPtrLoseTheDigit) {
    Solver s = OpenGrid();
    // Positions 0 to 2 are below Ptr; the same kinds of peer sit above it.
    ListCells(s, {36, 4, 50, 44, 76, 30});
    s.RemoveCandidates(40, 5, 2);
    ExpectEntry(s.Trail[1], 40, 5, 1, 1, 256);
    EXPECT_EQ(CandidateDiff(Without(OpenGrid().Candidates.Cells(), DigitBit(5), {36, 4, 50}),
                            s.Candidates.Cells()),
              "");
    for (int c : {36, 4, 50}) EXPECT_EQ(s.NumCandidates[c], 8) << "cell " << c;
    for (int c : {44, 76, 30}) EXPECT_EQ(s.NumCandidates[c], 9) << "cell " << c;

    // Ptr -1: an entry with empty masks on top of the earlier ones.
    s.Trail[2] = UndoEntry{7, 7, 511, 511, 511};  // left over from a deeper search
    s.RemoveCandidates(41, 6, -1);
    ASSERT_EQ(s.UndoTop, 2);
    ExpectEntry(s.Trail[2], 41, 6, 0, 0, 0);
    ExpectEntry(s.Trail[1], 40, 5, 1, 1, 256);
    EXPECT_TRUE(s.HasCandidate(36, 6));
}

TEST(UndoTest, GivesTheDigitBackToExactlyTheRecordedCells) {
    struct UndoCase {
        int Cell;
        std::uint16_t RowMask;
        std::uint16_t ColumnMask;
        std::uint16_t BoxMask;
        CellList GivenBack;
    };
    const UndoCase cases[] = {
        {40, 257, 0, 0, {36, 44}},
        {40, 0, 257, 0, {4, 76}},
        {40, 0, 0, 257, {30, 50}},
        {40, 2, 128, 4, {37, 67, 32}},
        {0, 0, 0, 256 | 16, {10, 20}},
        {80, 0, 0, 1, {60}},
        {40, 0, 0, 0, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(::testing::Message() << "cell " << tc.Cell << ", masks " << tc.RowMask << ' '
                                          << tc.ColumnMask << ' ' << tc.BoxMask);
        Solver s;
        s.Candidates.Fill(kWithout5);
        s.Board[tc.Cell] = 5;
        s.UndoTop = 1;
        s.Trail[1] =
            UndoEntry{static_cast<std::int8_t>(tc.Cell), 5, tc.RowMask, tc.ColumnMask, tc.BoxMask};
        Masks expected = s.Candidates.Cells();
        for (int c : tc.GivenBack) expected[c] = kAllDigits;

        s.Undo(-1);

        EXPECT_EQ(s.UndoTop, 0);
        EXPECT_EQ(s.Board[tc.Cell], 0);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    }
}

// Cell 40 is decided at position 60 (cell 60 moved to position 40), so its
// peers 67 and 76 lie above Ptr = 59. Some peers never had a 5.
TEST(UndoTest, NestedPlacementsRoundTripLastInFirstOut) {
    Solver s = OpenGrid();
    s.Candidates.Set(37, Digits({1, 3}));     // row peer without 5
    s.Candidates.Set(13, Digits({2, 4, 6}));  // column peer without 5
    s.Candidates.Set(48, Digits({7}));        // box peer without 5
    s.Candidates.Set(36, Digits({1, 5, 9}));
    s.Candidates.Set(50, Digits({5, 8}));
    s.Candidates.Set(67, Digits({5, 6}));  // above Ptr
    s.Candidates.Set(0, Digits({2, 5}));   // not a peer
    std::vector<int> order;
    for (int c = 0; c < kCells; ++c) order.push_back(c);
    std::swap(order[40], order[60]);
    ListCells(s, order);
    s.UndoTop = 4;  // an earlier search level sits below
    const Masks start = s.Candidates.Cells();

    s.Board[40] = 5;
    s.RemoveCandidates(40, 5, 59);
    // Row peers with a 5: columns 0, 2, 3, 5, 6, 7, 8 (37 had none). Column
    // peers below Ptr: rows 0, 2, 3, 5, 6 (13 had none). Box peers off the
    // row and column: offsets 0, 2 and 8 (48 had none).
    ASSERT_EQ(s.UndoTop, 5);
    ExpectEntry(s.Trail[5], 40, 5, 1 + 4 + 8 + 32 + 64 + 128 + 256, 1 + 4 + 8 + 32 + 64,
                1 + 4 + 256);
    EXPECT_EQ(s.NumCandidates[36], 2);
    EXPECT_EQ(s.NumCandidates[50], 1);
    EXPECT_TRUE(s.HasCandidate(67, 5));
    EXPECT_TRUE(s.HasCandidate(0, 5));
    EXPECT_EQ(s.Candidates[40], kAllDigits);
    const Masks afterFirst = s.Candidates.Cells();
    const CellValues countsAfterFirst = s.NumCandidates;

    // Cell 36 is at position 36. Below it: column peers 9, 18, 27 (cell 0
    // has no 1) and box peers 28, 29; its row peers lie above.
    s.Board[36] = 1;
    s.RemoveCandidates(36, 1, 35);
    s.Board[0] = 2;
    s.RemoveCandidates(0, 2, -1);
    ASSERT_EQ(s.UndoTop, 7);
    ExpectEntry(s.Trail[6], 36, 1, 0, 2 + 4 + 8, 2 + 4);
    EXPECT_FALSE(s.HasCandidate(27, 1));
    EXPECT_TRUE(s.HasCandidate(37, 1));

    s.Undo(-1);
    s.Undo(35);
    EXPECT_EQ(s.UndoTop, 5);
    EXPECT_EQ(CandidateDiff(afterFirst, s.Candidates.Cells()), "");
    EXPECT_EQ(s.NumCandidates, countsAfterFirst);
    EXPECT_EQ(s.Board[36], 0);
    EXPECT_EQ(s.Board[0], 0);

    // Stale counts up to Ptr, the decided cell's own included, are recounted.
    s.NumCandidates[0] = 0;
    s.NumCandidates[40] = 0;
    s.NumCandidates[60] = 7;
    s.Undo(60);
    EXPECT_EQ(s.UndoTop, 4);
    EXPECT_EQ(s.Board[40], 0);
    EXPECT_EQ(CandidateDiff(start, s.Candidates.Cells()), "");
    EXPECT_EQ(s.NumCandidates[36], 3);
    EXPECT_EQ(s.NumCandidates[0], 2);
    EXPECT_EQ(s.NumCandidates[40], 9);
    EXPECT_EQ(s.NumCandidates[60], 9);
}

TEST(CandidateListTest, ListsTheCandidatesInAscendingOrder) {
    Solver s = OpenGrid();
    s.Candidates.Set(17, Digits({9, 2, 5}));
    s.Candidates.Set(18, Digits({1}));
    EXPECT_EQ(s.CandidateList(17, 1), 2);
    EXPECT_EQ(s.CandidateList(17, 2), 5);
    EXPECT_EQ(s.CandidateList(17, 3), 9);
    EXPECT_EQ(s.CandidateList(18, 1), 1);
    for (int k = 1; k <= 9; ++k) EXPECT_EQ(s.CandidateList(40, k), k);
}

}  // namespace
}  // namespace cluemill
