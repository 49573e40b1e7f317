// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

TEST(PuzzleText, OnlyTheNineDigitCharactersAreGivens) {
    std::string text(81, 'x');
    text.replace(0, 6, std::string("50.9 \0", 6));
    text[80] = '1';
    const CellValues cells = ReadPuzzleText(text + "123");  // past the 81st: ignored
    CellValues expected{};
    expected[0] = 5;
    expected[3] = 9;
    expected[80] = 1;
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(CountEmptyCells(cells), 78);

    const CellValues shortText = ReadPuzzleText("12");  // missing cells are empty
    EXPECT_EQ(shortText[0], 1);
    EXPECT_EQ(shortText[1], 2);
    EXPECT_EQ(CountEmptyCells(shortText), 79);
}

TEST(PuzzleText, WritesEmptyCellsWithTheChosenCharacter) {
    CellValues cells{};
    cells[0] = 7;
    cells[80] = 3;
    EXPECT_EQ(WritePuzzleText(cells, '.'), "7" + std::string(79, '.') + "3");
    const std::string zeros = WritePuzzleText(cells, '0');
    EXPECT_EQ(zeros, "7" + std::string(79, '0') + "3");
    EXPECT_EQ(ReadPuzzleText(zeros), cells);
}

TEST(PuzzleText, GivensConflictMeansTheSameDigitTwiceInAUnit) {
    struct ConflictCase {
        const char* Name;
        int FirstCell;
        int SecondCell;
        bool Conflict;
    };
    const ConflictCase cases[] = {
        {"row", 9, 17, true},
        {"column", 4, 76, true},
        {"box", 30, 50, true},
        {"no shared unit", 0, 40, false},
        {"neighbour boxes", 2, 12, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        CellValues puzzle{};
        puzzle[c.FirstCell] = 4;
        puzzle[c.SecondCell] = 4;
        EXPECT_EQ(GivensConflict(puzzle), c.Conflict);
        puzzle[c.SecondCell] = 5;
        EXPECT_FALSE(GivensConflict(puzzle));
    }
}

}  // namespace
}  // namespace cluemill
