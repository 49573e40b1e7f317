// SPDX-License-Identifier: MIT
// The logic techniques, one call at a time, on candidate grids built by hand.
// Every grid starts fully open (no values, every candidate) and each case
// clears candidates to make one configuration; an open unit never triggers a
// technique, so the case's configuration is the only thing that can fire.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "solver/Geometry.h"
#include "solver/Solver.h"

namespace cluemill {
namespace {

using Masks = std::array<CandidateMask, kCells>;
using CellList = std::vector<int>;

CandidateMask Digits(std::initializer_list<int> digits) {
    CandidateMask mask = 0;
    for (int d : digits) mask = static_cast<CandidateMask>(mask | DigitBit(d));
    return mask;
}

CellList RowCells(int row) {
    CellList cells;
    for (int i = 0; i < 9; ++i) cells.push_back(row * 9 + i);
    return cells;
}

CellList ColumnCells(int column) {
    CellList cells;
    for (int i = 0; i < 9; ++i) cells.push_back(column + 9 * i);
    return cells;
}

CellList BoxCells(int boxLeftTop) {
    CellList cells;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) cells.push_back(boxLeftTop + 9 * r + c);
    }
    return cells;
}

bool Peers(int a, int b) {
    const bool sameBox = a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3;
    return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || sameBox);
}

bool Contains(const CellList& cells, int cell) {
    for (int c : cells) {
        if (c == cell) return true;
    }
    return false;
}

// Clears digit from every cell of unit except the cells in keep.
void KeepOnly(Solver& s, int digit, const CellList& unit, const CellList& keep) {
    for (int c : unit) {
        if (!Contains(keep, c)) s.Candidates.Clear(c, digit);
    }
}

void SetCells(Solver& s, const CellList& cells, CandidateMask mask) {
    for (int c : cells) s.Candidates.Set(c, mask);
}

std::string MaskText(CandidateMask mask) {
    std::string text = "{";
    for (int d = 1; d <= 9; ++d) {
        if (mask & DigitBit(d)) text += static_cast<char>('0' + d);
    }
    return text + "}";
}

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

Solver OpenGrid() {
    Solver s;
    s.Board.fill(0);
    s.Candidates.Fill(kAllDigits);
    return s;
}

// Eliminations expected from one call: each digit from each of the cells.
struct Elimination {
    CandidateMask Digits;
    CellList Cells;
};

Masks AfterEliminations(Masks grid, const std::vector<Elimination>& eliminations) {
    for (const auto& e : eliminations) {
        for (int c : e.Cells) grid[c] = static_cast<CandidateMask>(grid[c] & ~e.Digits);
    }
    return grid;
}

using Setup = void (*)(Solver&);

// A technique that only eliminates: the return value and the exact removals.
struct EliminationCase {
    const char* Name;
    Setup Prepare;
    bool Expected;
    std::vector<Elimination> Removed;
};

