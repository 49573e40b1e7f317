// SPDX-License-Identifier: MIT
#include "tester/PuzzleText.h"

#include <gtest/gtest.h>

#include <string>

namespace cluemill {
namespace {

TEST(PuzzleText, OnlyTheNineDigitCharactersAreGivens) {
    std::string text(81, 'x');
    text[0] = '5';
    text[1] = '0';
    text[2] = '.';
    text[3] = '9';
    text[4] = ' ';
    text[5] = '\0';
    text[80] = '1';
    const CellValues cells = ReadPuzzleText(text);
    EXPECT_EQ(cells[0], 5);
    EXPECT_EQ(cells[3], 9);
    EXPECT_EQ(cells[80], 1);
    EXPECT_EQ(CountEmptyCells(cells), 78);
}

TEST(PuzzleText, CharactersAfterThe81stAreIgnoredAndMissingOnesAreEmpty) {
    const std::string full = std::string(81, '.') + "123";
    EXPECT_EQ(CountEmptyCells(ReadPuzzleText(full)), 81);
    const CellValues shortText = ReadPuzzleText("12");
    EXPECT_EQ(shortText[0], 1);
    EXPECT_EQ(shortText[1], 2);
    EXPECT_EQ(CountEmptyCells(shortText), 79);
}

TEST(PuzzleText, WritesEmptyCellsWithTheChosenCharacter) {
    CellValues cells{};
    cells[0] = 7;
    cells[80] = 3;
    const std::string dots = WritePuzzleText(cells, '.');
    const std::string zeros = WritePuzzleText(cells, '0');
    ASSERT_EQ(dots.size(), 81u);
    EXPECT_EQ(dots, "7" + std::string(79, '.') + "3");
    EXPECT_EQ(zeros, "7" + std::string(79, '0') + "3");
    EXPECT_EQ(ReadPuzzleText(zeros), cells);
}

struct ConflictCase {
    const char* Name;
    int FirstCell;
    int SecondCell;
    bool Conflict;
};

void PrintTo(const ConflictCase& c, std::ostream* os) { *os << c.Name; }

class GivensConflictTest : public ::testing::TestWithParam<ConflictCase> {};

TEST_P(GivensConflictTest, SameDigitTwiceInAUnit) {
    const ConflictCase& c = GetParam();
    CellValues puzzle{};
    puzzle[c.FirstCell] = 4;
    puzzle[c.SecondCell] = 4;
    EXPECT_EQ(GivensConflict(puzzle), c.Conflict);
    puzzle[c.SecondCell] = 5;
    EXPECT_FALSE(GivensConflict(puzzle));
}

INSTANTIATE_TEST_SUITE_P(Units, GivensConflictTest,
                         ::testing::Values(ConflictCase{"Row", 9, 17, true},
                                           ConflictCase{"Column", 4, 76, true},
                                           ConflictCase{"Box", 30, 50, true},
                                           ConflictCase{"NoSharedUnit", 0, 40, false},
                                           ConflictCase{"NeighbourBoxes", 2, 12, false}),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace cluemill
