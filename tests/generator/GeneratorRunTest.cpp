// SPDX-License-Identifier: MIT
// Generation runs headless through Main: the pattern's validation and
// registration, the run's counts, files and captions, the window lock around
// it, the enumeration, and the ways a run ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/GeneratorTestSupport.h"
#include "generator/UnitCounts.h"
#include "output/PuzzleFormats.h"
#include "solver/ReferenceSolver.h"

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
// Band 1 has clues in row 3 only.
const std::string kBandInOneRow =
    "X.X...X.." ".X..X...X" "...X.X..."
    "XXX.XXXXX" "........." "........."
    "X....X.X." "..X.X...." ".X....X.X";
// Stack 0 has clues in column 0 only (checked with band 0), band 1 in row 3.
const std::string kStackBeforeLaterBand =
    "X..X.X.X." "...X..X.X" "X...X.X.."
    "X..XX.XX." "........." "........."
    "X...X.X.X" "...X.X.X." "X....X..X";
// Band 0 in row 0 only and stack 0 in column 0 only: rows are tested first.
const std::string kRowBeforeColumn =
    "X.XX.X.XX" "........." "........."
    "X..X.X.X." "...XX..X." "X.....X.X"
    "X..X..X.." "....X.X.X" "X..X.X...";
// Clues in boxes 0, 1, 4 and 8 only.
const std::string kFiveEmptyBoxes =
    "XX.XX...." "X..X.X..." ".XX.X...."
    "...XX...." "...X.X..." "....X...."
    "......XX." ".......XX" "......X.X";
// clang-format on

std::string Transposed(const std::string& pattern) {
    std::string t(81, '.');
    for (int i = 0; i < 81; ++i) t[(i % 9) * 9 + i / 9] = pattern[i];
    return t;
}

std::string With(std::string pattern, const std::vector<int>& cells, char mark) {
    for (const int cell : cells) pattern[cell] = mark;
    return pattern;
}

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

struct ValidationCase {
    const char* Name;
    std::string Pattern;
    std::string Message;  // "" = the run starts
};

void PrintTo(const ValidationCase& c, std::ostream* os) {
    *os << c.Name;
}

class PatternValidation : public GeneratorRunTest,
                          public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(PatternValidation, RefusesWithTheFirstFailingCheckOrStarts) {
    const ValidationCase& c = GetParam();
    Load();
    Draw(c.Pattern);
    const auto before = LockStates(main.Form);
    HaltAtPoll(1);
    main.CommandGenerate_Click();
    if (c.Message.empty()) {
        EXPECT_EQ(Messages(), Texts{"Generator halted"});
        EXPECT_EQ(main.Library.PatternCount, 1);
    } else {
        EXPECT_EQ(Messages(), Texts{c.Message});
        EXPECT_EQ(platform.DoEventsCalls, 0);
        EXPECT_FALSE(fs::exists(folder.Path / "Patterns.rec"));
        EXPECT_EQ(LockStates(main.Form), before);
    }
    ExpectIdle();
}

const std::string kRowMessage = "More than one empty row in the same band is not allowed !";
const std::string kColumnMessage = "More than one empty column in the same stack is not allowed !";

INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternValidation,
    ::testing::Values(ValidationCase{"Valid", kValid, ""},
                      ValidationCase{"NineteenClues", With(kValid, {0, 2, 6, 10, 13}, '.'),
                                     "A minimum of 20 clues is required !"},
                      ValidationCase{"TwentyClues", With(kValid, {0, 2, 6, 10}, '.'), ""},
                      ValidationCase{"BandInOneRow", kBandInOneRow, kRowMessage},
                      ValidationCase{"BandInTwoRows", With(kValid, {38, 42}, '.'), ""},
                      ValidationCase{"StackInOneColumn", Transposed(kBandInOneRow), kColumnMessage},
                      ValidationCase{"StackCheckedWithFirstBand", kStackBeforeLaterBand,
                                     kColumnMessage},
                      ValidationCase{"RowBeforeColumn", kRowBeforeColumn, kRowMessage},
                      ValidationCase{"FiveEmptyBoxes", kFiveEmptyBoxes,
                                     "More than four empty boxes are not allowed !"},
                      ValidationCase{"FourEmptyBoxes", With(kFiveEmptyBoxes, {8}, 'X'), ""}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(GeneratorRunTest, HaltedAfterTwoAcceptedPuzzles) {
    const std::string code = testing::kPatternCodes[1];
    const Pattern clues = DecodePattern(code);
    Load();
    Draw(code);
    VaryRandomNumbers();
    OnPoll([](int) {});
    main.OnAccepted = [&] {
        // Exactly the pattern's givens, one solution, the class counted.
        testing::ReferenceGrid grid{};
        for (int i = 0; i < 81; ++i) {
            EXPECT_EQ(main.Solver.Puzzle[i] > 0, clues[i]) << "cell " << i;
            grid[i] = main.Solver.Puzzle[i];
        }
        const auto solved = reference::UniqueSud(grid);
        EXPECT_TRUE(solved.Unique);
        EXPECT_EQ(solved.Difficulty, main.Solver.Difficulty);
        if (std::accumulate(main.NewCount.begin(), main.NewCount.end(), 0) == 2) {
            main.CommandHalt_Click();
        }
    };
    main.CommandGenerate_Click();

    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    ExpectIdle();
    EXPECT_EQ(main.Form.Main.Caption, "Cluemill");
    EXPECT_EQ(main.Form.PatternName.Caption, "Pattern name: " + code);
    const char* const labels[] = {
        "Very Easy: ", "Easy: ", "Medium: ", "Hard: ", "Very Hard: ", "Others: "};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(main.StoredCount[k], main.NewCount[k]);
        EXPECT_EQ(main.Form.StatusBar.Panels[k], labels[k] + std::to_string(main.StoredCount[k]) +
                                                     " +" + std::to_string(main.NewCount[k]));
        // One Tavix record per puzzle in the file of its class.
        std::error_code error;
        const auto size =
            fs::file_size(OutputFile(folder.Path, OutputFormat::Tavix, k + 1, 1), error);
        EXPECT_EQ(error ? 0 : size, 166u * static_cast<std::uintmax_t>(main.NewCount[k]));
    }
    EXPECT_EQ(std::accumulate(main.NewCount.begin(), main.NewCount.end(), 0), 2);

    // The new pattern was appended and counts its puzzles as not expanded.
    EXPECT_EQ(main.Library.PatternCount, 1);
    EXPECT_EQ(main.Library.CurrentPattern, 1);
    PatternRecord expected;
    expected.PatternCode = code;
    expected.NotExpanded = main.NewCount;
    EXPECT_EQ(main.Library.ReadPatternRecord(1), expected);
    EXPECT_EQ(main.Library.PatternRec, expected);

    // The grid shows the last puzzle's solution, Text2 its givens.
    const std::string& text = main.Form.Text2.Text;
    ASSERT_EQ(text.size(), 81u);
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(text[i] - '0', clues[i] ? main.Solver.Board[i] : 0) << "cell " << i;
        EXPECT_EQ(main.Form.Grid[i].Caption, std::to_string(main.Solver.Board[i]));
    }

    // A second run counts new puzzles from zero on top of the stored ones.
    const auto stored = main.StoredCount;
    main.OnAccepted = nullptr;
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
    EXPECT_EQ(main.ClueCount, 26);
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

TEST(CountNum, IsThreeOnlyForADigitAloneInItsRowColumnAndBox) {
    struct Row {
        const char* Name;
        std::vector<std::pair<int, int>> Digits;  // cell and digit; the first is tested
        int Expected;
    };
    const std::vector<Row> rows = {
        {"Alone", {{40, 5}}, 3},
        {"OtherDigitsAround", {{40, 5}, {41, 6}, {31, 7}, {49, 8}}, 3},
        {"SameDigitFarAway", {{40, 5}, {0, 5}}, 3},
        {"RowRepeat", {{40, 5}, {44, 5}}, 0},
        {"ColumnRepeat", {{40, 5}, {76, 5}}, 0},
        {"BoxRepeatOnly", {{40, 5}, {30, 5}}, 4},
        {"RowAndBoxRepeat", {{40, 5}, {39, 5}}, 0},
    };
    testing::FakePlatform platform;
    Main main(platform);
    for (const Row& row : rows) {
        main.Solver.Puzzle.fill(0);
        for (const auto& [cell, digit] : row.Digits)
            main.Solver.Puzzle[cell] = static_cast<std::int8_t>(digit);
        EXPECT_EQ(main.CountNum(row.Digits.front().first), row.Expected) << row.Name;
    }
}

// The run's counts give CountNum's answer for every cell, and whether a cell
// could still take a digit, through changes that leave repeats in rows,
// columns and boxes, and after a fresh count.
TEST(UnitCounts, AgreeWithCountNumThroughAnySequenceOfChanges) {
    testing::FakePlatform platform;
    Main main(platform);
    std::mt19937 random(17);
    std::uniform_int_distribution<int> anyCell(0, 80);
    std::uniform_int_distribution<int> anyValue(0, 9);
    UnitCounts counts;
    main.Solver.Puzzle.fill(0);
    counts.Rebuild(main.Solver.Puzzle);
    int threes = 0;
    int full = 0;  // probes whose row, column and box hold every digit
    for (int step = 0; step < 20000; ++step) {
        const int cell = anyCell(random);
        const int value = anyValue(random);
        counts.Change(cell, main.Solver.Puzzle[cell], value);
        main.Solver.Puzzle[cell] = static_cast<std::int8_t>(value);
        if (step % 5000 == 4999) counts.Rebuild(main.Solver.Puzzle);
        for (int probe = 0; probe < kCells; ++probe) {
            const int d = main.Solver.Puzzle[probe];
            if (d == 0) continue;
            ASSERT_EQ(counts.CountNum(probe, d), main.CountNum(probe))
                << "step " << step << " cell " << probe;
            threes += main.CountNum(probe) == 3 ? 1 : 0;
        }
        if (step % 7 != 0) continue;
        for (int probe = 0; probe < kCells; ++probe) {
            unsigned seen = 1u << main.Solver.Puzzle[probe];
            for (const int peer : kPeers[probe]) seen |= 1u << main.Solver.Puzzle[peer];
            const bool room = (seen & 0x3FEu) != 0x3FEu;
            ASSERT_EQ(counts.HasRoom(probe), room) << "step " << step << " cell " << probe;
            full += room ? 0 : 1;
        }
    }
    EXPECT_GT(threes, 0);
    EXPECT_GT(full, 0);
}

