// SPDX-License-Identifier: MIT
// The pattern import through the window's state: the rules a pattern must
// meet, the question per new pattern answered by a script, and what the
// library and the window hold afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "patterns/ImportPatterns.h"
#include "patterns/PatternImport.h"

namespace cluemill {
namespace {

using testing::PatternOf;
using testing::Rows;
using testing::SdsFileOf;

struct RuleCase {
    const char* Name;
    std::string Pattern;
    ImportRefusal Expected;
};

class ImportRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ImportRuleTest, FirstBrokenRuleIsReported) {
    EXPECT_EQ(CheckImportable(PatternOf(GetParam().Pattern)), GetParam().Expected);
}

// Each rule at its boundary; a pattern that breaks a later rule as well is
// refused for the first.
INSTANTIATE_TEST_SUITE_P(
    Rules, ImportRuleTest,
    ::testing::Values(
        RuleCase{"TwentyCluesEvenCentreEmpty", testing::kSuitable20, ImportRefusal::None},
        RuleCase{"NineteenCluesSymmetricWithCentre",
                 Rows({"....X...X", ".X.....X.", "...X.X...", "X.......X", "..X.X.X..", "X.......X",
                       "...X.X...", ".X.....X.", "X...X...."}),
                 ImportRefusal::TooFewClues},
        RuleCase{"TwentyOneCluesWithCentre", testing::kSuitable21, ImportRefusal::None},
        RuleCase{"EvenCountWithCentre",
                 Rows({"....X...X", ".X.....X.", "...X.X...", "X.......X", "..X.X.X..", "X.......X",
                       "...X.X...", ".X.....X.", "X...X...X"}),
                 ImportRefusal::Centre},
        RuleCase{"OddCountCentreEmpty",
                 Rows({"XX..X...X", ".X.....X.", "...X.X...", "X.......X", "..X...X..", "X.......X",
                       "...X.X...", ".X.....X.", "X...X...X"}),
                 ImportRefusal::Centre},
        RuleCase{"NotSymmetric",
                 Rows({"XXX.X...X", ".X.....X.", "...X.X...", "X.......X", "..X...X..", "X.......X",
                       "...X.X...", ".X.....X.", "X...X...X"}),
                 ImportRefusal::NotSymmetric},
        RuleCase{"BandOnOneRow",
                 Rows({".........", "XXX...XXX", ".........", "X.X.X.X.X", "XX.....XX", "X.X.X.X.X",
                       ".........", "XXX...XXX", "........."}),
                 ImportRefusal::OneLine},
        RuleCase{"StacksWithoutClues",
                 Rows({"...XXX...", "...XXX...", "...X.X...", "...X.X...", "...X.X...", "...X.X...",
                       "...X.X...", "...XXX...", "...XXX..."}),
                 ImportRefusal::OneLine},
        RuleCase{"FiveEmptyBoxes",
                 Rows({"...X.X...", "....X....", "...X.X...", "X.X...X.X", ".X.....X.", "X.X...X.X",
                       "...X.X...", "....X....", "...X.X..."}),
                 ImportRefusal::EmptyBoxes},
        RuleCase{"FourEmptyBoxes",
                 Rows({"...X.X...", "....X....", "...X.X...", "X.X...X.X", ".X..X..X.", "X.X...X.X",
                       "...X.X...", "....X....", "...X.X..."}),
                 ImportRefusal::None}),
    [](const ::testing::TestParamInfo<RuleCase>& row) { return std::string(row.param.Name); });

enum Answer { kYes, kNo, kCancel };

class PatternImportTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    // The answers still to give, and the patterns shown when each question
    // was asked.
    std::vector<Answer> answers;
    std::vector<std::string> asked;
    std::filesystem::path file = folder.Path / "puzzles.sds";

