// SPDX-License-Identifier: MIT
// The puzzle tester through the Form and a scripted platform: text input,
// file drops and "Check  Uniqueness" with its seven verdicts. The verdicts
// of many puzzles are recorded in tests/data (RecordedTest.cpp).
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

const std::string kMinimal =
    "..47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..";
const std::string kSolution =
    "824763519651289374379451286763145892142938765598672431417326958286597143935814627";
// The solution without its last four cells: unique, and every given but
// those of the last row can go; cell 0 is the first in cell order.
const std::string kNonMinimal = kSolution.substr(0, 77) + "....";
const std::string kBlankGrid(81, '_');

// A window of its own with a scripted platform.
struct Window {
    testing::FakePlatform platform;
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
    // What the grid shows for a puzzle line: the givens, "0" elsewhere, and
    // the givens on red.
    void ExpectShown(const std::string& puzzle) const {
        for (int i = 0; i < 81; ++i) {
            const bool given = puzzle[i] >= '1' && puzzle[i] <= '9';
            EXPECT_EQ(main.Form.Grid[i].Caption, std::string(1, given ? puzzle[i] : '0')) << i;
            EXPECT_EQ(main.Form.Grid[i].BackColor, given ? kRed : kWindowBackground) << i;
        }
    }
};

class TesterTest : public ::testing::Test, public Window {};

TEST_F(TesterTest, The81stCharacterShowsTheGridAndEveryKeystrokeReadsItAgain) {
    Type(kMinimal.substr(0, 80));
    main.Generating = true;  // nothing is read during a run
    Type(kMinimal);
    main.Generating = false;
    main.TextInputEnabled = false;  // nor while the tester writes the solution
    Type(kMinimal);
    main.TextInputEnabled = true;
    EXPECT_EQ(GridText(), kBlankGrid);
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
    Type("5" + std::string(78, 'x') + "09" + "123");  // only "1" to "9" are givens
    ExpectShown("5" + std::string(79, '.') + "9");
    Type(kMinimal);
    ExpectShown(kMinimal);
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, kMinimal);
    Type(kMinimal.substr(0, 40));  // shorter again: the grid keeps what it shows
    ExpectShown(kMinimal);
    // A keystroke past the 81st changes nothing on the grid but enables the
    // button again; the caret stays, even beyond 32767.
    main.Form.ButtonSolve.Enabled = false;
    main.Form.Text2.SelStart = 40000;
    main.Form.Text2.SelLength = 3;
    main.SetText2(kMinimal + std::string(40000, '.'));
    EXPECT_EQ(main.Form.Text2.SelStart, 40000);
    EXPECT_EQ(main.Form.Text2.SelLength, 0);
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    ExpectShown(kMinimal);
}

std::string TempFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(TesterDropTest, RefusalsShowTheirMessageAndChangeNothing) {
    const std::string folder = ::testing::TempDir() + "folder.txt";
    const std::string missing = ::testing::TempDir() + "missing/nothing.txt";
    std::filesystem::create_directories(folder);
    const std::string puzzle = TempFile("a.txt", kMinimal);
    const std::vector<std::vector<std::string>> drops = {{puzzle, puzzle},
                                                         {folder},
                                                         {TempFile("p.dat", kMinimal)},
                                                         {TempFile("p.txtx", kMinimal)},
                                                         {missing}};
    const std::vector<std::pair<std::string, std::string>> messages = {
        {"Only allows 1 file at a time In beta version! Sorry!", "Ooops beta version"},
        {"Sorry this beta version only allows files Not directories to be installed", "Cluemill"},
        {"This file is not a txt-file (*.txt)", "Cluemill"},
        {"This file is not a txt-file (*.txt)", "Cluemill"},
        {"This file cannot be read:\r\n" + missing, "Cluemill"}};
    for (std::size_t k = 0; k < drops.size(); ++k) {
        Window w;
        w.main.Text1_OLEDragDrop(drops[k]);
        ASSERT_EQ(w.platform.Messages.size(), 1u) << k;
        EXPECT_EQ(w.platform.Messages[0].Text, messages[k].first);
        EXPECT_EQ(w.platform.Messages[0].Caption, messages[k].second);
        EXPECT_EQ(w.GridText(), kBlankGrid);
        EXPECT_FALSE(w.main.Form.ButtonSolve.Enabled);
    }
}

