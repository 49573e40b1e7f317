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
// Sixteen givens and no solution: a search without the logic pass's
// deductions takes seconds to exhaust it.
const std::string kSparseNoSolution =
    ".......................8.5......1............6....45...271......1.27...........4.";
// Cell 8 sees 1 to 8 in its row and 9 in its column.
const std::string kDeadCell = "12345678." + std::string(8, '.') + "9" + std::string(63, '.');
const std::string kBlankGrid(81, '_');

// A window of its own with a scripted platform.
struct Window {
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
    // What the grid shows for a puzzle line: the givens, "0" elsewhere.
    static std::string Shown(const std::string& puzzle) {
        std::string text = puzzle.substr(0, 81);
        for (char& c : text) c = c >= '1' && c <= '9' ? c : '0';
        return text;
    }
};

std::string TempFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

class TesterTest : public ::testing::Test, public Window {};

TEST_F(TesterTest, The81stCharacterShowsTheWholeGrid) {
    Type(kMinimal.substr(0, 80));
    EXPECT_EQ(GridText(), kBlankGrid);
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);

    Type(kMinimal);
    EXPECT_EQ(GridText(), Shown(kMinimal));
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(main.Form.Grid[i].BackColor, kMinimal[i] != '.' ? kRed : kWindowBackground) << i;
    }
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, kMinimal);

    // Shorter again: the grid keeps what it shows.
    Type(kMinimal.substr(0, 40));
    EXPECT_EQ(GridText(), Shown(kMinimal));
}

TEST_F(TesterTest, ReadsOnlyDigitsAsGivensAndIgnoresWhatFollows) {
    Type("5" + std::string(78, 'x') + "09" + "123");
    EXPECT_EQ(GridText(), "5" + std::string(79, '0') + "9");
    EXPECT_EQ(main.Form.Grid[79].BackColor, kWindowBackground);
    EXPECT_EQ(main.Form.Grid[80].BackColor, kRed);

    // A keystroke past the 81st changes nothing on the grid but enables the
    // button again.
    main.Form.ButtonSolve.Enabled = false;
    Type(std::string(81, '.') + "7");
    EXPECT_EQ(GridText(), std::string(81, '0'));
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
}

TEST_F(TesterTest, KeepsTheCaretEvenBeyond32767) {
    main.Form.Text2.SelStart = 40000;
    main.Form.Text2.SelLength = 3;
    main.SetText2(kMinimal + std::string(40000, '.'));
    EXPECT_EQ(main.Form.Text2.SelStart, 40000);
    EXPECT_EQ(main.Form.Text2.SelLength, 0);
    EXPECT_EQ(GridText(), Shown(kMinimal));
}

TEST_F(TesterTest, TextIsNotReadDuringARunOrWhileInputIsOff) {
    main.Generating = true;
    Type(kMinimal);
    EXPECT_EQ(GridText(), kBlankGrid);
    main.Generating = false;
    main.TextInputEnabled = false;
    Type(kMinimal);
    EXPECT_EQ(GridText(), kBlankGrid);
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
}

TEST(TesterDropTest, RefusalsShowTheirMessageAndChangeNothing) {
    struct Refusal {
        int Files;  // how many copies of the file are dropped
        const char* FileName;
        const char* Text;
        const char* Caption;
    };
    const Refusal refusals[] = {
        {2, "a.txt", "Only allows 1 file at a time In beta version! Sorry!", "Ooops beta version"},
        {1, "folder.txt",
         "Sorry this beta version only allows files Not directories to be installed", "Cluemill"},
        {1, "puzzle.dat", "This file is not a txt-file (*.txt)", "Cluemill"},
        {1, "puzzle.txtx", "This file is not a txt-file (*.txt)", "Cluemill"},
        {1, "missing/nothing.txt", "This file cannot be read:\r\n", "Cluemill"},
    };
    std::filesystem::create_directories(::testing::TempDir() + "folder.txt");
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.FileName);
        Window w;
        const std::string name = r.FileName;
        const std::string path = name == "folder.txt" || name.starts_with("missing")
                                     ? ::testing::TempDir() + name
                                     : TempFile(name, kMinimal);
        w.main.Text1_OLEDragDrop(std::vector<std::string>(r.Files, path));
        ASSERT_EQ(w.platform.Messages.size(), 1u);
        const std::string tail = name.starts_with("missing") ? path : "";
        EXPECT_EQ(w.platform.Messages[0].Text, r.Text + tail);
        EXPECT_EQ(w.platform.Messages[0].Caption, r.Caption);
        EXPECT_EQ(w.GridText(), kBlankGrid);
        EXPECT_FALSE(w.main.Form.ButtonSolve.Enabled);
    }
}

