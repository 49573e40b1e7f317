// SPDX-License-Identifier: MIT
// "Generate Sudokus" through Main: the pattern's refusal and registration,
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

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// clang-format off
// Patterns, one band per line, 'X' a clue. kValid: 24 clues in every box,
// band and stack.
const std::string kValid =
    "X.X...X.." ".X..X...X" "...X.X..."
    "X...X..X." "..X...X.." ".X.X....X"
    "X....X.X." "..X.X...." ".X....X.X";
// clang-format on

// The properties of the window lock's table, in the table's order.
std::vector<bool*> LockTable(Form& f) {
    std::vector<bool*> rows;
    for (auto& cell : f.Grid) rows.push_back(&cell.Enabled);
    for (bool* p :
         {&f.PreviousPattern.Enabled, &f.NewPattern.Enabled, &f.NextPattern.Enabled,
          &f.ButtonSolve.Enabled, &f.ButtonExit.Enabled, &f.Text1.Enabled, &f.Text2.Locked,
          &f.Option1[3].Enabled, &f.ImportPattern.Enabled, &f.CheckLimit.Enabled,
          &f.Option1[0].Enabled, &f.Option1[1].Enabled, &f.Option1[2].Enabled, &f.Combo1.Enabled,
          &f.CheckMinimal.Enabled, &f.PickPattern.Enabled, &f.Combo2.Enabled,
          &f.TestMinimal.Enabled, &f.CheckRandomPattern.Enabled}) {
        rows.push_back(p);
    }
    return rows;
}