template <typename Call>
void RunEliminationCases(const std::vector<EliminationCase>& cases, Call call) {
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const CellValues boardBefore = s.Board;
        const Masks expected = AfterEliminations(s.Candidates.Cells(), tc.Removed);

        EXPECT_EQ(call(s), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

// A placing technique: nothing (Cell -1) or one value placed with Assign.
struct PlacementCase {
    const char* Name;
    Setup Prepare;
    int Cell;
    int Digit;
};

template <typename Call>
void RunPlacementCases(const std::vector<PlacementCase>& cases, Call call) {
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        CellValues expectedBoard = s.Board;
        Masks expected = s.Candidates.Cells();
        if (tc.Cell >= 0) {
            expectedBoard[tc.Cell] = static_cast<std::int8_t>(tc.Digit);
            expected[tc.Cell] = 0;
            for (int c = 0; c < kCells; ++c) {
                if (Peers(c, tc.Cell))
                    expected[c] = static_cast<CandidateMask>(expected[c] & ~DigitBit(tc.Digit));
            }
        }

        EXPECT_EQ(call(s), tc.Cell >= 0);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        for (int c = 0; c < kCells; ++c) EXPECT_EQ(s.Board[c], expectedBoard[c]) << "cell " << c;
    }
}

const CandidateMask kNot27 = Digits({1, 3, 4, 5, 6, 8, 9});

// ---------------------------------------------------------------------------
// NakedCell

struct DeadEndCase {
    const char* Name;
    Setup Prepare;
    bool Expected;
};

TEST(NakedCellTest, ReportsAnEmptyCellWithoutCandidates) {
    const DeadEndCase cases[] = {
        {"open grid", nullptr, false},
        {"empty cell without candidates", [](Solver& s) { s.Candidates.Set(40, 0); }, true},
        {"last cell empty without candidates", [](Solver& s) { s.Candidates.Set(80, 0); }, true},
        {"cell holding a value without candidates",
         [](Solver& s) {
             s.Board[40] = 3;
             s.Candidates.Set(40, 0);
         },
         false},
        {"every cell holding a value",
         [](Solver& s) {
             s.Board.fill(1);
             s.Candidates.Fill(0);
         },
         false},
        {"single candidates are no dead end", [](Solver& s) { s.Candidates.Fill(Digits({4})); },
         false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const Masks before = s.Candidates.Cells();
        const CellValues boardBefore = s.Board;

        EXPECT_EQ(s.NakedCell(), tc.Expected);
        EXPECT_EQ(CandidateDiff(before, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

// ---------------------------------------------------------------------------
// HiddenSingle

TEST(HiddenSingleTest, PlacesTheFirstDigitWithOnePlaceInAUnit) {
    const std::vector<PlacementCase> cases = {
        {"open grid", nullptr, -1, 0},
        {"digit order beats unit order: 1 in box 60 before 2 in row 0",
         [](Solver& s) {
             KeepOnly(s, 1, BoxCells(60), {80});
             KeepOnly(s, 2, RowCells(0), {0});
         },
         80, 1},
        {"rows before columns: 3 in row 8 before 3 in column 0",
         [](Solver& s) {
             KeepOnly(s, 3, RowCells(8), {80});
             KeepOnly(s, 3, ColumnCells(0), {0});
         },
         80, 3},
        {"columns before boxes: 4 in column 8 before 4 in box 0",
         [](Solver& s) {
             KeepOnly(s, 4, ColumnCells(8), {8});
             KeepOnly(s, 4, BoxCells(0), {20});
         },
         8, 4},
        {"a digit already placed in its units is skipped",
         [](Solver& s) {
             s.Assign(1, 0);
             s.Board[0] = 1;
         },
         -1, 0},
        {"a digit without any place in a row is not reported",
         [](Solver& s) { KeepOnly(s, 2, RowCells(3), {}); }, -1, 0},
        {"a cell with a single candidate is not a hidden single",
         [](Solver& s) { s.Candidates.Set(40, Digits({6})); }, -1, 0},
    };
    RunPlacementCases(cases, [](Solver& s) { return s.HiddenSingle(); });
}

TEST(HiddenSingleTest, FindsASingleMadeAfterAnEarlierCallFoundNone) {
    Solver s = OpenGrid();
    ASSERT_FALSE(s.HiddenSingle());
    KeepOnly(s, 3, RowCells(4), {40});
    EXPECT_TRUE(s.HiddenSingle());
    EXPECT_EQ(s.Board[40], 3);
    // A second single in a unit scanned in the first call.
    KeepOnly(s, 2, RowCells(0), {7});
    EXPECT_TRUE(s.HiddenSingle());
    EXPECT_EQ(s.Board[7], 2);
    EXPECT_FALSE(s.HiddenSingle());
}

// ---------------------------------------------------------------------------
// NakedSingle

TEST(NakedSingleTest, PlacesTheLowestCellWithOneCandidate) {
    const std::vector<PlacementCase> cases = {
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
         [](Solver& s) { KeepOnly(s, 2, RowCells(0), {0}); }, -1, 0},
    };
    RunPlacementCases(cases, [](Solver& s) { return s.NakedSingle(); });
}

// ---------------------------------------------------------------------------
// PointingPair and DiscardPP

TEST(PointingPairTest, RemovesTheDigitAlongTheLineOutsideTheBox) {
    const std::vector<EliminationCase> cases = {
        {"open grid", nullptr, false, {}},
        {"pointing pair in row 0 of box 0",
         [](Solver& s) {
             KeepOnly(s, 5, BoxCells(0), {0, 2});
             KeepOnly(s, 5, RowCells(0), {0, 2, 4, 7});
         },
         true,
         {{Digits({5}), {4, 7}}}},
        {"a pair with nothing to remove lets the scan go on to the next box",
         [](Solver& s) {
             KeepOnly(s, 5, BoxCells(0), {0, 2});
             KeepOnly(s, 5, RowCells(0), {0, 2});
             KeepOnly(s, 5, BoxCells(60), {62, 71, 80});
         },
         true,
         {{Digits({5}), {17, 26, 35, 44, 53}}}},
        {"a pair with nothing to remove and nothing after it",
         [](Solver& s) {
             KeepOnly(s, 5, BoxCells(0), {0, 2});
             KeepOnly(s, 5, RowCells(0), {0, 2});
         },
         false,
         {}},
        {"pointing triple in column 1 of box 27",
         [](Solver& s) {
             KeepOnly(s, 2, BoxCells(27), {28, 37, 46});
         },
         true,
         {{Digits({2}), {1, 10, 19, 55, 64, 73}}}},
        {"single cell: the row is tried first",
         [](Solver& s) { KeepOnly(s, 6, BoxCells(30), {40}); },
         true,
         {{Digits({6}), {36, 37, 38, 42, 43, 44}}}},
        {"single cell: the column when the row has nothing to remove",
         [](Solver& s) {
             KeepOnly(s, 6, BoxCells(30), {40});
             KeepOnly(s, 6, RowCells(4), {40});
         },
         true,
         {{Digits({6}), {4, 13, 22, 58, 67, 76}}}},
        {"digit 1 in box 60 before digit 9 in box 0",
         [](Solver& s) {
             KeepOnly(s, 9, BoxCells(0), {0, 1});
             KeepOnly(s, 1, BoxCells(60), {60, 61});
         },
         true,
         {{Digits({1}), {54, 55, 56, 57, 58, 59}}}},
        {"four cells of a box in two rows point nowhere",
         [](Solver& s) {
             KeepOnly(s, 7, BoxCells(30), {30, 31, 39, 40});
         },
         false,
         {}},
    };
    RunEliminationCases(cases, [](Solver& s) { return s.PointingPair(); });
}

struct DiscardPPCase {
    const char* Name;
    Setup Prepare;
    int BoxLeftTop;
    int Chute;
    bool Expected;
    CellList Removed;
};

TEST(PointingPairTest, DiscardPPClearsTheLineOutsideTheBox) {
    const DiscardPPCase cases[] = {
        {"row offset 1 of box 30", nullptr, 30, 1, true, {36, 37, 38, 42, 43, 44}},
        {"column offset 1 of box 30", nullptr, 30, 4, true, {4, 13, 22, 58, 67, 76}},
        {"row offset 2 of box 60", nullptr, 60, 2, true, {72, 73, 74, 75, 76, 77}},
        {"column offset 2 of box 6", nullptr, 6, 5, true, {35, 44, 53, 62, 71, 80}},
        {"row offset 0 of box 0", nullptr, 0, 0, true, {3, 4, 5, 6, 7, 8}},
        {"nothing left to remove",
         [](Solver& s) {
             KeepOnly(s, 7, RowCells(4), {39, 40, 41});
         },
         30,
         1,
         false,
         {}},
        {"one target left",
         [](Solver& s) {
             KeepOnly(s, 7, RowCells(4), {39, 44});
         },
         30,
         1,
         true,
         {44}},
        {"chute 6 is no chute", nullptr, 30, 6, false, {}},
        {"chute -1 is no chute", nullptr, 30, -1, false, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const Masks expected = AfterEliminations(s.Candidates.Cells(), {{Digits({7}), tc.Removed}});

        EXPECT_EQ(s.DiscardPP(7, tc.BoxLeftTop, tc.Chute), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    }
}

// ---------------------------------------------------------------------------
// BoxLine and DiscardBL

TEST(BoxLineTest, RemovesTheDigitFromTheRestOfTheBox) {
    const std::vector<EliminationCase> cases = {
        {"open grid", nullptr, false, {}},
        {"digit 3 of row 4 only in box 30",
         [](Solver& s) {
             KeepOnly(s, 3, RowCells(4), {39, 40});
         },
         true,
         {{Digits({3}), {30, 31, 32, 48, 49, 50}}}},
        {"row-based digit 9 before column-based digit 1",
         [](Solver& s) {
             KeepOnly(s, 9, RowCells(0), {0, 1});
             KeepOnly(s, 1, ColumnCells(0), {0, 9});
         },
         true,
         {{Digits({9}), {9, 10, 11, 18, 19, 20}}}},
        {"column-based reduction when no row gives one",
         [](Solver& s) {
             KeepOnly(s, 1, ColumnCells(0), {0, 9});
         },
         true,
         {{Digits({1}), {1, 2, 10, 11, 19, 20}}}},
        {"three cells of column 4 in box 30",
         [](Solver& s) {
             KeepOnly(s, 4, ColumnCells(4), {31, 40, 49});
         },
         true,
         {{Digits({4}), {30, 32, 39, 41, 48, 50}}}},
        {"a reduction with nothing to remove lets the scan go on",
         [](Solver& s) {
             KeepOnly(s, 3, RowCells(4), {39, 40});
             KeepOnly(s, 3, BoxCells(30), {39, 40, 41});
             KeepOnly(s, 3, ColumnCells(8), {8, 17, 26});
         },
         true,
         {{Digits({3}), {6, 7, 15, 16, 24, 25}}}},
        {"a line whose digit spans two boxes",
         [](Solver& s) {
             KeepOnly(s, 8, RowCells(4), {38, 39});
         },
         false,
         {}},
    };
    RunEliminationCases(cases, [](Solver& s) { return s.BoxLine(); });
}

struct DiscardBLCase {
    const char* Name;
    Setup Prepare;
    int Indice;
    int Chute;
    int Kind;
    bool Expected;
    CellList Removed;
};

TEST(BoxLineTest, DiscardBLClearsTheBoxOutsideTheLine) {
    const DiscardBLCase cases[] = {
        {"row 4, stack 1", nullptr, 4, 1, 1, true, {30, 31, 32, 48, 49, 50}},
        {"column 4, band 1", nullptr, 4, 1, 2, true, {30, 32, 39, 41, 48, 50}},
        {"row 0, stack 2", nullptr, 0, 2, 1, true, {15, 16, 17, 24, 25, 26}},
        {"column 8, band 2", nullptr, 8, 2, 2, true, {60, 61, 69, 70, 78, 79}},
        {"column 0, band 0", nullptr, 0, 0, 2, true, {1, 2, 10, 11, 19, 20}},
        {"nothing left to remove",
         [](Solver& s) {
             KeepOnly(s, 8, BoxCells(30), {39, 40, 41});
         },
         4,
         1,
         1,
         false,
         {}},
        {"kind 0 is no line", nullptr, 4, 1, 0, false, {}},
        {"kind 3 is no line", nullptr, 4, 1, 3, false, {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const Masks expected = AfterEliminations(s.Candidates.Cells(), {{Digits({8}), tc.Removed}});

        EXPECT_EQ(s.DiscardBL(8, tc.Indice, tc.Chute, tc.Kind), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    }
}

// ---------------------------------------------------------------------------
// NakedHidden: naked subsets

struct SubsetCase {
    const char* Name;
    bool Naked;
    int Size;
    Setup Prepare;
    bool Expected;
    std::vector<Elimination> Removed;
};

void RunSubsetCases(const std::vector<SubsetCase>& cases) {
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const CellValues boardBefore = s.Board;
        const Masks expected = AfterEliminations(s.Candidates.Cells(), tc.Removed);

        EXPECT_EQ(s.NakedHidden(tc.Naked, tc.Size), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
        EXPECT_EQ(s.Board, boardBefore);
    }
}

TEST(NakedHiddenTest, NakedSubsetsRemoveTheirDigitsFromTheUnit) {
    const std::vector<SubsetCase> cases = {
        {"open grid", true, 2, nullptr, false, {}},
        {"naked pair in row 0",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {1, 2, 4, 6, 7, 8}, kNot27);
             SetCells(s, {0, 5}, Digits({2, 7}));
             s.Candidates.Set(3, Digits({2, 4, 7}));
         },
         true,
         {{Digits({2, 7}), {3}}}},
        {"a proper subset of the pair counts",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {1, 2, 4, 6, 7, 8}, kNot27);
             s.Candidates.Set(0, Digits({2}));
             s.Candidates.Set(5, Digits({2, 7}));
             s.Candidates.Set(3, Digits({2, 4, 7}));
         },
         true,
         {{Digits({2, 7}), {3}}}},
        {"three cells exclusive to a pair do nothing",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {1, 3, 5, 6, 7}, kNot27);
             SetCells(s, {0, 4, 8}, Digits({2, 7}));
             s.Candidates.Set(2, Digits({2, 4, 7}));
         },
         false,
         {}},
        {"a pair with nothing to remove lets the next tuple of the unit fire",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {3, 4, 6, 7}, Digits({1, 4, 5, 8, 9}));
             SetCells(s, {0, 5}, Digits({2, 7}));
             SetCells(s, {1, 2}, Digits({3, 6}));
             s.Candidates.Set(8, Digits({1, 3, 4, 5, 6, 8, 9}));
         },
         true,
         {{Digits({3, 6}), {8}}}},
        {"a pair with nothing to remove lets the next unit fire",
         true,
         2,
         [](Solver& s) {
             SetCells(s, RowCells(0), kNot27);
             SetCells(s, {0, 5}, Digits({2, 7}));
             SetCells(s, {18, 19}, Digits({3, 6}));
         },
         true,
         {{Digits({3, 6}), {20, 21, 22, 23, 24, 25, 26}}}},
        {"naked pair in column 4",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {4, 76}, Digits({3, 8}));
         },
         true,
         {{Digits({3, 8}), {13, 22, 31, 40, 49, 58, 67}}}},
        {"naked pair in box 30",
         true,
         2,
         [](Solver& s) {
             SetCells(s, {30, 50}, Digits({3, 8}));
         },
         true,
         {{Digits({3, 8}), {31, 32, 39, 40, 41, 48, 49}}}},
        {"naked triple of pairs",
         true,
         3,
         [](Solver& s) {
             s.Candidates.Set(0, Digits({1, 2}));
             s.Candidates.Set(1, Digits({2, 3}));
             s.Candidates.Set(2, Digits({1, 3}));
         },
         true,
         {{Digits({1, 2, 3}), {3, 4, 5, 6, 7, 8}}}},
        {"naked quad",
         true,
         4,
         [](Solver& s) {
             SetCells(s, {0, 1, 2, 3}, Digits({1, 2, 3, 4}));
         },
         true,
         {{Digits({1, 2, 3, 4}), {4, 5, 6, 7, 8}}}},
        {"naked quint",
         true,
         5,
         [](Solver& s) {
             SetCells(s, {0, 1, 2, 3, 4}, Digits({1, 2, 3, 4, 5}));
         },
         true,
         {{Digits({1, 2, 3, 4, 5}), {5, 6, 7, 8}}}},
        {"a cell without candidates belongs to every tuple",
         true,
         2,
         [](Solver& s) {
             s.Candidates.Set(0, 0);
             s.Candidates.Set(5, Digits({2, 7}));
         },
         true,
         {{Digits({2, 7}), {1, 2, 3, 4, 6, 7, 8}}}},
        {"tuples with a digit placed in the unit are passed over",
         true,
         2,
         [](Solver& s) {
             s.Assign(1, 8);
             s.Board[8] = 1;
             SetCells(s, {0, 5}, Digits({2}));
         },
         true,
         {{Digits({2, 3}), {1, 2, 3, 4, 6, 7}}}},
        {"a naked pair is not found by the triple search",
         true,
         3,
         [](Solver& s) {
             SetCells(s, {0, 5}, Digits({2, 7}));
         },
         false,
         {}},
    };
    RunSubsetCases(cases);
}

