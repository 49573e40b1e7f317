// SPDX-License-Identifier: MIT
// The candidate bookkeeping: Assign, the single-candidate removals, and the
// search's placement step RemoveCandidates with its undo trail.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "solver/Geometry.h"
#include "solver/Solver.h"

namespace cluemill {
namespace {

using Masks = std::array<CandidateMask, kCells>;

CandidateMask Digits(std::initializer_list<int> digits) {
    CandidateMask mask = 0;
    for (int d : digits) mask = static_cast<CandidateMask>(mask | DigitBit(d));
    return mask;
}

bool SameRow(int a, int b) {
    return a / 9 == b / 9;
}
bool SameColumn(int a, int b) {
    return a % 9 == b % 9;
}
bool SameBox(int a, int b) {
    return a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3;
}
bool Peers(int a, int b) {
    return a != b && (SameRow(a, b) || SameColumn(a, b) || SameBox(a, b));
}

std::string MaskText(CandidateMask mask) {
    std::string text = "{";
    for (int d = 1; d <= 9; ++d) {
        if (mask & DigitBit(d)) text += static_cast<char>('0' + d);
    }
    return text + "}";
}

// Empty when the two grids agree; otherwise one line per differing cell.
std::string CandidateDiff(const Masks& expected, const Masks& actual) {
    std::string diff;
    for (int c = 0; c < kCells; ++c) {
        if (expected[c] != actual[c]) {
            diff += "cell " + std::to_string(c) + ": expected " + MaskText(expected[c]) + ", got " +
                    MaskText(actual[c]) + "\n";
        }
    }
    return diff;
}

// A grid with no values and every candidate still possible.
Solver OpenGrid() {
    Solver s;
    s.Board.fill(0);
    s.Candidates.Fill(kAllDigits);
    return s;
}

// The search's view of cells: EmptyCells holds the given cells in this order,
// and each cell's count agrees with its candidates.
void ListCells(Solver& s, const std::vector<int>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        s.EmptyCells[i] = static_cast<std::int8_t>(cells[i]);
        s.NumCandidates[cells[i]] = static_cast<std::int8_t>(CountDigits(s.Candidates[cells[i]]));
    }
}

// ---------------------------------------------------------------------------
// RemoveCandidate and CandidateRemoved

struct SingleRemovalCase {
    const char* Name;
    bool (*Op)(Solver&, int digit, int cell);
    CandidateMask Start;
    bool Expected;
};

TEST(RemoveCandidateTest, ClearsOnlyASetCandidateAndReportsIt) {
    auto remove = [](Solver& s, int d, int c) { return s.RemoveCandidate(d, c); };
    auto removed = [](Solver& s, int d, int c) { return s.CandidateRemoved(d, c); };
    const SingleRemovalCase cases[] = {
        {"RemoveCandidate on a set candidate", remove, Digits({1, 6, 9}), true},
        {"RemoveCandidate on a cleared candidate", remove, Digits({1, 9}), false},
        {"RemoveCandidate on the last candidate", remove, Digits({6}), true},
        {"CandidateRemoved on a set candidate", removed, Digits({1, 6, 9}), true},
        {"CandidateRemoved on a cleared candidate", removed, Digits({1, 9}), false},
        {"CandidateRemoved on a cell without candidates", removed, 0, false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Candidates.Set(40, tc.Start);
        Masks expected = s.Candidates.Cells();
        expected[40] = static_cast<CandidateMask>(tc.Start & ~DigitBit(6));

        EXPECT_EQ(tc.Op(s, 6, 40), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    }
}

// ---------------------------------------------------------------------------
// Assign

struct AssignCase {
    const char* Name;
    int Digit;
    int Cell;
};

TEST(AssignTest, ClearsTheCellAndTheDigitFromItsPeersOnly) {
    const AssignCase cases[] = {
        {"top-left corner", 1, 0},
        {"centre", 5, 40},
        {"bottom-right corner", 9, 80},
        {"last cell of the first row", 4, 8},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Board[tc.Cell] = 0;
        s.Board[(tc.Cell + 41) % kCells] = 3;  // an unrelated value stays put
        const CellValues boardBefore = s.Board;
        Masks expected = s.Candidates.Cells();
        for (int c = 0; c < kCells; ++c) {
            if (Peers(c, tc.Cell))
                expected[c] = static_cast<CandidateMask>(expected[c] & ~DigitBit(tc.Digit));
        }
        expected[tc.Cell] = 0;

        s.Assign(tc.Digit, tc.Cell);

        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

TEST(AssignTest, ClearsEveryCandidateOfTheCellEvenWithoutTheDigit) {
    Solver s = OpenGrid();
    s.Candidates.Set(40, Digits({2, 3}));
    s.Assign(7, 40);
    EXPECT_EQ(s.Candidates[40], 0);
    EXPECT_FALSE(s.HasCandidate(36, 7));
    EXPECT_TRUE(s.HasCandidate(36, 2));
}

// ---------------------------------------------------------------------------
// RemoveCandidates: the trail entry for one listed cell

struct OnePeerCase {
    const char* Name;
    int Cell;
    int Listed;  // the only cell at positions 0 to Ptr
    CandidateMask ListedStart;
    std::uint16_t RowMask;
    std::uint16_t ColumnMask;
    std::uint16_t BoxMask;
};

TEST(RemoveCandidatesTest, RecordsEachRemovalInExactlyOneMask) {
    const CandidateMask all = kAllDigits;
    const CandidateMask without5 = static_cast<CandidateMask>(kAllDigits & ~DigitBit(5));
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
        {"peer that no longer holds the digit", 40, 36, without5, 0, 0, 0},
        {"cell outside row, column and box", 40, 0, all, 0, 0, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Candidates.Set(tc.Listed, tc.ListedStart);
        ListCells(s, {tc.Listed});
        s.Board[tc.Cell] = 5;  // the caller writes the value first
        const CellValues boardBefore = s.Board;
        const bool removes = (tc.RowMask | tc.ColumnMask | tc.BoxMask) != 0;
        Masks expected = s.Candidates.Cells();
        if (removes) expected[tc.Listed] = without5;

        s.RemoveCandidates(tc.Cell, 5, 0);

        ASSERT_EQ(s.UndoTop, 1);
        EXPECT_EQ(s.Trail[1].Cell, tc.Cell);
        EXPECT_EQ(s.Trail[1].Candidate, 5);
        EXPECT_EQ(s.Trail[1].RowMask, tc.RowMask);
        EXPECT_EQ(s.Trail[1].ColumnMask, tc.ColumnMask);
        EXPECT_EQ(s.Trail[1].BoxMask, tc.BoxMask);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.NumCandidates[tc.Listed], CountDigits(expected[tc.Listed]));
        EXPECT_EQ(s.Board, boardBefore);
    }
}

TEST(RemoveCandidatesTest, PeersAbovePtrKeepTheDigitAndSetNoBit) {
    Solver s = OpenGrid();
    // Positions 0 to 2 are below Ptr; the same kinds of peer sit above it.
    ListCells(s, {36, 4, 50, 44, 76, 30});
    s.Board[40] = 5;
    Masks expected = s.Candidates.Cells();
    for (int c : {36, 4, 50}) expected[c] = static_cast<CandidateMask>(kAllDigits & ~DigitBit(5));

    s.RemoveCandidates(40, 5, 2);

    EXPECT_EQ(s.Trail[1].RowMask, 1);
    EXPECT_EQ(s.Trail[1].ColumnMask, 1);
    EXPECT_EQ(s.Trail[1].BoxMask, 256);
    EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    for (int c : {36, 4, 50}) EXPECT_EQ(s.NumCandidates[c], 8) << "cell " << c;
    for (int c : {44, 76, 30}) EXPECT_EQ(s.NumCandidates[c], 9) << "cell " << c;
}

TEST(RemoveCandidatesTest, PtrMinusOnePushesAnEntryWithZeroMasks) {
    Solver s = OpenGrid();
    ListCells(s, {36, 4, 50});
    s.UndoTop = 2;
    s.Trail[3] = UndoEntry{7, 7, 511, 511, 511};  // left over from a deeper search
    const UndoEntry below = s.Trail[2] = UndoEntry{12, 3, 1, 2, 4};
    s.Board[40] = 5;
    const Masks before = s.Candidates.Cells();

    s.RemoveCandidates(40, 5, -1);

    ASSERT_EQ(s.UndoTop, 3);
    EXPECT_EQ(s.Trail[3].Cell, 40);
    EXPECT_EQ(s.Trail[3].Candidate, 5);
    EXPECT_EQ(s.Trail[3].RowMask, 0);
    EXPECT_EQ(s.Trail[3].ColumnMask, 0);
    EXPECT_EQ(s.Trail[3].BoxMask, 0);
    EXPECT_EQ(s.Trail[2].Cell, below.Cell);
    EXPECT_EQ(s.Trail[2].RowMask, below.RowMask);
    EXPECT_EQ(CandidateDiff(before, s.Candidates.Cells()), "");
}

// ---------------------------------------------------------------------------
// Undo

struct UndoDecodeCase {
    const char* Name;
    int Cell;
    std::uint16_t RowMask;
    std::uint16_t ColumnMask;
    std::uint16_t BoxMask;
    std::vector<int> GivenBack;
};

TEST(UndoTest, GivesTheDigitBackToExactlyTheRecordedCells) {
    const UndoDecodeCase cases[] = {
        {"row bits 0 and 8", 40, 257, 0, 0, {36, 44}},
        {"column bits 0 and 8", 40, 0, 257, 0, {4, 76}},
        {"box bits 0 and 8", 40, 0, 0, 257, {30, 50}},
        {"all three masks", 40, 2, 128, 4, {37, 67, 32}},
        {"box bits of box 0", 0, 0, 0, 256 | 16, {10, 20}},
        {"box bit of box 60", 80, 0, 0, 1, {60}},
        {"zero masks", 40, 0, 0, 0, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s;
        s.Board.fill(0);
        s.Candidates.Fill(static_cast<CandidateMask>(kAllDigits & ~DigitBit(5)));
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

// A state for a round trip: cell 40 is decided at position 60 (cell 60 moved
// to position 40), so its peers 67 and 76 lie above Ptr = 59. Some peers never
// had a 5, and some cells have small candidate sets.
Solver RoundTripState() {
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
    return s;
}

TEST(UndoTest, RoundTripRestoresCandidatesCountsAndTrail) {
    Solver s = RoundTripState();
    s.UndoTop = 4;  // an earlier search level sits below
    const Masks before = s.Candidates.Cells();
    s.Board[40] = 5;

    s.RemoveCandidates(40, 5, 59);

    // Row peers with a 5: columns 0, 2, 3, 5, 6, 7, 8 (37 had none).
    // Column peers below Ptr with a 5: rows 0, 2, 3, 5, 6 (13 had none).
    // Box peers off the row and column: offsets 0, 2 and 8 (48 had none).
    ASSERT_EQ(s.UndoTop, 5);
    EXPECT_EQ(s.Trail[5].RowMask, 1 + 4 + 8 + 32 + 64 + 128 + 256);
    EXPECT_EQ(s.Trail[5].ColumnMask, 1 + 4 + 8 + 32 + 64);
    EXPECT_EQ(s.Trail[5].BoxMask, 1 + 4 + 256);
    EXPECT_FALSE(s.HasCandidate(36, 5));
    EXPECT_EQ(s.NumCandidates[36], 2);
    EXPECT_EQ(s.CandidateList(36, 1), 1);
    EXPECT_EQ(s.CandidateList(36, 2), 9);
    EXPECT_EQ(s.NumCandidates[50], 1);
    EXPECT_EQ(s.CandidateList(50, 1), 8);
    EXPECT_TRUE(s.HasCandidate(67, 5));
    EXPECT_TRUE(s.HasCandidate(76, 5));
    EXPECT_TRUE(s.HasCandidate(0, 5));
    EXPECT_EQ(s.Candidates[40], kAllDigits);

    s.NumCandidates[0] = 0;  // stale counts below Ptr are recounted by Undo
    s.NumCandidates[3] = 7;
    s.Undo(59);

    EXPECT_EQ(CandidateDiff(before, s.Candidates.Cells()), "");
    EXPECT_EQ(s.Board[40], 0);
    EXPECT_EQ(s.UndoTop, 4);
    EXPECT_EQ(s.NumCandidates[36], 3);
    EXPECT_EQ(s.CandidateList(36, 2), 5);
    EXPECT_EQ(s.NumCandidates[50], 2);
    EXPECT_EQ(s.NumCandidates[0], 2);
    EXPECT_EQ(s.NumCandidates[3], 9);
}

TEST(UndoTest, UndoOneLevelUpAlsoRecountsTheDecidedCell) {
    Solver s = RoundTripState();
    const Masks before = s.Candidates.Cells();
    s.Board[40] = 5;
    s.RemoveCandidates(40, 5, 59);
    s.NumCandidates[40] = 0;

    s.Undo(60);  // position 60 holds cell 40 itself

    EXPECT_EQ(CandidateDiff(before, s.Candidates.Cells()), "");
    EXPECT_EQ(s.NumCandidates[40], 9);
    EXPECT_EQ(s.UndoTop, 0);
}

TEST(UndoTest, NestedPlacementsUndoLastInFirstOut) {
    Solver s = RoundTripState();
    const Masks start = s.Candidates.Cells();

    s.Board[40] = 5;
    s.RemoveCandidates(40, 5, 59);
    const Masks afterFirst = s.Candidates.Cells();
    const CellValues countsAfterFirst = s.NumCandidates;
    // Cell 36 is at position 36. Below it: column peers 9, 18, 27 (cell 0
    // has no 1) and box peers 28, 29; its row peers lie above.
    s.Board[36] = 1;
    s.RemoveCandidates(36, 1, 35);
    s.Board[0] = 2;
    s.RemoveCandidates(0, 2, -1);
    ASSERT_EQ(s.UndoTop, 3);
    EXPECT_EQ(s.Trail[2].RowMask, 0);
    EXPECT_EQ(s.Trail[2].ColumnMask, 2 + 4 + 8);
    EXPECT_EQ(s.Trail[2].BoxMask, 2 + 4);
    EXPECT_FALSE(s.HasCandidate(27, 1));
    EXPECT_TRUE(s.HasCandidate(37, 1));

    s.Undo(-1);
    s.Undo(35);
    EXPECT_EQ(s.UndoTop, 1);
    EXPECT_EQ(CandidateDiff(afterFirst, s.Candidates.Cells()), "");
    for (int p = 0; p <= 35; ++p) {
        const int c = s.EmptyCells[p];
        EXPECT_EQ(s.NumCandidates[c], countsAfterFirst[c]) << "cell " << c;
    }
    EXPECT_EQ(s.Board[36], 0);
    EXPECT_EQ(s.Board[0], 0);

    s.Undo(59);
    EXPECT_EQ(s.UndoTop, 0);
    EXPECT_EQ(CandidateDiff(start, s.Candidates.Cells()), "");
}

// ---------------------------------------------------------------------------
// CandidateList

struct ListCase {
    const char* Name;
    CandidateMask Mask;
    std::vector<int> Expected;
};

TEST(CandidateListTest, ListsTheCandidatesInAscendingOrder) {
    const ListCase cases[] = {
        {"single low digit", Digits({1}), {1}},
        {"single high digit", Digits({9}), {9}},
        {"three digits", Digits({9, 2, 5}), {2, 5, 9}},
        {"every digit", kAllDigits, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Candidates.Set(17, tc.Mask);
        for (std::size_t k = 0; k < tc.Expected.size(); ++k) {
            EXPECT_EQ(s.CandidateList(17, static_cast<int>(k) + 1), tc.Expected[k])
                << "k = " << k + 1;
        }
    }
}

}  // namespace
}  // namespace cluemill