TEST_F(GeneratorRunTest, EveryBaseStartsAtTheLowestClueCellAndStaysInThePattern) {
    const std::string code = testing::kPatternCodes[2];
    const Pattern clues = DecodePattern(code);
    Load();
    Draw(code);
    VaryRandomNumbers();
    int firstPlacements = 0;
    OnPoll([&](int) {
        std::vector<int> filled;
        for (int i = 0; i < 81; ++i) {
            if (main.Solver.Puzzle[i] != 0) filled.push_back(i);
        }
        for (const int cell : filled) EXPECT_TRUE(clues[cell]) << "cell " << cell;
        if (filled.size() == 1) {
            ++firstPlacements;
            EXPECT_EQ(filled[0], main.ClueCells[0]);
        }
    });
    main.OnAccepted = [&] {
        if (platform.Randomizes >= 4) main.CommandHalt_Click();
    };
    main.CommandGenerate_Click();
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    EXPECT_GE(firstPlacements, 4);
    ASSERT_EQ(main.ClueCount, 30);
    for (int i = 1; i < 30; ++i) EXPECT_LT(main.ClueCells[i - 1], main.ClueCells[i]);
    for (int i = 30; i < 81; ++i) EXPECT_EQ(main.ClueCells[i], 0);
}

// A library pattern of three clue cells (a drawn one of one cell is passed
// over): every consistent filling is visited once, none has eight digits and
// so none is a candidate, and the enumeration runs out.
TEST_F(GeneratorRunTest, SmallRandomPatternIsEnumeratedToTheEnd) {
    Pattern one{};
    one[5] = true;
    Pattern three{};
    three[0] = three[1] = three[40] = true;
    Load({EncodePattern(one), EncodePattern(three)});
    std::vector<double> script = {0.0, 0.75};
    platform.RandomSource = [&] {
        if (script.empty()) return static_cast<double>(random()) / 4294967296.0;
        const double r = script.front();
        script.erase(script.begin());
        return r;
    };
    main.Form.CheckRandomPattern.Value = 1;
    main.CheckRandomPattern_Click();
    std::map<std::array<int, 3>, int> seen;
    OnPoll([&](int) {
        const auto& p = main.Solver.Puzzle;
        if (p[0] != 0 && p[1] != 0 && p[40] != 0 && p[0] != p[1]) ++seen[{p[0], p[1], p[40]}];
    });
    main.CommandGenerate_Click();
    EXPECT_EQ(Messages(), Texts{"All clue-grids generated"});
    ExpectIdle();
    EXPECT_EQ(main.Library.CurrentPattern, 2);
    EXPECT_EQ(main.CandidatesTried, 0);
    EXPECT_EQ(seen.size(), 9u * 8u * 9u);
    for (const auto& [filling, times] : seen) EXPECT_EQ(times, 1);
}

TEST_F(GeneratorRunTest, RejectionsRenewTheBaseAfterRenewAfter) {
    Load();
    Draw(testing::kPatternCodes[0]);
    main.RenewAfter = 3;
    Texts captions;
    OnPoll([&](int) {
        if (main.CandidatesTried > std::ssize(captions)) captions.push_back(main.Form.Main.Caption);
        if (main.CandidatesTried == 10) main.CommandHalt_Click();
    });
    main.CommandGenerate_Click();
    // With 0.5 for every random number each base is the same, and its first
    // candidates are rejected.
    ASSERT_EQ(main.NewCount, (std::array<std::int32_t, 6>{}));
    EXPECT_EQ(platform.Randomizes, 4);
    const std::string s = "Cluemill - Seeking";
    EXPECT_EQ(captions, (Texts{s, s + " >", s + " > >", s, s + " >", s + " > >", s, s + " >",
                               s + " > >", s}));
}

TEST_F(GeneratorRunTest, HaltDuringAnExpansionEndsTheRunAtTheNextPoll) {
    Load();
    Draw(testing::kPatternCodes[0]);
    VaryRandomNumbers();
    main.Form.Option1[0].Value = false;
    main.Form.Option1[2].Value = true;
    main.Option1_Click(2);
    int haltedAt = 0;
    OnPoll([&](int call) {
        if (haltedAt == 0 && main.Form.Main.Caption.starts_with("Cluemill - Modification")) {
            haltedAt = call;
            main.CommandHalt_Click();
        }
    });
    main.CommandGenerate_Click();
    ASSERT_GT(haltedAt, 0);
    EXPECT_EQ(platform.DoEventsCalls, haltedAt + 1);
    EXPECT_EQ(Messages(), Texts{"Generator halted"});
    ExpectIdle();
}

}  // namespace
}  // namespace cluemill