// ---------------------------------------------------------------------------
// NakedHidden: hidden subsets

TEST(NakedHiddenTest, HiddenSubsetsClearTheirCellsOfOtherDigits) {
    const CandidateMask not48 = Digits({1, 2, 3, 5, 6, 7, 9});
    const std::vector<SubsetCase> cases = {
        {"open grid", false, 2, nullptr, false, {}},
        {"hidden pair 4 and 8 in row 1",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, RowCells(1), {10, 14});
             KeepOnly(s, 8, RowCells(1), {10, 14});
         },
         true,
         {{not48, {10, 14}}}},
        {"digit 4 only in cell 10 and digit 8 only in cell 14",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, RowCells(1), {10});
             KeepOnly(s, 8, RowCells(1), {14});
         },
         true,
         {{not48, {10, 14}}}},
        {"a bare hidden pair lets the next unit fire",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, RowCells(1), {10, 14});
             KeepOnly(s, 8, RowCells(1), {10, 14});
             SetCells(s, {10, 14}, Digits({4, 8}));
             KeepOnly(s, 5, RowCells(2), {18, 19});
             KeepOnly(s, 6, RowCells(2), {18, 19});
         },
         true,
         {{Digits({1, 2, 3, 4, 7, 8, 9}), {18, 19}}}},
        {"hidden pair in column 4",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, ColumnCells(4), {4, 76});
             KeepOnly(s, 8, ColumnCells(4), {4, 76});
         },
         true,
         {{not48, {4, 76}}}},
        {"hidden pair in box 30",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, BoxCells(30), {30, 50});
             KeepOnly(s, 8, BoxCells(30), {30, 50});
         },
         true,
         {{not48, {30, 50}}}},
        {"hidden triple in row 0",
         false,
         3,
         [](Solver& s) {
             for (int d : {1, 2, 3}) KeepOnly(s, d, RowCells(0), {0, 1, 2});
         },
         true,
         {{Digits({4, 5, 6, 7, 8, 9}), {0, 1, 2}}}},
        {"two digits in a single cell are no hidden pair",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, RowCells(1), {10});
             KeepOnly(s, 8, RowCells(1), {10});
         },
         false,
         {}},
        {"two digits in three cells are no hidden pair",
         false,
         2,
         [](Solver& s) {
             KeepOnly(s, 4, RowCells(1), {10, 14});
             KeepOnly(s, 8, RowCells(1), {10, 15});
         },
         false,
         {}},
    };
    RunSubsetCases(cases);
}

