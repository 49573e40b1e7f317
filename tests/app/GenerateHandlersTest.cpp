// SPDX-License-Identifier: MIT
// "Generate Sudokus" through Main: the pattern's checks and registration,
// the window's counts, files, captions and grid, the window lock around the
// run, and random patterns in the editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/GeneratorTestSupport.h"
#include "output/PuzzleFormats.h"
#include "patterns/ImportPatterns.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// The properties of the window lock's table, in the table's order: Grid(0)
// to Grid(80), then 81 PreviousPattern, 82 NewPattern, 83 NextPattern,
// 84 ButtonSolve, 87 Text2.Locked, 89 ImportPattern, 96 PickPattern, ...
std::vector<bool> LockStates(Form& f) {
    std::vector<bool> states;
    for (auto& cell : f.Grid) states.push_back(cell.Enabled);
    for (const bool b :
         {f.PreviousPattern.Enabled, f.NewPattern.Enabled, f.NextPattern.Enabled,
          f.ButtonSolve.Enabled, f.ButtonExit.Enabled, f.Text1.Enabled, f.Text2.Locked,
          f.Option1[3].Enabled, f.ImportPattern.Enabled, f.CheckLimit.Enabled, f.Option1[0].Enabled,
          f.Option1[1].Enabled, f.Option1[2].Enabled, f.Combo1.Enabled, f.CheckMinimal.Enabled,
          f.PickPattern.Enabled, f.Combo2.Enabled, f.TestMinimal.Enabled,
          f.CheckRandomPattern.Enabled}) {
        states.push_back(b);
    }
    return states;
}

class GeneratorRunTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    std::mt19937 random{20240611};

    void Load(const Texts& libraryCodes = {}) {
        PatternLibrary library;
        library.File = folder.Path / "Patterns.rec";
        for (const auto& code : libraryCodes) testing::Append(library, code);
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    // A code, or a line of 81 characters with 'X' for a clue.
    void Draw(const std::string& pattern) {
        const Pattern clues = pattern.size() == 22 ? DecodePattern(pattern) : Pattern{};
        for (int i = 0; i < 81; ++i) {
            const bool clue = pattern.size() == 22 ? clues[i] : pattern[i] == 'X';
            main.Form.Grid[i].BackColor = clue ? kRed : kWindowBackground;
        }
    }
    // Runs script at every poll; a run that goes on far longer than any test
    // needs is halted, so that a fault cannot hang the suite.
    void OnPoll(std::function<void(int)> script) {
        platform.OnDoEvents = [this, script = std::move(script)](int n) {
            if (n > 200'000) main.CommandHalt_Click();
            script(n);
        };
    }
    void HaltAtPoll(int call) {
        OnPoll([this, call](int n) {
            if (n == call) main.CommandHalt_Click();
        });
    }
    Texts Messages() {
        Texts texts;
        for (const auto& m : platform.Messages) texts.push_back(m.Text);
        platform.Messages.clear();
        return texts;
    }
    void ExpectIdle() {
        EXPECT_FALSE(main.Generating);
        EXPECT_TRUE(main.Form.CommandGenerate.Visible);
        EXPECT_FALSE(main.Form.CommandHalt.Visible);
        EXPECT_TRUE(main.Form_QueryUnload());
    }
};

TEST_F(GeneratorRunTest, HaltedAfterTwoAcceptedPuzzles) {
    const std::string code = testing::kPatternCodes[1];
    Load();
    Draw(code);
    platform.RandomSource = [this] { return static_cast<double>(random()) / 4294967296.0; };
    const auto& counts = main.Generator.NewCount;
    OnPoll([&](int) {
        if (std::accumulate(counts.begin(), counts.end(), 0) == 2) main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();

    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    ExpectIdle();
    EXPECT_EQ(main.Form.Main.Caption, "Cluemill");
    EXPECT_EQ(main.Form.PatternName.Caption, "Pattern name: " + code);
    const char* const labels[] = {
        "Very Easy: ", "Easy: ", "Medium: ", "Hard: ", "Very Hard: ", "Others: "};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(main.StoredCount[k], counts[k]);
        EXPECT_EQ(main.Form.StatusBar.Panels[k],
                  labels[k] + std::to_string(counts[k]) + " +" + std::to_string(counts[k]));
        // One Tavix record per puzzle in the file of its class.
        std::error_code error;
        const auto size =
            fs::file_size(OutputFile(folder.Path, OutputFormat::Tavix, k + 1, 1), error);
        EXPECT_EQ(error ? 0 : size, 166u * static_cast<std::uintmax_t>(counts[k]));
    }
    // The new pattern was appended and counts its puzzles as not expanded.
    PatternRecord expected = testing::RecordOf(code);
    expected.NotExpanded = counts;
    EXPECT_EQ(main.Library.CurrentPattern, 1);
    EXPECT_EQ(main.Library.ReadPatternRecord(1), expected);
    EXPECT_EQ(main.Library.PatternRec, expected);
    // The grid shows the last puzzle's solution, Text2 its givens.
    const Pattern clues = DecodePattern(code);
    ASSERT_EQ(main.Form.Text2.Text.size(), 81u);
    for (int i = 0; i < 81; ++i) {
        const int digit = main.Generator.Solver.Board[i];
        EXPECT_EQ(main.Form.Text2.Text[i] - '0', clues[i] ? digit : 0) << "cell " << i;
        EXPECT_EQ(main.Form.Grid[i].Caption, std::to_string(digit));
    }

    // A second run counts new puzzles from zero on top of the stored ones.
    const auto stored = main.StoredCount;
    OnPoll([&](int) {
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(main.Form.StatusBar.Panels[k], labels[k] + std::to_string(stored[k]) + " +0");
        }
        main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    EXPECT_EQ(main.Library.PatternCount, 1);
    EXPECT_EQ(main.Library.PatternRec, expected);
}

TEST_F(GeneratorRunTest, DrawingALibraryPatternTakesItsHighestRecord) {
    const std::string code = testing::kPatternCodes[0];
    Load({code, testing::kPatternCodes[2], code});
    PatternRecord third = main.Library.ReadPatternRecord(3);
    third.Minimal[2] = 7;
    main.Library.WritePatternRecord(3, third);
    Draw(code);
    HaltAtPoll(1);
    main.CommandGenerate_Click();
    EXPECT_EQ(main.Library.CurrentPattern, 3);
    EXPECT_EQ(main.Library.PatternRec, third);
    EXPECT_EQ(main.Library.PatternCount, 3);
    EXPECT_TRUE(main.Form.PreviousPattern.Enabled);
    EXPECT_FALSE(main.Form.NextPattern.Enabled);
    EXPECT_TRUE(main.Form.PickPattern.Enabled);
    Draw(testing::kPatternCodes[1]);  // not in the library: record 4
    HaltAtPoll(platform.DoEventsCalls + 1);
    main.CommandGenerate_Click();
    EXPECT_EQ(main.Library.CurrentPattern, 4);
    EXPECT_EQ(main.Library.ReadPatternRecord(4), testing::RecordOf(testing::kPatternCodes[1]));
}

// The checks of a pattern, in order; a refused pattern starts nothing and
// writes nothing, an accepted one starts a run.
TEST_F(GeneratorRunTest, OnlyAPatternThatPassesTheChecksStartsARun) {
    const std::string halted = "Generator halted";
    const std::vector<std::pair<std::string, std::string>> cases = {
        // 19 clues, then 20 with a band's clues in two rows; four empty boxes.
        {".................X...X.X...X...X..X...X...X...X.X....XX....X.X...X.X.....X....X.X",
         "A minimum of 20 clues is required !"},
        {".............X...X...X.X...X...X..X...X...X...X.X....XX....X.X...X.X.....X....X.X",
         halted},
        {"XX.XX...XX..X.X....XX.X.......XX.......X.X.......X..........XX........XX......X.X",
         halted},
    };
    Load();
    for (const auto& [pattern, message] : cases) {
        Draw(pattern);
        HaltAtPoll(platform.DoEventsCalls + 1);
        main.CommandGenerate_Click();
        EXPECT_EQ(Messages(), Texts{message}) << pattern;
        ExpectIdle();
    }
    EXPECT_EQ(main.Library.PatternCount, 2);
}

TEST_F(GeneratorRunTest, WindowIsLockedDuringTheRunAndRestoredAfter) {
    Load();
    Draw(testing::kPatternCodes[2]);
    main.Form.Grid[5].Enabled = false;
    main.Form.Combo2.Enabled = false;
    main.Form.NextPattern.Enabled = true;
    std::vector<bool> before = LockStates(main.Form);
    OnPoll([&](int n) {
        if (n > 1) return;
        const auto during = LockStates(main.Form);
        for (std::size_t row = 0; row < during.size(); ++row) {
            EXPECT_EQ(during[row], row == 87) << row;
        }
        EXPECT_TRUE(main.Form.CommandHalt.Visible);
        EXPECT_FALSE(main.Form.CommandGenerate.Visible);
        EXPECT_TRUE(main.Generating);
        EXPECT_FALSE(main.Form_QueryUnload());
        main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    ASSERT_EQ(platform.DoEventsCalls, 1);
    ExpectIdle();
    // The navigation follows the new (and only) record; the rest, the
    // disabled controls included, is as before.
    before[81] = before[83] = false;
    before[96] = true;
    EXPECT_EQ(LockStates(main.Form), before);
}

TEST_F(GeneratorRunTest, RandomPatternsKeepTheEditorLockedUntilUnticked) {
    Load({"01" + std::string(20, '0')});
    main.Form.CheckRandomPattern.Value = 1;
    main.CommandGenerate_Click();  // no library pattern of two clues
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(platform.DoEventsCalls, 0);

    testing::Append(main.Library, testing::kPatternCodes[1]);
    main.Form.Grid[7].Enabled = false;
    main.Form.ImportPattern.Enabled = false;
    const auto before = LockStates(main.Form);
    auto locked = before;
    for (std::size_t row = 0; row < locked.size(); ++row) {
        if (row <= 83 || row == 89 || row == 96) locked[row] = false;
    }
    main.CheckRandomPattern_Click();
    EXPECT_EQ(LockStates(main.Form), locked);
    OnPoll([&](int) {
        if (main.Generator.ClueCount == 26) main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    EXPECT_EQ(main.Form.PatternName.Caption,
              std::string("Pattern name: ") + testing::kPatternCodes[1]);
    EXPECT_EQ(LockStates(main.Form), locked);
    main.Form.CheckRandomPattern.Value = 0;
    main.CheckRandomPattern_Click();
    EXPECT_EQ(LockStates(main.Form), before);
}

// The caption tells the rejections since the last renewal, and each stage
// of the acceptance.
TEST_F(GeneratorRunTest, CaptionsFollowTheRun) {
    Load();
    Draw(testing::kPatternCodes[0]);
    main.RenewAfter = 3;
    main.Form.Option1[0].Value = false;
    main.Form.Option1[2].Value = true;
    main.Option1_Click(2);
    platform.RandomSource = [this] { return static_cast<double>(random()) / 4294967296.0; };
    Texts captions;
    OnPoll([&](int) {
        if (captions.empty() || captions.back() != main.Form.Main.Caption) {
            captions.push_back(main.Form.Main.Caption);
        }
        if (captions.size() == 12) main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    const std::string s = "Cluemill - Seeking";
    const std::set<std::string> seen(captions.begin(), captions.end());
    EXPECT_EQ(seen, (std::set<std::string>{"Cluemill", s, s + " >", s + " > >",
                                           "Cluemill - Modification level 1 busy",
                                           "Cluemill - Modification level 2 busy"}));
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
}

}  // namespace
}  // namespace cluemill
