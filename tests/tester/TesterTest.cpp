// SPDX-License-Identifier: MIT
// The puzzle tester through the Form and a scripted platform: text input,
// file drops and "Check  Uniqueness" with its seven verdicts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::FakePlatform;

const std::string kMinimal =
    "..47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..";
const std::string kSolution =
    "824763519651289374379451286763145892142938765598672431417326958286597143935814627";
// The solution without its last four cells: unique, and every given but
// those of the last row can go; cell 0 is the first in cell order.
const std::string kNonMinimal = kSolution.substr(0, 77) + "....";
// Every empty cell has a candidate, yet the search finds no solution.
const std::string kNoSolution =
    "539.....81...6.........25...9.2..8.............8..6.7...27.........2...97.....683";
// Cell 8 sees 1 to 8 in its row and 9 in its column.
const std::string kDeadCell = "12345678." + std::string(8, '.') + "9" + std::string(63, '.');

class TesterTest : public ::testing::Test {
protected:
    FakePlatform platform;
    Main main{platform};

    void Type(const std::string& text) {
        main.Form.Text2.SelStart = static_cast<std::int64_t>(text.size());
        main.SetText2(text);
    }
    std::string GridText() const {
        std::string text;
        for (const auto& cell : main.Form.Grid) text += cell.Caption.empty() ? "_" : cell.Caption;
        return text;
    }
    const FakePlatform::Message& OnlyMessage() const {
        EXPECT_EQ(platform.Messages.size(), 1u);
        return platform.Messages.back();
    }
    std::string TempFile(const std::string& name, const std::string& content) const {
        const std::string path = ::testing::TempDir() + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
};

TEST_F(TesterTest, The81stCharacterShowsTheWholeGrid) {
    Type(kMinimal.substr(0, 80));
    EXPECT_EQ(GridText(), std::string(81, '_'));
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);

    Type(kMinimal);
    for (int i = 0; i < 81; ++i) {
        const bool given = kMinimal[i] != '.';
        EXPECT_EQ(main.Form.Grid[i].Caption, given ? std::string(1, kMinimal[i]) : "0") << i;
        EXPECT_EQ(main.Form.Grid[i].BackColor, given ? kRed : kWindowBackground) << i;
    }
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, kMinimal);

    // Shorter again: the grid keeps what it shows.
    Type(kMinimal.substr(0, 40));
    EXPECT_EQ(main.Form.Grid[2].Caption, "4");
}

TEST_F(TesterTest, ReadsOnlyDigitsAsGivensAndIgnoresWhatFollows) {
    Type("5" + std::string(79, 'x') + "0" + "123");
    EXPECT_EQ(main.Form.Grid[0].Caption, "5");
    EXPECT_EQ(main.Form.Grid[0].BackColor, kRed);
    for (int i = 1; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].Caption, "0") << i;

    // A keystroke past the 81st changes nothing on the grid but enables the
    // button again.
    main.Form.ButtonSolve.Enabled = false;
    Type(std::string(81, '.') + "7");
    EXPECT_EQ(main.Form.Grid[0].Caption, "0");
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
}

TEST_F(TesterTest, KeepsTheCaretEvenBeyond32767) {
    const std::string text = kMinimal + std::string(40000, '.');
    main.Form.Text2.SelStart = 40000;
    main.Form.Text2.SelLength = 3;
    main.SetText2(text);
    EXPECT_EQ(main.Form.Text2.SelStart, 40000);
    EXPECT_EQ(main.Form.Text2.SelLength, 0);
    EXPECT_EQ(main.Form.Grid[2].Caption, "4");
}

TEST_F(TesterTest, TextIsNotReadDuringARunOrWhileInputIsOff) {
    main.Generating = true;
    Type(kMinimal);
    EXPECT_EQ(GridText(), std::string(81, '_'));
    main.Generating = false;
    main.TextInputEnabled = false;
    Type(kMinimal);
    EXPECT_EQ(GridText(), std::string(81, '_'));
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
}

struct DropRefusal {
    const char* Name;
    int Files;  // how many copies of the file are dropped
    const char* FileName;
    const char* Text;
    const char* Caption;
};

void PrintTo(const DropRefusal& r, std::ostream* os) { *os << r.Name; }

class DropRefusalTest : public TesterTest, public ::testing::WithParamInterface<DropRefusal> {};