TEST(NakedHiddenTest, UnsupportedKindsAndSizesChangeNothing) {
    const std::vector<SubsetCase> cases = {
        {"naked size 0", true, 0, [](Solver& s) { s.Candidates.Set(0, Digits({2})); }, false, {}},
        {"naked size 1", true, 1, [](Solver& s) { s.Candidates.Set(0, Digits({2})); }, false, {}},
        {"naked size 6",
         true,
         6,
         [](Solver& s) {
             SetCells(s, {0, 1, 2, 3, 4, 5}, Digits({1, 2, 3, 4, 5, 6}));
         },
         false,
         {}},
        {"hidden size 1", false, 1, [](Solver& s) { KeepOnly(s, 2, RowCells(0), {0}); }, false, {}},
        {"hidden size 4",
         false,
         4,
         [](Solver& s) {
             for (int d : {1, 2, 3, 4}) KeepOnly(s, d, RowCells(0), {0, 1, 2, 3});
         },
         false,
         {}},
        {"hidden size 5",
         false,
         5,
         [](Solver& s) {
             for (int d : {1, 2, 3, 4, 5}) KeepOnly(s, d, RowCells(0), {0, 1, 2, 3, 4});
         },
         false,
         {}},
    };
    RunSubsetCases(cases);
}

// ---------------------------------------------------------------------------
// Exclusive

