// SPDX-License-Identifier: MIT
// The logic techniques, one call at a time, on candidate grids built by hand.
// Every grid starts fully open (no values, every candidate) and each case
// clears candidates to make one configuration; an open unit never triggers a
// technique, so the case's configuration is the only thing that can fire.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "solver/HandGrids.h"

namespace cluemill {
namespace {

using namespace cluemill::testing;

// Clears digit from every cell of unit except the cells in keep.
void KeepOnly(Solver& s, int digit, const CellList& unit, const CellList& keep) {
    for (int c : unit) {
        if (std::find(keep.begin(), keep.end(), c) == keep.end()) s.Candidates.Clear(c, digit);
    }
}

void SetCells(Solver& s, const CellList& cells, CandidateMask mask) {
    for (int c : cells) s.Candidates.Set(c, mask);
}

using GridSetup = void (*)(Solver&);

Solver Prepared(GridSetup prepare) {
    Solver s = OpenGrid();
    if (prepare != nullptr) prepare(s);
    return s;
}

// A technique that only eliminates: the result, and Digits cleared from the
// Removed cells and nowhere else. Size is the subset size for NakedHidden.
struct Case {
    const char* Name;
    GridSetup Prepare;
    bool Expected;
    CandidateMask Digits;
    CellList Removed;
    int Size = 0;
};

template <typename Call>
void RunCases(const std::vector<Case>& cases, Call call) {
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = Prepared(tc.Prepare);
        const CellValues boardBefore = s.Board;
        const Masks expected = Without(s.Candidates.Cells(), tc.Digits, tc.Removed);

        EXPECT_EQ(call(s, tc.Size), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

// A placing technique: nothing (Cell -1) or Digit placed in Cell.
struct Placement {
    const char* Name;
    GridSetup Prepare;
    int Cell;
    int Digit;
};

template <typename Call>
void RunPlacements(const std::vector<Placement>& cases, Call call) {
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = Prepared(tc.Prepare);
        CellValues expectedBoard = s.Board;
        Masks expected = s.Candidates.Cells();
        if (tc.Cell >= 0) {
            expectedBoard[tc.Cell] = static_cast<std::int8_t>(tc.Digit);
            expected = AfterPlacing(expected, tc.Digit, tc.Cell);
        }

        EXPECT_EQ(call(s), tc.Cell >= 0);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, expectedBoard);
    }
}

TEST(HiddenSingleTest, PlacesTheFirstDigitWithOnePlaceInAUnit) {
    RunPlacements(
        {
            {"open grid", nullptr, -1, 0},
            {"digit order beats unit order: 1 in box 60 before 2 in row 0",
             [](Solver& s) {
                 KeepOnly(s, 1, Box(60), {80});
                 KeepOnly(s, 2, Row(0), {0});
             },
             80, 1},
            {"rows before columns: 3 in row 8 before 3 in column 0",
             [](Solver& s) {
                 KeepOnly(s, 3, Row(8), {80});
                 KeepOnly(s, 3, Column(0), {0});
             },
             80, 3},
            {"columns before boxes: 4 in column 8 before 4 in box 0",
             [](Solver& s) {
                 KeepOnly(s, 4, Column(8), {8});
                 KeepOnly(s, 4, Box(0), {20});
             },
             8, 4},
            {"a column's lone cell in the bottom band: 5 in column 5 at row 7",
             [](Solver& s) { KeepOnly(s, 5, Column(5), {68}); }, 68, 5},
            {"a box's lone cell in the middle band: 7 in box 33 at cell 53",
             [](Solver& s) { KeepOnly(s, 7, Box(33), {53}); }, 53, 7},
            {"a digit already placed in its units is skipped",
             [](Solver& s) {
                 s.Assign(1, 0);
                 s.Board[0] = 1;
             },
             -1, 0},
            {"a digit without any place in a row is not reported",
             [](Solver& s) { KeepOnly(s, 2, Row(3), {}); }, -1, 0},
            {"a cell with a single candidate is not a hidden single",
             [](Solver& s) { s.Candidates.Set(40, Digits({6})); }, -1, 0},
        },
        [](Solver& s) { return s.HiddenSingle(); });
}

TEST(HiddenSingleTest, FindsASingleMadeAfterAnEarlierCallFoundNone) {
    Solver s = OpenGrid();
    ASSERT_FALSE(s.HiddenSingle());
    KeepOnly(s, 3, Row(4), {40});
    EXPECT_TRUE(s.HiddenSingle());
    EXPECT_EQ(s.Board[40], 3);
    // A second single in a unit scanned in the first call.
    KeepOnly(s, 2, Row(0), {7});
    EXPECT_TRUE(s.HiddenSingle());
    EXPECT_EQ(s.Board[7], 2);
    EXPECT_FALSE(s.HiddenSingle());
    // After a placement the same digit can still be a single in a unit away
    // from the placed cell's own units.
    KeepOnly(s, 3, Column(0), {63});
    EXPECT_TRUE(s.HiddenSingle());
    EXPECT_EQ(s.Board[63], 3);
}

TEST(NakedSingleTest, PlacesTheLowestCellWithOneCandidate) {
    RunPlacements(
        {
            {"open grid", nullptr, -1, 0},
            {"the lower of two single-candidate cells",
             [](Solver& s) {
                 s.Candidates.Set(50, Digits({6}));
                 s.Candidates.Set(30, Digits({4}));
             },
             30, 4},
            {"a single candidate in the last cell",
             [](Solver& s) { s.Candidates.Set(80, Digits({9})); }, 80, 9},
            {"an empty cell without candidates is not a single",
             [](Solver& s) { s.Candidates.Set(5, 0); }, -1, 0},
            {"a digit with one place in a unit is not a naked single",
             [](Solver& s) { KeepOnly(s, 2, Row(0), {0}); }, -1, 0},
        },
        [](Solver& s) { return s.NakedSingle(); });
}

TEST(PointingPairTest, RemovesTheDigitAlongTheLineOutsideTheBox) {
    RunCases(
        {
            {"open grid", nullptr, false, 0, {}},
            {"pointing pair in row 0 of box 0",
             [](Solver& s) {
                 KeepOnly(s, 5, Box(0), {0, 2});
                 KeepOnly(s, 5, Row(0), {0, 2, 4, 7});
             },
             true,
             Digits({5}),
             {4, 7}},
            {"a pair with nothing to remove lets the scan go on to the next box",
             [](Solver& s) {
                 KeepOnly(s, 5, Box(0), {0, 2});
                 KeepOnly(s, 5, Row(0), {0, 2});
                 KeepOnly(s, 5, Box(60), {62, 71, 80});
             },
             true,
             Digits({5}),
             {17, 26, 35, 44, 53}},
            {"a pair with nothing to remove and nothing after it",
             [](Solver& s) {
                 KeepOnly(s, 5, Box(0), {0, 2});
                 KeepOnly(s, 5, Row(0), {0, 2});
             },
             false,
             0,
             {}},
            {"pointing triple in column 1 of box 27",
             [](Solver& s) {
                 KeepOnly(s, 2, Box(27), {28, 37, 46});
             },
             true,
             Digits({2}),
             {1, 10, 19, 55, 64, 73}},
            {"single cell: the row is tried first",
             [](Solver& s) { KeepOnly(s, 6, Box(30), {40}); },
             true,
             Digits({6}),
             {36, 37, 38, 42, 43, 44}},
            {"single cell: the column when the row has nothing to remove",
             [](Solver& s) {
                 KeepOnly(s, 6, Box(30), {40});
                 KeepOnly(s, 6, Row(4), {40});
             },
             true,
             Digits({6}),
             {4, 13, 22, 58, 67, 76}},
            {"digit 1 in box 60 before digit 9 in box 0",
             [](Solver& s) {
                 KeepOnly(s, 9, Box(0), {0, 1});
                 KeepOnly(s, 1, Box(60), {60, 61});
             },
             true,
             Digits({1}),
             {54, 55, 56, 57, 58, 59}},
            {"four cells of a box in two rows point nowhere",
             [](Solver& s) {
                 KeepOnly(s, 7, Box(30), {30, 31, 39, 40});
             },
             false,
             0,
             {}},
        },
        [](Solver& s, int) { return s.PointingPair(); });
}

TEST(PointingPairTest, DiscardPPClearsTheLineOutsideTheBox) {
    struct DiscardCase {
        int BoxLeftTop;
        int Chute;  // 0 to 2 a row of the box, 3 to 5 a column
        CellList Removed;
    };
    const DiscardCase cases[] = {
        {30, 1, {36, 37, 38, 42, 43, 44}},
        {30, 4, {4, 13, 22, 58, 67, 76}},
        {60, 2, {72, 73, 74, 75, 76, 77}},
        {6, 5, {35, 44, 53, 62, 71, 80}},
        {0, 0, {3, 4, 5, 6, 7, 8}},
        {30, 6, {}},
        {30, -1, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(::testing::Message() << "box " << tc.BoxLeftTop << ", chute " << tc.Chute);
        Solver s = OpenGrid();
        EXPECT_EQ(s.DiscardPP(7, tc.BoxLeftTop, tc.Chute), !tc.Removed.empty());
        EXPECT_EQ(CandidateDiff(Without(OpenGrid().Candidates.Cells(), Digits({7}), tc.Removed),
                                s.Candidates.Cells()),
                  "");
    }
    Solver s = OpenGrid();
    KeepOnly(s, 7, Row(4), {39, 44});
    EXPECT_TRUE(s.DiscardPP(7, 30, 1));
    EXPECT_FALSE(s.HasCandidate(44, 7));
    EXPECT_FALSE(s.DiscardPP(7, 30, 1));
}

TEST(BoxLineTest, RemovesTheDigitFromTheRestOfTheBox) {
    RunCases(
        {
            {"open grid", nullptr, false, 0, {}},
            {"digit 3 of row 4 only in box 30",
             [](Solver& s) {
                 KeepOnly(s, 3, Row(4), {39, 40});
             },
             true,
             Digits({3}),
             {30, 31, 32, 48, 49, 50}},
            {"row-based digit 9 before column-based digit 1",
             [](Solver& s) {
                 KeepOnly(s, 9, Row(0), {0, 1});
                 KeepOnly(s, 1, Column(0), {0, 9});
             },
             true,
             Digits({9}),
             {9, 10, 11, 18, 19, 20}},
            {"column-based reduction when no row gives one",
             [](Solver& s) {
                 KeepOnly(s, 1, Column(0), {0, 9});
             },
             true,
             Digits({1}),
             {1, 2, 10, 11, 19, 20}},
            {"three cells of column 4 in box 30",
             [](Solver& s) {
                 KeepOnly(s, 4, Column(4), {31, 40, 49});
             },
             true,
             Digits({4}),
             {30, 32, 39, 41, 48, 50}},
            {"a reduction with nothing to remove lets the scan go on",
             [](Solver& s) {
                 KeepOnly(s, 3, Row(4), {39, 40});
                 KeepOnly(s, 3, Box(30), {39, 40, 41});
                 KeepOnly(s, 3, Column(8), {8, 17, 26});
             },
             true,
             Digits({3}),
             {6, 7, 15, 16, 24, 25}},
            {"a line whose digit spans two boxes",
             [](Solver& s) {
                 KeepOnly(s, 8, Row(4), {38, 39});
             },
             false,
             0,
             {}},
        },
        [](Solver& s, int) { return s.BoxLine(); });
}

TEST(BoxLineTest, DiscardBLClearsTheBoxOutsideTheLine) {
    struct DiscardCase {
        int Indice;
        int Chute;
        int Kind;  // 1 row, 2 column
        CellList Removed;
    };
    const DiscardCase cases[] = {
        {4, 1, 1, {30, 31, 32, 48, 49, 50}},
        {4, 1, 2, {30, 32, 39, 41, 48, 50}},
        {0, 2, 1, {15, 16, 17, 24, 25, 26}},
        {8, 2, 2, {60, 61, 69, 70, 78, 79}},
        {0, 0, 2, {1, 2, 10, 11, 19, 20}},
        {4, 1, 0, {}},
        {4, 1, 3, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "line " << tc.Indice << ", chute " << tc.Chute << ", kind " << tc.Kind);
        Solver s = OpenGrid();
        EXPECT_EQ(s.DiscardBL(8, tc.Indice, tc.Chute, tc.Kind), !tc.Removed.empty());
        EXPECT_EQ(CandidateDiff(Without(OpenGrid().Candidates.Cells(), Digits({8}), tc.Removed),
                                s.Candidates.Cells()),
                  "");
    }
    Solver s = OpenGrid();
    KeepOnly(s, 8, Box(30), {39, 40, 41});
    EXPECT_FALSE(s.DiscardBL(8, 4, 1, 1));
}

const CandidateMask kNot27 = Digits({1, 3, 4, 5, 6, 8, 9});

TEST(NakedHiddenTest, NakedSubsetsRemoveTheirDigitsFromTheUnit) {
    RunCases(
        {
            {"open grid", nullptr, false, 0, {}, 2},
            {"naked pair in row 0",
             [](Solver& s) {
                 SetCells(s, {1, 2, 4, 6, 7, 8}, kNot27);
                 SetCells(s, {0, 5}, Digits({2, 7}));
                 s.Candidates.Set(3, Digits({2, 4, 7}));
             },
             true,
             Digits({2, 7}),
             {3},
             2},
            {"a proper subset of the pair counts",
             [](Solver& s) {
                 SetCells(s, {1, 2, 4, 6, 7, 8}, kNot27);
                 s.Candidates.Set(0, Digits({2}));
                 s.Candidates.Set(5, Digits({2, 7}));
                 s.Candidates.Set(3, Digits({2, 4, 7}));
             },
             true,
             Digits({2, 7}),
             {3},
             2},
            {"three cells exclusive to a pair do nothing",
             [](Solver& s) {
                 SetCells(s, {1, 3, 5, 6, 7}, kNot27);
                 SetCells(s, {0, 4, 8}, Digits({2, 7}));
                 s.Candidates.Set(2, Digits({2, 4, 7}));
             },
             false,
             0,
             {},
             2},
            {"a pair with nothing to remove lets the next tuple of the unit fire",
             [](Solver& s) {
                 SetCells(s, {3, 4, 6, 7}, Digits({1, 4, 5, 8, 9}));
                 SetCells(s, {0, 5}, Digits({2, 7}));
                 SetCells(s, {1, 2}, Digits({3, 6}));
                 s.Candidates.Set(8, Digits({1, 3, 4, 5, 6, 8, 9}));
             },
             true,
             Digits({3, 6}),
             {8},
             2},
            {"a pair with nothing to remove lets the next unit fire",
             [](Solver& s) {
                 SetCells(s, Row(0), kNot27);
                 SetCells(s, {0, 5}, Digits({2, 7}));
                 SetCells(s, {18, 19}, Digits({3, 6}));
             },
             true,
             Digits({3, 6}),
             {20, 21, 22, 23, 24, 25, 26},
             2},
            {"naked pair in column 4",
             [](Solver& s) {
                 SetCells(s, {4, 76}, Digits({3, 8}));
             },
             true,
             Digits({3, 8}),
             {13, 22, 31, 40, 49, 58, 67},
             2},
            {"naked pair in box 30",
             [](Solver& s) {
                 SetCells(s, {30, 50}, Digits({3, 8}));
             },
             true,
             Digits({3, 8}),
             {31, 32, 39, 40, 41, 48, 49},
             2},
            {"naked triple of pairs",
             [](Solver& s) {
                 s.Candidates.Set(0, Digits({1, 2}));
                 s.Candidates.Set(1, Digits({2, 3}));
                 s.Candidates.Set(2, Digits({1, 3}));
             },
             true,
             Digits({1, 2, 3}),
             {3, 4, 5, 6, 7, 8},
             3},
            {"naked quad",
             [](Solver& s) {
                 SetCells(s, {0, 1, 2, 3}, Digits({1, 2, 3, 4}));
             },
             true,
             Digits({1, 2, 3, 4}),
             {4, 5, 6, 7, 8},
             4},
            {"naked quint",
             [](Solver& s) {
                 SetCells(s, {0, 1, 2, 3, 4}, Digits({1, 2, 3, 4, 5}));
             },
             true,
             Digits({1, 2, 3, 4, 5}),
             {5, 6, 7, 8},
             5},
            {"a cell without candidates belongs to every tuple",
             [](Solver& s) {
                 s.Candidates.Set(0, 0);
                 s.Candidates.Set(5, Digits({2, 7}));
             },
             true,
             Digits({2, 7}),
             {1, 2, 3, 4, 6, 7, 8},
             2},
            {"tuples with a digit placed in the unit are passed over",
             [](Solver& s) {
                 s.Assign(1, 8);
                 s.Board[8] = 1;
                 SetCells(s, {0, 5}, Digits({2}));
             },
             true,
             Digits({2, 3}),
             {1, 2, 3, 4, 6, 7},
             2},
            {"a naked pair is not found by the triple search",
             [](Solver& s) {
                 SetCells(s, {0, 5}, Digits({2, 7}));
             },
             false,
             0,
             {},
             3},
        },
        [](Solver& s, int size) { return s.NakedHidden(true, size); });
}

TEST(NakedHiddenTest, HiddenSubsetsClearTheirCellsOfOtherDigits) {
    const CandidateMask not48 = Digits({1, 2, 3, 5, 6, 7, 9});
    RunCases(
        {
            {"open grid", nullptr, false, 0, {}, 2},
            {"hidden pair 4 and 8 in row 1",
             [](Solver& s) {
                 KeepOnly(s, 4, Row(1), {10, 14});
                 KeepOnly(s, 8, Row(1), {10, 14});
             },
             true,
             not48,
             {10, 14},
             2},
            {"digit 4 only in cell 10 and digit 8 only in cell 14",
             [](Solver& s) {
                 KeepOnly(s, 4, Row(1), {10});
                 KeepOnly(s, 8, Row(1), {14});
             },
             true,
             not48,
             {10, 14},
             2},
            {"a bare hidden pair lets the next unit fire",
             [](Solver& s) {
                 KeepOnly(s, 4, Row(1), {10, 14});
                 KeepOnly(s, 8, Row(1), {10, 14});
                 SetCells(s, {10, 14}, Digits({4, 8}));
                 KeepOnly(s, 5, Row(2), {18, 19});
                 KeepOnly(s, 6, Row(2), {18, 19});
             },
             true,
             Digits({1, 2, 3, 4, 7, 8, 9}),
             {18, 19},
             2},
            {"hidden pair in column 4",
             [](Solver& s) {
                 KeepOnly(s, 4, Column(4), {4, 76});
                 KeepOnly(s, 8, Column(4), {4, 76});
             },
             true,
             not48,
             {4, 76},
             2},
            {"hidden pair in box 30",
             [](Solver& s) {
                 KeepOnly(s, 4, Box(30), {30, 50});
                 KeepOnly(s, 8, Box(30), {30, 50});
             },
             true,
             not48,
             {30, 50},
             2},
            {"hidden triple in row 0",
             [](Solver& s) {
                 for (int d : {1, 2, 3}) KeepOnly(s, d, Row(0), {0, 1, 2});
             },
             true,
             Digits({4, 5, 6, 7, 8, 9}),
             {0, 1, 2},
             3},
            {"hidden triple in column 7 across the three bands",
             [](Solver& s) {
                 for (int d : {2, 5, 9}) KeepOnly(s, d, Column(7), {7, 43, 70});
             },
             true,
             Digits({1, 3, 4, 6, 7, 8}),
             {7, 43, 70},
             3},
            {"hidden triple in box 60",
             [](Solver& s) {
                 for (int d : {1, 4, 6}) KeepOnly(s, d, Box(60), {60, 70, 80});
             },
             true,
             Digits({2, 3, 5, 7, 8, 9}),
             {60, 70, 80},
             3},
            {"two digits in a single cell are no hidden pair",
             [](Solver& s) {
                 KeepOnly(s, 4, Row(1), {10});
                 KeepOnly(s, 8, Row(1), {10});
             },
             false,
             0,
             {},
             2},
            {"two digits in three cells are no hidden pair",
             [](Solver& s) {
                 KeepOnly(s, 4, Row(1), {10, 14});
                 KeepOnly(s, 8, Row(1), {10, 15});
             },
             false,
             0,
             {},
             2},
        },
        [](Solver& s, int size) { return s.NakedHidden(false, size); });
}

TEST(NakedHiddenTest, UnsupportedSizesChangeNothing) {
    const GridSetup oneCell = [](Solver& s) { s.Candidates.Set(0, Digits({2})); };
    RunCases({{"naked size 0", oneCell, false, 0, {}, 0},
              {"naked size 1", oneCell, false, 0, {}, 1},
              {"naked size 6",
               [](Solver& s) {
                   SetCells(s, {0, 1, 2, 3, 4, 5}, Digits({1, 2, 3, 4, 5, 6}));
               },
               false,
               0,
               {},
               6}},
             [](Solver& s, int size) { return s.NakedHidden(true, size); });
    RunCases({{"hidden size 1", [](Solver& s) { KeepOnly(s, 2, Row(0), {0}); }, false, 0, {}, 1},
              {"hidden size 4",
               [](Solver& s) {
                   for (int d : {1, 2, 3, 4}) KeepOnly(s, d, Row(0), {0, 1, 2, 3});
               },
               false,
               0,
               {},
               4},
              {"hidden size 5",
               [](Solver& s) {
                   for (int d : {1, 2, 3, 4, 5}) KeepOnly(s, d, Row(0), {0, 1, 2, 3, 4});
               },
               false,
               0,
               {},
               5}},
             [](Solver& s, int size) { return s.NakedHidden(false, size); });
}

}  // namespace
}  // namespace cluemill