TEST_P(DropRefusalTest, ShowsItsMessageAndChangesNothing) {
    const DropRefusal& r = GetParam();
    std::string path;
    if (std::string(r.FileName) == "folder") {
        path = ::testing::TempDir() + "folder.txt";
        std::filesystem::create_directories(path);
    } else {
        path = TempFile(r.FileName, kMinimal);
    }
    main.Text1_OLEDragDrop(std::vector<std::string>(r.Files, path));
    const auto& message = OnlyMessage();
    EXPECT_EQ(message.Text, r.Text);
    EXPECT_EQ(message.Caption, r.Caption);
    EXPECT_EQ(GridText(), std::string(81, '_'));
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropRefusalTest,
    ::testing::Values(
        DropRefusal{"TwoFiles", 2, "a.txt", "Only allows 1 file at a time In beta version! Sorry!",
                    "Ooops beta version"},
        DropRefusal{"Folder", 1, "folder",
                    "Sorry this beta version only allows files Not directories to be installed", "Cluemill"},
        DropRefusal{"OtherExtension", 1, "puzzle.dat", "This file is not a txt-file (*.txt)", "Cluemill"},
        DropRefusal{"LongerExtension", 1, "puzzle.txtx", "This file is not a txt-file (*.txt)", "Cluemill"}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(TesterTest, DropReadsTheFirst81BytesOfATxtFileInAnyLetterCase) {
    main.Text1_OLEDragDrop({TempFile("upper.TXT", kMinimal + "\r\nmore")});
    EXPECT_TRUE(platform.Messages.empty());
    EXPECT_EQ(main.Form.Grid[2].Caption, "4");
    EXPECT_EQ(main.Form.Grid[2].BackColor, kRed);
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, "");  // a drop leaves the text box alone

    main.Text1_OLEDragDrop({TempFile("mixed.Txt", "9")});
    EXPECT_EQ(main.Form.Grid[0].Caption, "9");
    for (int i = 1; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].Caption, "0") << i;
}

TEST_F(TesterTest, NineLinesOfNineAreNotReadAsThatPuzzle) {
    std::string lines;
    for (int row = 0; row < 9; ++row) lines += kSolution.substr(row * 9, 9) + "\r\n";
    main.Text1_OLEDragDrop({TempFile("lines.txt", lines)});
    EXPECT_EQ(main.Form.Grid[8].Caption, "9");   // end of the first line
    EXPECT_EQ(main.Form.Grid[9].Caption, "0");   // its CR
    EXPECT_EQ(main.Form.Grid[10].Caption, "0");  // its LF
    EXPECT_EQ(main.Form.Grid[11].Caption, "6");  // the second line begins
}

TEST_F(TesterTest, DropsWithoutAFileOrOfAFileThatCannotBeReadDoNoHarm) {
    main.Text1_OLEDragDrop({});
    EXPECT_TRUE(platform.Messages.empty());
    main.Text1_OLEDragDrop({::testing::TempDir() + "missing/nothing.txt"});
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_NE(platform.Messages[0].Text.find("cannot be read"), std::string::npos);
    EXPECT_EQ(GridText(), std::string(81, '_'));
}

struct VerdictCase {
    const char* Name;
    std::string Puzzle;
    int Minimal;  // TestMinimal.Value
    const char* Text;
    const char* Caption;
    bool ButtonAfter;  // ButtonSolve.Enabled afterwards
    bool Solved;       // the grid and Text2 show the solution afterwards
};

void PrintTo(const VerdictCase& c, std::ostream* os) { *os << c.Name; }

class VerdictTest : public TesterTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(VerdictTest, ShowsTheVerdictAndLeavesTheWindowAsItShould) {
    const VerdictCase& c = GetParam();
    Type(c.Puzzle);
    main.Form.TestMinimal.Value = c.Minimal;
    main.Form.CommandGenerate.Caption = "something else";
    main.Form.Grid[5].ForeColor = kWhite;
    main.ButtonSolve_Click();