TEST_F(TesterTest, DropReadsTheFirst81BytesOfATxtFileInAnyLetterCase) {
    main.Text1_OLEDragDrop({});  // a drop without a file name is not for us
    main.Text1_OLEDragDrop({TempFile("upper.TXT", kMinimal + "\r\nmore")});
    EXPECT_TRUE(platform.Messages.empty());
    EXPECT_EQ(GridText(), Shown(kMinimal));
    EXPECT_EQ(main.Form.Grid[2].BackColor, kRed);
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, "");  // a drop leaves the text box alone

    main.Text1_OLEDragDrop({TempFile("mixed.Txt", "9")});
    EXPECT_EQ(GridText(), "9" + std::string(80, '0'));

    // A file that opens but cannot be read (this process's memory at address
    // 0) is ignored like a drop without a file.
    const std::string unreadable = ::testing::TempDir() + "unreadable.txt";
    std::filesystem::remove(unreadable);
    std::filesystem::create_symlink("/proc/self/mem", unreadable);
    main.Text1_OLEDragDrop({unreadable});
    EXPECT_TRUE(platform.Messages.empty());
    EXPECT_EQ(GridText(), "9" + std::string(80, '0'));

    // Nine lines of nine are not that puzzle: line ends take cells.
    std::string lines;
    for (int row = 0; row < 9; ++row) lines += kSolution.substr(row * 9, 9) + "\r\n";
    main.Text1_OLEDragDrop({TempFile("lines.txt", lines)});
    EXPECT_EQ(GridText().substr(0, 12), kSolution.substr(0, 9) + "006");
}

TEST(TesterVerdictTest, ShowsTheVerdictAndLeavesTheWindowAsItShould) {
    struct VerdictCase {
        const char* Name;
        std::string Puzzle;
        int Minimal;  // TestMinimal.Value
        const char* Text;
        const char* Caption;
        bool ButtonAfter;  // ButtonSolve.Enabled afterwards
        bool Solved;       // the grid and Text2 show the solution afterwards
    };
    const char* const invalid = "Invalid given(s) found !!!";
    const char* const noSolution = "This Sudoku has no solution";
    const VerdictCase cases[] = {
        {"conflict", "44" + std::string(79, '.'), 0, invalid, "Invalid Sudoku", true, false},
        {"conflict in a column", "4" + std::string(8, '.') + "4" + std::string(71, '.'), 0, invalid,
         "Invalid Sudoku", true, false},
        {"conflict in a box", "4" + std::string(19, '.') + "4" + std::string(60, '.'), 0, invalid,
         "Invalid Sudoku", true, false},
        {"complete", kSolution, 0, "The sudoku you want to test is complete allready !!!",
         "Sudoku Complete", true, false},
        {"complete with a conflict", "8" + kSolution.substr(0, 80), 0, invalid, "Invalid Sudoku",
         true, false},
        {"dead cell", kDeadCell, 0, noSolution, "Invalid Sudoku", false, false},
        {"no solution", kNoSolution, 0, noSolution, "Invalid Sudoku", false, false},
        {"no solution, sparse", kSparseNoSolution, 0, noSolution, "Invalid Sudoku", false, false},
        {"empty grid", std::string(81, '.'), 0, "This Sudoku has more than one solution",
         "Invalid Sudoku", false, false},
        {"unique", kMinimal, 0, "This Sudoku has one unique solution", "Valid Sudoku", false, true},
        {"unique and minimal", kMinimal, 1, "This Sudoku has one unique solution and is minimal",
         "Valid Sudoku", false, true},
        {"unique, non-minimal", kNonMinimal, 1,
         "This Sudoku has one unique solution but is non-minimal", "Valid Sudoku", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Window w;
        w.Type(c.Puzzle);
        w.main.Form.TestMinimal.Value = c.Minimal;
        w.main.Form.CommandGenerate.Caption = "something else";
        w.main.ButtonSolve_Click();

        ASSERT_EQ(w.platform.Messages.size(), 1u);
        EXPECT_EQ(w.platform.Messages[0].Text, c.Text);
        EXPECT_EQ(w.platform.Messages[0].Caption, c.Caption);
        EXPECT_EQ(w.main.Form.ButtonSolve.Enabled, c.ButtonAfter);
        EXPECT_EQ(w.main.Form.CommandGenerate.Caption, "Generate Sudokus");
        EXPECT_TRUE(w.main.TextInputEnabled);
        for (int i = 0; i < 81; ++i) {
            const bool given = c.Puzzle[i] >= '1' && c.Puzzle[i] <= '9';
            EXPECT_EQ(w.main.Form.Grid[i].BackColor, given ? kRed : kWindowBackground) << i;
        }
        EXPECT_EQ(w.main.Form.Text2.Text, c.Solved ? kSolution : c.Puzzle);
        EXPECT_EQ(w.GridText(), c.Solved ? kSolution : Window::Shown(c.Puzzle));
        if (c.Solved) {
            EXPECT_EQ(w.main.Tester.Solver.Board, ReadPuzzleText(kSolution));
        }
    }
}

TEST_F(TesterTest, TheFirstRedundantGivenInCellOrderTurnsWhite) {
    main.Form.Grid[5].ForeColor = kWhite;  // left from an earlier check
    Type(kNonMinimal);
    main.Form.TestMinimal.Value = 1;
    main.ButtonSolve_Click();
    for (int i = 0; i < 81; ++i)
        EXPECT_EQ(main.Form.Grid[i].ForeColor, i == 0 ? kWhite : kBlack) << i;

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
