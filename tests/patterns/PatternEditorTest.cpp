// SPDX-License-Identifier: MIT
// The pattern editor and the start-up through the window's state: clicking
// cells, stepping through the library, and what Form_Load finds on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;

using testing::TempFolder;

using testing::ReadBytes;

// A record: the code, then 19 little-endian counters, the first one given.
std::string Record(const std::string& code, char notExpandedVeryEasy = 0) {
    return code + std::string(1, notExpandedVeryEasy) + std::string(75, '\0');
}

const std::string kOnlyCell0 = "01" + std::string(20, '0');
const std::string kCells1And80 = "0080" + std::string(16, '0') + "01";
const std::string kAllCells = "01" + std::string(20, 'F');

const char* const kFolders[] = {"Tavix Sudoku",    "Simple Sudoku",    "Sudocue",
                                "Into Sudoku",     "Sudoku Explainer", "Sudoku_81_Char",
                                "Sudoku_81_Char_0"};

class PatternEditorTest : public ::testing::Test {
  protected:
    TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};

    void Load(const std::string& library) {
        if (!library.empty())
            std::ofstream(folder.Path / "Patterns.rec", std::ios::binary) << library;
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    std::vector<int> RedCells() const {
        std::vector<int> cells;
        for (int i = 0; i < 81; ++i) {
            if (main.Form.Grid[i].BackColor == kRed) cells.push_back(i);
        }
        return cells;
    }
    void ExpectNavigationInvariant() const {
        EXPECT_EQ(main.Form.PreviousPattern.Enabled, main.Library.CurrentPattern > 1)
            << "at " << main.Library.CurrentPattern;
        EXPECT_EQ(main.Form.NextPattern.Enabled,
                  main.Library.CurrentPattern < main.Library.PatternCount)
            << "at " << main.Library.CurrentPattern;
    }
};

TEST_F(PatternEditorTest, FirstStartInAnEmptyFolder) {
    Load("");
    for (const char* name : kFolders) EXPECT_TRUE(fs::is_directory(folder.Path / name)) << name;
    EXPECT_FALSE(fs::exists(folder.Path / "Patterns.rec"));
    EXPECT_EQ(main.Library.PatternCount, 0);
    EXPECT_EQ(main.Library.CurrentPattern, 0);
    EXPECT_FALSE(main.Form.PreviousPattern.Enabled);
    EXPECT_FALSE(main.Form.NextPattern.Enabled);
    EXPECT_FALSE(main.Form.PickPattern.Enabled);
    EXPECT_TRUE(main.Form.NewPattern.Enabled);
    EXPECT_EQ(main.Form.Combo2.ListIndex, 0);
    EXPECT_EQ(main.Form.StatusBar.Panels,
              (std::array<std::string, 6>{"Very Easy: 0", "Easy: 0", "Medium: 0", "Hard: 0",
                                          "Very Hard: 0", "Others: 0"}));
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 00.00 %");

    main.NewPattern_Click();
    EXPECT_FALSE(main.Form.PreviousPattern.Enabled);
    EXPECT_FALSE(main.Form.NextPattern.Enabled) << "empty library";
}

TEST_F(PatternEditorTest, StartWithFiveRecordsAndStartAgain) {
    std::string library;
    for (int k = 0; k < 5; ++k) library += Record(kAllCells, 1);
    Load(library);
    EXPECT_EQ(main.Library.PatternCount, 5);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);
    EXPECT_TRUE(main.Form.PickPattern.Enabled);
    EXPECT_FALSE(main.Form.PreviousPattern.Enabled);
    EXPECT_EQ(RedCells(), std::vector<int>{}) << "no pattern is shown yet";
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 00.00 %");

    const fs::path puzzle = folder.Path / "Simple Sudoku" / "Easy_0001.ss";
    std::ofstream(puzzle, std::ios::binary) << "kept";
    Main again(platform);
    again.Form_Load();
    EXPECT_EQ(ReadBytes(puzzle), "kept");
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec"), library);
    EXPECT_EQ(again.Library.PatternCount, 5);
    for (const char* name : kFolders) EXPECT_TRUE(fs::is_directory(folder.Path / name)) << name;
}