struct ExclusiveCase {
    const char* Name;
    CandidateMask Cell;
    Quintuple Digits;
    int Count;
    bool Expected;
};

TEST(ExclusiveTest, TellsWhetherTheCellLiesInsideTheTuple) {
    const ExclusiveCase cases[] = {
        {"exactly the pair", Digits({2, 7}), {2, 7, 0, 0, 0}, 2, true},
        {"a proper subset", Digits({7}), {2, 7, 0, 0, 0}, 2, true},
        {"no candidates at all", 0, {2, 7, 0, 0, 0}, 2, true},
        {"one digit outside", Digits({2, 4, 7}), {2, 7, 0, 0, 0}, 2, false},
        {"a digit beyond the count does not count", Digits({2, 4, 7}), {2, 7, 4, 0, 0}, 2, false},
        {"the same digit within the count", Digits({2, 4, 7}), {2, 7, 4, 0, 0}, 3, true},
        {"quint", Digits({1, 3, 5, 7, 9}), {1, 3, 5, 7, 9}, 5, true},
        {"one digit outside a quint", Digits({1, 3, 5, 7, 8, 9}), {1, 3, 5, 7, 9}, 5, false},
        {"count 1 is outside 2 to 5", kAllDigits, {1, 0, 0, 0, 0}, 1, true},
        {"count 6 is outside 2 to 5", kAllDigits, {1, 2, 3, 4, 5}, 6, true},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        s.Candidates.Set(40, tc.Cell);
        EXPECT_EQ(s.Exclusive(tc.Digits, tc.Count, 40), tc.Expected);
        EXPECT_EQ(s.Candidates[40], tc.Cell);
    }
}