TEST_F(TesterTest, DropReadsTheFirst81BytesOfATxtFileInAnyLetterCase) {
    main.Text1_OLEDragDrop({});  // a drop without a file name is not for us
    main.Text1_OLEDragDrop({TempFile("upper.TXT", kMinimal + "\r\nmore")});
    EXPECT_TRUE(platform.Messages.empty());
    ExpectShown(kMinimal);
    EXPECT_TRUE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(main.Form.Text2.Text, "");  // a drop leaves the text box alone
    main.Text1_OLEDragDrop({TempFile("mixed.Txt", "9")});
    ExpectShown("9" + std::string(80, '.'));
    // A file that opens but cannot be read (this process's memory at address
    // 0) is ignored like a drop without a file.
    const std::string unreadable = ::testing::TempDir() + "unreadable.txt";
    std::filesystem::remove(unreadable);
    std::filesystem::create_symlink("/proc/self/mem", unreadable);
    main.Text1_OLEDragDrop({unreadable});
    EXPECT_TRUE(platform.Messages.empty());
    ExpectShown("9" + std::string(80, '.'));
    // Nine lines of nine are not that puzzle: line ends take cells.
    std::string lines;
    for (int row = 0; row < 9; ++row) lines += kSolution.substr(row * 9, 9) + "\r\n";
    main.Text1_OLEDragDrop({TempFile("lines.txt", lines)});
    EXPECT_EQ(GridText().substr(0, 12), kSolution.substr(0, 9) + "006");
}

TEST(TesterVerdictTest, ShowsTheVerdictAndLeavesTheWindowAsItShould) {
    struct VerdictCase {
        std::string Puzzle;
        int Minimal;  // TestMinimal.Value
        const char* Text;
        const char* Caption;
        bool ButtonAfter;  // ButtonSolve.Enabled afterwards
    };
    const char* const invalid = "Invalid given(s) found !!!";
    const char* const noSolution = "This Sudoku has no solution";
    const VerdictCase cases[] = {
        {"8" + kSolution.substr(0, 80), 0, invalid, "Invalid Sudoku", true},  // before complete
        {kSolution, 0, "The sudoku you want to test is complete allready !!!", "Sudoku Complete",
         true},
        // Cell 8 sees 1 to 8 in its row and 9 in its column.
        {"12345678." + std::string(8, '.') + "9" + std::string(63, '.'), 0, noSolution,
         "Invalid Sudoku", false},
        {"539.....81...6.........25...9.2..8.............8..6.7...27.........2...97.....683", 0,
         noSolution, "Invalid Sudoku", false},
        {std::string(81, '.'), 0, "This Sudoku has more than one solution", "Invalid Sudoku",
         false},
        {kMinimal, 0, "This Sudoku has one unique solution", "Valid Sudoku", false},
        {kMinimal, 1, "This Sudoku has one unique solution and is minimal", "Valid Sudoku", false},
        {kNonMinimal, 1, "This Sudoku has one unique solution but is non-minimal", "Valid Sudoku",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
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
        // A unique puzzle is shown solved, givens still on red.
        const bool solved = std::string(c.Caption) == "Valid Sudoku";
        EXPECT_EQ(w.main.Form.Text2.Text, solved ? kSolution : c.Puzzle);
        if (solved) {
            EXPECT_EQ(w.GridText(), kSolution);
            EXPECT_EQ(w.main.Tester.Solver.Board, ReadPuzzleText(kSolution));
            for (int i = 0; i < 81; ++i) {
                EXPECT_EQ(w.main.Form.Grid[i].BackColor,
                          c.Puzzle[i] != '.' ? kRed : kWindowBackground);
            }
        } else {
            w.ExpectShown(c.Puzzle);
        }
    }
}

TEST_F(TesterTest, TheFirstRedundantGivenTurnsWhiteAndNothingElseStartsMeanwhile) {
    main.Form.Grid[5].ForeColor = kWhite;  // left from an earlier check
    Type(kNonMinimal);
    main.Form.TestMinimal.Value = 1;
    main.ButtonSolve_Click();
    for (int i = 0; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].ForeColor, i == 0 ? kWhite : kBlack);

    Type(kMinimal);
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
    // One check per given, each leaving the puzzle ambiguous; all stay black.
    EXPECT_EQ(checks, 81 - static_cast<int>(std::count(kMinimal.begin(), kMinimal.end(), '.')));
    for (int i = 0; i < 81; ++i) EXPECT_EQ(main.Form.Grid[i].ForeColor, kBlack) << i;
    EXPECT_EQ(main.Form.Main.Caption, "Cluemill");
    EXPECT_TRUE(main.Form_QueryUnload());
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);
    EXPECT_TRUE(main.Form.ButtonExit.Enabled);
    EXPECT_TRUE(main.Form.Text1.Enabled);
}

}  // namespace
}  // namespace cluemill