    const auto& message = OnlyMessage();
    EXPECT_EQ(message.Text, c.Text);
    EXPECT_EQ(message.Caption, c.Caption);
    EXPECT_EQ(main.Form.ButtonSolve.Enabled, c.ButtonAfter);
    EXPECT_EQ(main.Form.CommandGenerate.Caption, "Generate Sudokus");
    EXPECT_TRUE(main.TextInputEnabled);
    for (int i = 0; i < 81; ++i) {
        const bool given = c.Puzzle[i] >= '1' && c.Puzzle[i] <= '9';
        EXPECT_EQ(main.Form.Grid[i].BackColor, given ? kRed : kWindowBackground) << i;
    }
    if (c.Solved) {
        EXPECT_EQ(main.Form.Text2.Text, kSolution);
        for (int i = 0; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].Caption, kSolution.substr(i, 1)) << i;
        EXPECT_EQ(main.Solver.Board, ReadPuzzleText(kSolution));
    } else {
        EXPECT_EQ(main.Form.Text2.Text, c.Puzzle);
        for (int i = 0; i < 81; ++i) {
            const bool given = c.Puzzle[i] >= '1' && c.Puzzle[i] <= '9';
            EXPECT_EQ(main.Form.Grid[i].Caption, given ? c.Puzzle.substr(i, 1) : "0") << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, VerdictTest,
    ::testing::Values(
        VerdictCase{"Conflict", "44" + std::string(79, '.'), 0, "Invalid given(s) found !!!", "Invalid Sudoku",
                    true, false},
        VerdictCase{"ConflictInABox", "4........." + std::string(9, '.') + ".4" + std::string(61, '.'), 0,
                    "Invalid given(s) found !!!", "Invalid Sudoku", true, false},
        VerdictCase{"Complete", kSolution, 0, "The sudoku you want to test is complete allready !!!",
                    "Sudoku Complete", true, false},
        VerdictCase{"CompleteWithAConflict", "8" + kSolution.substr(0, 80), 0, "Invalid given(s) found !!!",
                    "Invalid Sudoku", true, false},
        VerdictCase{"DeadCell", kDeadCell, 0, "This Sudoku has no solution", "Invalid Sudoku", false, false},
        VerdictCase{"NoSolution", kNoSolution, 0, "This Sudoku has no solution", "Invalid Sudoku", false,
                    false},
        VerdictCase{"EmptyGrid", std::string(81, '.'), 0, "This Sudoku has more than one solution",
                    "Invalid Sudoku", false, false},
        VerdictCase{"Unique", kMinimal, 0, "This Sudoku has one unique solution", "Valid Sudoku", false, true},
        VerdictCase{"UniqueAndMinimal", kMinimal, 1, "This Sudoku has one unique solution and is minimal",
                    "Valid Sudoku", false, true},
        VerdictCase{"UniqueNonMinimal", kNonMinimal, 1, "This Sudoku has one unique solution but is non-minimal",
                    "Valid Sudoku", false, true}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(TesterTest, TheFirstRedundantGivenInCellOrderTurnsWhite) {
    Type(kNonMinimal);
    main.Form.TestMinimal.Value = 1;
    main.ButtonSolve_Click();
    for (int i = 0; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].ForeColor, i == 0 ? kWhite : kBlack) << i;

    // A minimal puzzle: every given stays black.
    Type(kMinimal);
    main.ButtonSolve_Click();
    for (int i = 0; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].ForeColor, kBlack) << i;
}

TEST_F(TesterTest, NothingElseCanStartWhileTheMinimalityCheckRuns) {
    Type(kMinimal);
    main.Form.TestMinimal.Value = 1;
    int checks = 0;
    platform.OnDoEvents = [&](int) {
        ++checks;
        EXPECT_EQ(main.Form.Main.Caption, "Cluemill - Minimal check busy");
        EXPECT_FALSE(main.Form_QueryUnload());
        EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
        EXPECT_FALSE(main.Form.CommandGenerate.Enabled);
        EXPECT_FALSE(main.Form.ButtonExit.Enabled);
        EXPECT_FALSE(main.Form.Text1.Enabled);
        EXPECT_FALSE(main.TextInputEnabled);
    };
    main.ButtonSolve_Click();
    // One check per given whose removal leaves the puzzle ambiguous.
    EXPECT_EQ(checks, 81 - static_cast<int>(std::count(kMinimal.begin(), kMinimal.end(), '.')));
    EXPECT_EQ(main.Form.Main.Caption, "Cluemill");
    EXPECT_TRUE(main.Form_QueryUnload());
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);
    EXPECT_TRUE(main.Form.ButtonExit.Enabled);
    EXPECT_TRUE(main.Form.Text1.Enabled);
}

TEST_F(TesterTest, AConflictLeavesTheButtonForASecondClick) {
    Type("77" + std::string(79, '.'));
    main.ButtonSolve_Click();
    main.ButtonSolve_Click();
    ASSERT_EQ(platform.Messages.size(), 2u);
    EXPECT_EQ(platform.Messages[1].Text, "Invalid given(s) found !!!");
}

}  // namespace
}  // namespace cluemill
