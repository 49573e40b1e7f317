// SPDX-License-Identifier: MIT
// Counting the puzzles an output format already holds, and the status bar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "output/Inventory.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using Counts = std::array<std::int32_t, 6>;

using testing::TempFolder;

void WriteLength(const fs::path& file, std::size_t length) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << std::string(length, 'x');
}

TEST(MatchesFilePattern, QuestionMarkIsExactlyOneCharacterAndCaseDoesNotMatter) {
    struct Case {
        const char* Name;
        const char* Pattern;
        bool Matches;
    };
    for (const Case& c : std::vector<Case>{
             {"Very_Easy_0001.ss", "Very_Easy_????.ss", true},
             {"Very_Easy_abcd.ss", "Very_Easy_????.ss", true},
             {"Very_Easy_a?.d.ss", "Very_Easy_????.ss", true},
             {"VERY_EASY_0001.SS", "Very_Easy_????.ss", true},
             {"very_easy_0001.ss", "VERY_EASY_????.SS", true},
             {"Very_Easy_00001.ss", "Very_Easy_????.ss", false},
             {"Very_Easy_001.ss", "Very_Easy_????.ss", false},
             {"Very_Easy_0001.ss", "Easy_????.ss", false},
             {"Very_Easy_0001.ss", "Very_Hard_????.ss", false},
             {"Very_Easy_0001.ss.bak", "Very_Easy_????.ss", false},
             {"xVery_Easy_0001.ss", "Very_Easy_????.ss", false},
             {"Very_Easy_0001.sds", "Very_Easy_????.ss", false},
             {"Easy_0001.txt", "Easy_????.txt", true},
             {"", "?", false},
         }) {
        EXPECT_EQ(MatchesFilePattern(c.Name, c.Pattern), c.Matches) << c.Name << " ~ " << c.Pattern;
    }
}

// A name is counted in characters: e acute is one character of two bytes.
TEST(MatchesFilePattern, QuestionMarkIsACharacterNotAByte) {
    EXPECT_TRUE(MatchesFilePattern("Very_Easy_000\xC3\xA9.ss", "Very_Easy_????.ss"));
    EXPECT_FALSE(MatchesFilePattern("Very_Easy_00\xC3\xA9.ss", "Very_Easy_????.ss"));
}

TEST(CountStored, PerClassFilesByRoundedLength) {
    struct Case {
        OutputFormat Format;
        const char* Folder;
        const char* Suffix;
        std::size_t Record;
    };
    const std::vector<Case> formats = {
        {OutputFormat::Tavix, "Tavix Sudoku", ".sds", 166},
        {OutputFormat::Line81Dot, "Sudoku_81_Char", ".txt", 83},
        {OutputFormat::Line81Zero, "Sudoku_81_Char_0", "_0.txt", 83},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.Folder);
        TempFolder folder;
        const fs::path dir = folder.Path / f.Folder;
        EXPECT_EQ(CountStored(folder.Path, f.Format), Counts{}) << "missing folder";
        const std::size_t r = f.Record;
        WriteLength(dir / (std::string("Sudoku_Very_Easy") + f.Suffix), 12 * r);
        WriteLength(dir / (std::string("Sudoku_Easy") + f.Suffix), 12 * r + r / 2);
        WriteLength(dir / (std::string("Sudoku_Medium") + f.Suffix), 0);
        WriteLength(dir / (std::string("Sudoku_Hard") + f.Suffix), 5 * r);
        fs::create_directories(dir / (std::string("Sudoku_Very_Hard") + f.Suffix));
        WriteLength(dir / (std::string("Sudoku_Others") + f.Suffix), r - 1);
        WriteLength(dir / "Sudoku_Others.bak", 40 * r);
        EXPECT_EQ(CountStored(folder.Path, f.Format), (Counts{12, 12, 0, 5, 0, 1}));

        WriteLength(dir / (std::string("Sudoku_Easy") + f.Suffix), 13 * r + (r + 1) / 2);
        EXPECT_EQ(CountStored(folder.Path, f.Format)[1], 14);
    }
}