    void SetUp() override {
        platform.Folder = folder.Path.string();
        platform.OnDoEvents = [this](int) {
            if (!main.Form.Picture1.Visible) return;
            ASSERT_FALSE(answers.empty()) << "a question too many";
            asked.push_back(GridPattern());
            const Answer answer = answers.front();
            answers.erase(answers.begin());
            if (answer == kYes) main.CommandYes_Click();
            if (answer == kNo) main.CommandNo_Click();
            if (answer == kCancel) main.CommandCancel_Click();
        };
    }
    void Load(const std::vector<std::string>& library = {}) {
        for (const auto& pattern : library) {
            PatternRecord record;
            record.PatternCode = EncodePattern(PatternOf(pattern));
            main.Library.File = folder.Path / "Patterns.rec";
            main.Library.Count();
            main.Library.AppendPattern(record);
        }
        main.Form_Load();
    }
    void Import(const std::string& bytes, std::vector<Answer> script) {
        testing::WriteBytes(file, bytes);
        answers = std::move(script);
        platform.FilesToOpen = {file.string()};
        main.ImportPattern_Click();
        EXPECT_TRUE(answers.empty()) << answers.size() << " answers not asked for";
    }
    std::string GridPattern() const {
        std::string line;
        for (const auto& cell : main.Form.Grid) line += cell.BackColor == kRed ? 'X' : '.';
        return line;
    }
    std::vector<std::string> LibraryPatterns() {
        main.Library.Count();
        std::vector<std::string> patterns;
        for (std::int32_t k = 1; k <= main.Library.PatternCount; ++k) {
            std::string line;
            for (const bool clue : DecodePattern(main.Library.ReadPatternRecord(k).PatternCode))
                line += clue ? 'X' : '.';
            patterns.push_back(line);
        }
        return patterns;
    }
};

using Patterns = std::vector<std::string>;

TEST_F(PatternImportTest, RepeatedPatternIsSkippedAfterYesAndOfferedAgainAfterNo) {
    Load();
    Import(SdsFileOf({testing::kSuitable20, testing::kSuitable20}), {kYes});
    EXPECT_EQ(LibraryPatterns(), Patterns({testing::kSuitable20}));

    Import(SdsFileOf({testing::kSuitable21, testing::kSuitable21}), {kNo, kNo});
    EXPECT_EQ(asked, Patterns({testing::kSuitable20, testing::kSuitable21, testing::kSuitable21}));
    EXPECT_EQ(LibraryPatterns(), Patterns({testing::kSuitable20}));
}

TEST_F(PatternImportTest, CancelStopsTheWalk) {
    Load();
    Import(SdsFileOf({testing::kSuitable20, testing::kSuitable21}), {kCancel});
    EXPECT_TRUE(LibraryPatterns().empty());

    Import(SdsFileOf({testing::kSuitable20, testing::kSuitable21, testing::kSuitable22,
                      testing::kSuitable26}),
           {kYes, kYes, kCancel});
    EXPECT_EQ(LibraryPatterns(), Patterns({testing::kSuitable20, testing::kSuitable21}));
    EXPECT_EQ(main.Library.PatternCount, 2);
}

TEST_F(PatternImportTest, UnsuitableAndKnownPatternsAreSkippedSilently) {
    Load({testing::kSuitable21});
    const std::string nineteen(19, 'X');
    Import(SdsFileOf({nineteen + std::string(62, '.'), testing::kSuitable21, testing::kSuitable22}),
           {kYes});
    EXPECT_EQ(asked, Patterns({testing::kSuitable22}));
    EXPECT_EQ(LibraryPatterns(), Patterns({testing::kSuitable21, testing::kSuitable22}));
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(PatternImportTest, WindowIsLockedDuringTheWalkAndRestoredAfterIt) {
    Load({testing::kSuitable20, testing::kSuitable21});
    main.NextPattern_Click();  // pattern 1 of 2
    main.Form.Text2.Locked = false;
    bool checked = false;
    platform.OnDoEvents = [&](int) {
        if (!main.Form.Picture1.Visible) return;
        EXPECT_FALSE(main.Form.CommandGenerate.Enabled);
        EXPECT_FALSE(main.Form.ImportPattern.Enabled);
        EXPECT_FALSE(main.Form.PickPattern.Enabled);
        EXPECT_FALSE(main.Form.Grid[0].Enabled);
        EXPECT_TRUE(main.Form.Text2.Locked);
        EXPECT_EQ(GridPattern(), testing::kSuitable22);
        EXPECT_EQ(main.Form.PatternName.Caption,
                  "Pattern name: " + EncodePattern(PatternOf(testing::kSuitable22)));
        checked = true;
        main.CommandYes_Click();
    };
    testing::WriteBytes(file, SdsFileOf({testing::kSuitable22}));
    platform.FilesToOpen = {file.string()};
    main.ImportPattern_Click();
    ASSERT_TRUE(checked);

    // The pattern shown before stays current; the appended one lies behind it.
    EXPECT_EQ(main.Library.CurrentPattern, 1);
    EXPECT_EQ(main.Library.PatternCount, 3);
    EXPECT_EQ(GridPattern(), testing::kSuitable20);
    EXPECT_FALSE(main.Form.Picture1.Visible);
    EXPECT_FALSE(main.Form.PreviousPattern.Enabled);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);
    EXPECT_TRUE(main.Form.ImportPattern.Enabled);
    EXPECT_TRUE(main.Form.Grid[0].Enabled);
    EXPECT_FALSE(main.Form.Text2.Locked);
}