// ---------------------------------------------------------------------------
// Remove

struct RemoveCase {
    const char* Name;
    Setup Prepare;
    Quintuple Digits;
    int Count;
    Quintuple Cells;
    int Kind;
    bool Expected;
    std::vector<Elimination> Removed;
};

TEST(RemoveTest, ClearsTheTupleFromTheUnitOfTheFirstCell) {
    const CandidateMask d36 = Digits({3, 6});
    const RemoveCase cases[] = {
        {"row of cell 40",
         nullptr,
         {3, 6, 0, 0, 0},
         2,
         {40, 50, 0, 0, 0},
         1,
         true,
         {{d36, {36, 37, 38, 39, 41, 42, 43, 44}}}},
        {"column of cell 40",
         nullptr,
         {3, 6, 0, 0, 0},
         2,
         {40, 49, 0, 0, 0},
         2,
         true,
         {{d36, {4, 13, 22, 31, 58, 67, 76}}}},
        {"kind 3 with cell 40 works on box 30",
         nullptr,
         {3, 6, 0, 0, 0},
         2,
         {40, 50, 0, 0, 0},
         3,
         true,
         {{d36, {30, 31, 32, 39, 41, 48, 49}}}},
        {"kind 3 with a first cell on the box's left edge",
         nullptr,
         {3, 6, 0, 0, 0},
         2,
         {30, 50, 0, 0, 0},
         3,
         true,
         {{d36, {31, 32, 39, 40, 41, 48, 49}}}},
        {"box of cell 80",
         nullptr,
         {3, 6, 9, 0, 0},
         3,
         {80, 60, 70, 0, 0},
         3,
         true,
         {{Digits({3, 6, 9}), {61, 62, 69, 71, 78, 79}}}},
        {"digits and cells beyond the count are ignored",
         nullptr,
         {3, 6, 9, 0, 0},
         2,
         {40, 50, 41, 0, 0},
         3,
         true,
         {{d36, {30, 31, 32, 39, 41, 48, 49}}}},
        {"zero cells beyond the count keep nothing",
         nullptr,
         {3, 6, 0, 0, 0},
         2,
         {4, 8, 0, 0, 0},
         1,
         true,
         {{d36, {0, 1, 2, 3, 5, 6, 7}}}},
        {"nothing left to remove",
         [](Solver& s) {
             KeepOnly(s, 3, BoxCells(30), {40, 50});
             KeepOnly(s, 6, BoxCells(30), {40, 50});
         },
         {3, 6, 0, 0, 0},
         2,
         {40, 50, 0, 0, 0},
         3,
         false,
         {}},
        {"kind 0 is no unit", nullptr, {3, 6, 0, 0, 0}, 2, {40, 50, 0, 0, 0}, 0, false, {}},
        {"kind 4 is no unit", nullptr, {3, 6, 0, 0, 0}, 2, {40, 50, 0, 0, 0}, 4, false, {}},
        {"count 1 is outside 2 to 5", nullptr, {3, 0, 0, 0, 0}, 1, {40, 0, 0, 0, 0}, 1, false, {}},
        {"count 6 is outside 2 to 5",
         nullptr,
         {1, 2, 3, 4, 5},
         6,
         {36, 37, 38, 39, 40},
         1,
         false,
         {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        Solver s = OpenGrid();
        if (tc.Prepare != nullptr) tc.Prepare(s);
        const Masks expected = AfterEliminations(s.Candidates.Cells(), tc.Removed);

        EXPECT_EQ(s.Remove(tc.Digits, tc.Count, tc.Cells, tc.Kind), tc.Expected);
        EXPECT_EQ(CandidateDiff(expected, s.Candidates.Cells()), "");
    }
}

}  // namespace
}  // namespace cluemill