TEST(CountStored, PerPuzzleFormatsCountMatchingFiles) {
    struct Case {
        OutputFormat Format;
        const char* Folder;
        const char* Extension;
    };
    for (const Case& f :
         std::vector<Case>{{OutputFormat::SimpleSudoku, "Simple Sudoku", ".ss"},
                           {OutputFormat::Sudocue, "Sudocue", ".sdk"},
                           {OutputFormat::IntoSudoku, "Into Sudoku", ".sud"},
                           {OutputFormat::SudokuExplainer, "Sudoku Explainer", ".txt"}}) {
        SCOPED_TRACE(f.Folder);
        TempFolder folder;
        EXPECT_EQ(CountStored(folder.Path, f.Format), Counts{}) << "missing folder";
        const fs::path dir = folder.Path / f.Folder;
        const std::string ext = f.Extension;
        for (int n : {1, 2, 3, 5, 7, 8, 9})
            WriteLength(dir / ("Very_Easy_000" + std::to_string(n) + ext), 10);
        WriteLength(dir / ("Very_Easy_abcd" + ext), 10);
        WriteLength(dir / ("Very_Easy_00001" + ext), 10);
        WriteLength(dir / ("Very_Easy_0001" + ext + ".bak"), 10);
        WriteLength(dir / ("Easy_0001" + ext), 10);
        WriteLength(dir / ("EASY_0002" + ext), 10);
        fs::create_directories(dir / ("Easy_0003" + ext));
        WriteLength(dir / ("Hard_0001.sds"), 10);
        WriteLength(dir / ("Others_9999" + ext), 10);
        WriteLength(dir / ("Others_10000" + ext), 10);
        WriteLength(folder.Path / "Tavix Sudoku" / ("Medium_0001" + ext), 10);
        EXPECT_EQ(CountStored(folder.Path, f.Format), (Counts{8, 2, 0, 0, 0, 1}));
    }
}

class CountSudokusTest : public ::testing::Test {
  protected:
    TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};

    void SetUp() override { platform.Folder = folder.Path.string(); }
    const std::array<std::string, 6>& Panels() const { return main.Form.StatusBar.Panels; }
};

TEST_F(CountSudokusTest, PanelsFollowTheSelectedFormat) {
    WriteLength(folder.Path / "Tavix Sudoku" / "Sudoku_Very_Easy.sds", 12 * 166);
    WriteLength(folder.Path / "Tavix Sudoku" / "Sudoku_Others.sds", 1234 * 166);
    for (int n = 1; n <= 7; ++n) {
        WriteLength(folder.Path / "Simple Sudoku" / ("Very_Easy_000" + std::to_string(n) + ".ss"),
                    145);
    }
    WriteLength(folder.Path / "Simple Sudoku" / "Very_Hard_0001.ss", 145);
    main.Form_Load();
    EXPECT_EQ(Panels(), (std::array<std::string, 6>{"Very Easy: 12", "Easy: 0", "Medium: 0",
                                                    "Hard: 0", "Very Hard: 0", "Others: 1234"}));
    EXPECT_EQ(main.StoredCount, (Counts{12, 0, 0, 0, 0, 1234}));

    main.Form.Combo2.ListIndex = 1;
    main.Combo2_Click();
    EXPECT_EQ(Panels(), (std::array<std::string, 6>{"Very Easy: 7", "Easy: 0", "Medium: 0",
                                                    "Hard: 0", "Very Hard: 1", "Others: 0"}));

    WriteLength(folder.Path / "Simple Sudoku" / "Medium_0001.ss", 145);
    main.Combo2_Click();
    EXPECT_EQ(main.StoredCount, (Counts{7, 0, 1, 0, 1, 0})) << "selecting again recounts";
    EXPECT_EQ(main.Form.StatusBar.Panels[2], "Medium: 1");

    main.Form.Combo2.ListIndex = -1;
    main.StoredCount[0] = 99;
    main.Combo2_Click();
    EXPECT_EQ(main.StoredCount, (Counts{99, 0, 1, 0, 1, 0}))
        << "no entry selected keeps the counts";
    EXPECT_EQ(main.Form.StatusBar.Panels[0], "Very Easy: 99");

    main.Form.Combo2.ListIndex = 0;
    main.Combo2_Click();
    EXPECT_EQ(main.Form.StatusBar.Panels[0], "Very Easy: 12");
}

TEST_F(CountSudokusTest, NextPuzzleAfterTheCountedOnes) {
    for (int n = 1; n <= 7; ++n) {
        WriteLength(folder.Path / "Simple Sudoku" / ("Very_Easy_000" + std::to_string(n) + ".ss"),
                    145);
    }
    main.Form_Load();
    main.Form.Combo2.ListIndex = 1;
    main.Combo2_Click();
    AcceptedPuzzle puzzle;
    puzzle.Difficulty = 1;
    puzzle.Solution.fill(1);
    main.Form.Text2.Text = std::string(81, '0');
    main.SaveModSud(puzzle);
    EXPECT_EQ(fs::file_size(folder.Path / "Simple Sudoku" / "Very_Easy_0008.ss"), 145u);
}

}  // namespace
}  // namespace cluemill