std::vector<bool> LockStates(Form& form) {
    std::vector<bool> states;
    for (const bool* p : LockTable(form)) states.push_back(*p);
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
        for (const auto& code : libraryCodes) {
            PatternRecord record;
            record.PatternCode = code;
            library.AppendPattern(record);
        }
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    void Draw(const std::string& pattern) {
        const Pattern clues = pattern.size() == 22 ? DecodePattern(pattern) : Pattern{};
        for (int i = 0; i < 81; ++i) {
            const bool clue = pattern.size() == 22 ? clues[i] : pattern[i] == 'X';
            main.Form.Grid[i].BackColor = clue ? kRed : kWindowBackground;
        }
    }
    // Random numbers from a seeded stream instead of 0.5 every time.
    void VaryRandomNumbers() {
        platform.RandomSource = [this] { return static_cast<double>(random()) / 4294967296.0; };
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
    Texts Messages() const {
        Texts texts;
        for (const auto& m : platform.Messages) {
            EXPECT_EQ(m.Caption, "Cluemill");
            texts.push_back(m.Text);
        }
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
    const Pattern clues = DecodePattern(code);
    Load();
    Draw(code);
    VaryRandomNumbers();
    OnPoll([&](int) {
        const auto& counts = main.Generator.NewCount;
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
        EXPECT_EQ(main.StoredCount[k], main.Generator.NewCount[k]);
        EXPECT_EQ(main.Form.StatusBar.Panels[k], labels[k] + std::to_string(main.StoredCount[k]) +
                                                     " +" +
                                                     std::to_string(main.Generator.NewCount[k]));
        // One Tavix record per puzzle in the file of its class.
        std::error_code error;
        const auto size =
            fs::file_size(OutputFile(folder.Path, OutputFormat::Tavix, k + 1, 1), error);
        EXPECT_EQ(error ? 0 : size, 166u * static_cast<std::uintmax_t>(main.Generator.NewCount[k]));
    }
    EXPECT_EQ(std::accumulate(main.Generator.NewCount.begin(), main.Generator.NewCount.end(), 0),
              2);

    // The new pattern was appended and counts its puzzles as not expanded.
    EXPECT_EQ(main.Library.PatternCount, 1);
    EXPECT_EQ(main.Library.CurrentPattern, 1);
    PatternRecord expected;
    expected.PatternCode = code;
    expected.NotExpanded = main.Generator.NewCount;
    EXPECT_EQ(main.Library.ReadPatternRecord(1), expected);
    EXPECT_EQ(main.Library.PatternRec, expected);

    // The grid shows the last puzzle's solution, Text2 its givens.
    const std::string& text = main.Form.Text2.Text;
    ASSERT_EQ(text.size(), 81u);
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(text[i] - '0', clues[i] ? main.Generator.Solver.Board[i] : 0) << "cell " << i;
        EXPECT_EQ(main.Form.Grid[i].Caption, std::to_string(main.Generator.Solver.Board[i]));
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
    const auto length = fs::file_size(folder.Path / "Patterns.rec");

    Draw(code);
    HaltAtPoll(1);
    main.CommandGenerate_Click();
    EXPECT_EQ(main.Library.CurrentPattern, 3);
    EXPECT_EQ(main.Library.PatternRec, third);
    EXPECT_EQ(fs::file_size(folder.Path / "Patterns.rec"), length);
    EXPECT_TRUE(main.Form.PreviousPattern.Enabled);
    EXPECT_FALSE(main.Form.NextPattern.Enabled);
    EXPECT_TRUE(main.Form.PickPattern.Enabled);

    // A pattern the library lacks becomes record 4, with zero counters.
    Draw(kValid);
    HaltAtPoll(platform.DoEventsCalls + 1);
    main.CommandGenerate_Click();
    EXPECT_EQ(main.Library.CurrentPattern, 4);
    PatternRecord fresh;
    fresh.PatternCode = main.EncodeGrid();
    EXPECT_EQ(main.Library.ReadPatternRecord(4), fresh);
    EXPECT_EQ(main.Library.ReadPatternRecord(3), third);
}

TEST_F(GeneratorRunTest, WindowIsLockedDuringTheRunAndRestoredAfter) {
    Load();
    Draw(kValid);
    main.Form.Grid[5].Enabled = false;
    main.Form.Combo2.Enabled = false;
    main.Form.NextPattern.Enabled = true;
    std::vector<bool> before = LockStates(main.Form);
    ASSERT_FALSE(before[84]);  // ButtonSolve starts disabled
    OnPoll([&](int n) {
        if (n > 1) return;
        const auto during = LockStates(main.Form);
        for (std::size_t row = 0; row < during.size(); ++row)
            EXPECT_EQ(during[row], row == 87) << row;
        EXPECT_TRUE(main.Form.Text2.Enabled);
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
    Load({testing::kPatternCodes[1]});
    main.Form.Grid[7].Enabled = false;
    main.Form.ImportPattern.Enabled = false;
    const auto before = LockStates(main.Form);
    auto locked = before;
    for (std::size_t row = 0; row < locked.size(); ++row) {
        if (row <= 83 || row == 89 || row == 96) locked[row] = false;
    }
    main.Form.CheckRandomPattern.Value = 1;
    main.CheckRandomPattern_Click();
    EXPECT_EQ(LockStates(main.Form), locked);

    HaltAtPoll(2);  // after the first pattern was drawn
    main.CommandGenerate_Click();
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    EXPECT_EQ(main.Form.PatternName.Caption,
              std::string("Pattern name: ") + testing::kPatternCodes[1]);
    EXPECT_EQ(main.Generator.ClueCount, 26);
    EXPECT_EQ(LockStates(main.Form), locked);

    main.Form.CheckRandomPattern.Value = 0;
    main.CheckRandomPattern_Click();
    EXPECT_EQ(LockStates(main.Form), before);
}

TEST_F(GeneratorRunTest, RandomPatternsNeedALibraryPatternOfTwoClues) {
    for (const Texts& library : {Texts{}, Texts{"01" + std::string(20, '0')}}) {
        fs::remove_all(folder.Path / "Patterns.rec");
        Load(library);
        platform.Messages.clear();
        main.Form.CheckRandomPattern.Value = 1;
        main.CommandGenerate_Click();
        ASSERT_EQ(platform.Messages.size(), 1u);
        EXPECT_NE(platform.Messages[0].Text.find("\"Random patterns\" needs"), std::string::npos);
        EXPECT_EQ(platform.DoEventsCalls, 0);
        ExpectIdle();
    }
}

// A refused pattern shows its message, and nothing starts or is written.
TEST_F(GeneratorRunTest, RefusedPatternStartsNothing) {
    Load();
    Draw(kValid.substr(0, 40) + std::string(41, '.'));
    const auto before = LockStates(main.Form);
    main.CommandGenerate_Click();
    EXPECT_EQ(Messages(), Texts{"A minimum of 20 clues is required !"});
    EXPECT_EQ(platform.DoEventsCalls, 0);
    EXPECT_FALSE(fs::exists(folder.Path / "Patterns.rec"));
    EXPECT_EQ(LockStates(main.Form), before);
    ExpectIdle();
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
    VaryRandomNumbers();
    Texts captions;
    OnPoll([&](int) {
        if (captions.empty() || captions.back() != main.Form.Main.Caption) {
            captions.push_back(main.Form.Main.Caption);
        }
        if (captions.size() == 12) main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    const std::string s = "Cluemill - Seeking";
    const std::set<std::string> known = {"Cluemill",
                                         s,
                                         s + " >",
                                         s + " > >",
                                         "Cluemill - Modification level 1 busy",
                                         "Cluemill - Modification level 2 busy"};
    for (const auto& caption : captions) EXPECT_EQ(known.count(caption), 1u) << caption;
    EXPECT_EQ(std::count(captions.begin(), captions.end(), s + " > > >"), 0);
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
}

}  // namespace
}  // namespace cluemill