TEST_F(PatternImportTest, FirstPatternOfAnEmptyLibraryEnablesThePicker) {
    Load();
    EXPECT_FALSE(main.Form.PickPattern.Enabled);
    Import(SdsFileOf({testing::kSuitable20}), {kYes});
    EXPECT_TRUE(main.Form.PickPattern.Enabled);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);  // CurrentPattern 0 is before record 1
    EXPECT_EQ(main.Library.CurrentPattern, 0);
    EXPECT_EQ(GridPattern(), std::string(81, '.'));
}

TEST_F(PatternImportTest, FileLengthCountsWholeRecordsOnly) {
    Load();
    Import(std::string(165, '\x01'), {});
    ASSERT_EQ(platform.Messages.size(), 1U);
    EXPECT_EQ(platform.Messages[0].Text, "File does not contain sudokus");
    EXPECT_EQ(platform.Messages[0].Caption, "Empty or invalid file");
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);

    platform.Messages.clear();
    Import(SdsFileOf({testing::kSuitable20, testing::kSuitable21}) + std::string(100, '\x01'),
           {kNo, kNo});
    EXPECT_EQ(asked, Patterns({testing::kSuitable20, testing::kSuitable21}));
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(PatternImportTest, FileErrorsNameTheFile) {
    Load();
    // A folder can be chosen by name but not measured or read.
    const auto folderPath = folder.Path / "not a file.sds";
    std::filesystem::create_directory(folderPath);
    platform.FilesToOpen = {folderPath.string()};
    main.ImportPattern_Click();
    ASSERT_EQ(platform.Messages.size(), 1U);
    EXPECT_EQ(platform.Messages[0].Text,
              "An error occured while trying to open file " + folderPath.string());
    EXPECT_EQ(platform.Messages[0].Caption, "File error");
    EXPECT_TRUE(main.Form.ImportPattern.Enabled);

    // The file shrinks under the walk: the first record that is gone (and
    // not read ahead before) cannot be read.
    platform.Messages.clear();
    testing::WriteBytes(file, SdsFileOf(std::vector<std::string>(200, testing::kSuitable20)));
    platform.OnDoEvents = [&](int) {
        if (main.Form.Picture1.Visible) {
            std::filesystem::resize_file(file, 166);
            main.CommandYes_Click();
        }
    };
    platform.FilesToOpen = {file.string()};
    main.ImportPattern_Click();
    ASSERT_EQ(platform.Messages.size(), 1U);
    EXPECT_EQ(platform.Messages[0].Text,
              "An error occured while trying to read file " + file.string());
    EXPECT_EQ(platform.Messages[0].Caption, "File error");
    EXPECT_EQ(LibraryPatterns(), Patterns({testing::kSuitable20}));
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);
    EXPECT_TRUE(main.Form.PickPattern.Enabled);
}

TEST_F(PatternImportTest, CancelledDialogChangesNothing) {
    Load({testing::kSuitable20});
    main.Form.Grid[5].BackColor = kRed;
    platform.FilesToOpen = {std::nullopt};
    main.ImportPattern_Click();
    EXPECT_EQ(main.Form.Grid[5].BackColor, kRed);
    EXPECT_TRUE(platform.Messages.empty());
    EXPECT_EQ(platform.DoEventsCalls, 0);
}

TEST_F(PatternImportTest, ClosedWindowEndsTheImport) {
    Load();
    testing::WriteBytes(file, SdsFileOf({testing::kSuitable20, testing::kSuitable21}));
    int waits = 0;
    platform.OnDoEvents = [&](int) {
        if (main.Form.Picture1.Visible && ++waits == 3) main.Form_Unload();
    };
    platform.FilesToOpen = {file.string()};
    main.ImportPattern_Click();
    EXPECT_EQ(waits, 3);
    EXPECT_TRUE(LibraryPatterns().empty());
}

}  // namespace
}  // namespace cluemill