TEST_F(PatternEditorTest, WalkingAThreePatternLibrary) {
    const std::string library =
        Record(kOnlyCell0, 2) + Record(kCells1And80, 0) + Record(kAllCells, 5);
    Load(library);
    ASSERT_EQ(main.Library.PatternCount, 3);
    ExpectNavigationInvariant();

    struct Step {
        void (Main::*Click)();
        int Pattern;
        const std::string* Code;
        std::vector<int> Red;
    };
    std::vector<int> all(81);
    for (int i = 0; i < 81; ++i) all[i] = i;
    const std::vector<Step> steps = {
        {&Main::NextPattern_Click, 1, &kOnlyCell0, {0}},
        {&Main::NextPattern_Click, 2, &kCells1And80, {1, 80}},
        {&Main::NextPattern_Click, 3, &kAllCells, all},
        {&Main::PreviousPattern_Click, 2, &kCells1And80, {1, 80}},
        {&Main::PreviousPattern_Click, 1, &kOnlyCell0, {0}},
        {&Main::NextPattern_Click, 2, &kCells1And80, {1, 80}},
        {&Main::NewPattern_Click, 0, nullptr, {}},
        {&Main::NextPattern_Click, 1, &kOnlyCell0, {0}},
    };
    for (const auto& step : steps) {
        main.Form.ButtonSolve.Enabled = true;
        main.Form.CommandGenerate.Caption = "something else";
        main.Form.Grid[40].Caption = "7";
        main.Form.Grid[40].ForeColor = kWhite;
        (main.*step.Click)();
        SCOPED_TRACE(step.Pattern);
        EXPECT_EQ(main.Library.CurrentPattern, step.Pattern);
        ExpectNavigationInvariant();
        EXPECT_EQ(RedCells(), step.Red);
        EXPECT_EQ(main.Form.PatternName.Caption,
                  "Pattern name: " + (step.Code ? *step.Code : std::string()));
        if (step.Code) {
            EXPECT_EQ(main.EncodeGrid(), *step.Code);
            EXPECT_EQ(main.Library.PatternRec.PatternCode, *step.Code);
        }
        EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
        EXPECT_EQ(main.Form.CommandGenerate.Caption, "Generate Sudokus");
        EXPECT_EQ(main.Form.Grid[40].Caption, "");
        EXPECT_EQ(main.Form.Grid[40].ForeColor, kBlack);
    }
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 100.00 %") << "pattern 1's statistics";
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec"), library) << "navigation never writes";
}

TEST_F(PatternEditorTest, GridClickTogglesACellOnly) {
    Load(Record(kOnlyCell0) + Record(kCells1And80));
    main.NextPattern_Click();
    main.NextPattern_Click();
    const std::string name = main.Form.PatternName.Caption;
    for (const auto& [cell, after] : std::vector<std::pair<int, Colour>>{
             {1, kWindowBackground}, {1, kRed}, {0, kRed}, {40, kRed}, {40, kWindowBackground}}) {
        main.Form.ButtonSolve.Enabled = true;
        main.Grid_Click(cell);
        EXPECT_EQ(main.Form.Grid[cell].BackColor, after) << cell;
        EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
        EXPECT_EQ(main.Library.CurrentPattern, 2);
        EXPECT_EQ(main.Form.PatternName.Caption, name);
    }
    EXPECT_EQ(main.EncodeGrid(), "0180" + std::string(16, '0') + "01");
    main.Form.Grid[5].BackColor = kWhite;
    main.Grid_Click(5);
    EXPECT_EQ(main.Form.Grid[5].BackColor, kWindowBackground)
        << "any other colour empties the cell";
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec"), Record(kOnlyCell0) + Record(kCells1And80));
}

TEST_F(PatternEditorTest, EncodeGridReadsTheRedCells) {
    Load("");
    EXPECT_EQ(main.EncodeGrid(), std::string(22, '0'));
    for (int cell : {0, 9, 17, 80}) main.Grid_Click(cell);
    // Cell 0 is byte 0; cells 9 and 17 are the top bits of bytes 2 and 3.
    const std::string code = "01008080" + std::string(12, '0') + "01";
    EXPECT_EQ(main.EncodeGrid(), code);
    main.Form.Grid[3].BackColor = kWhite;
    EXPECT_EQ(main.EncodeGrid(), code) << "only red is a clue";
}

}  // namespace
}  // namespace cluemill
