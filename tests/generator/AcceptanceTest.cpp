// SPDX-License-Identifier: MIT
// The fate of one candidate: UniqueModSud on prepared candidates for every
// path through the options, and ModifyTask's levels, captions and halt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/GeneratorTestSupport.h"
#include "solver/ReferenceSolver.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::ReferenceGrid;
using testing::ToGrid;

// clang-format off
// Solved by hidden singles; 17 givens, so minimal. Then with a redundant given.
const std::string kLogic = ".................1..2..3.4................23567..1.......6.8.9...5..4....17......";
const std::string kLogicPlusOne = "3" + kLogic.substr(1);
// Needs the search; 17 givens. A given in cell 1 makes it "Medium".
const std::string kSearch = ".................1....23.4......4.2...5........67..1...4........8.1..9..32....8..";
const std::string kSearchPlusOne = "9" + kSearch.substr(1);
// Several solutions: cell 45 is the first single cell that makes it unique.
const std::string kSeveralOne = "8.........59.......76.........572486...431792...698135....1.567...8.6913......248";
// Several solutions: no single cell helps, cells 4 and 8 are the first pair.
const std::string kSeveralTwo = "8.........95.......76.........428967...713245...596138....5.716...8.2493......582";
// 16 givens: cell 72 is the first that makes it unique, with 17 givens.
const std::string kSixteen = "................12....34.........3....5.....1.675........18...734....6...........";
// The logic pass meets a cell without candidates.
const std::string kDeadEnd = "431.....98...7.........53...5.1..6.............7..6.8...57.........1...31.....495";
// The logic pass gets stuck and the search finds no solution.
const std::string kNoSolution = "721.....35...7.........97...8.4..5.............9..3.4...82.........9...22.....364";
const std::string kFullGrid = "824763519651289374379451286763145892142938765598672431417326958286597143935814627";
// clang-format on

const std::string kRest = "Cluemill";
const std::string kMinimalBusy = "Cluemill - Minimal check busy";
const std::string kLevel1 = "Cluemill - Modification level 1 busy";
const std::string kLevel2 = "Cluemill - Modification level 2 busy";

enum Counter { None, NotExpanded, Minimal, Expanded };

struct AcceptanceCase {
    const char* Name;
    const std::string* Candidate;
    const char* Options;  // 'm' Check Minimal, 'l' Limited, a digit the Option1 selected
    int Difficulty;       // 0 = rejected
    Counter Counted;
    std::vector<int> Added;  // cells an expansion adds
    std::string Caption;     // the last caption shown
};

void PrintTo(const AcceptanceCase& c, std::ostream* os) {
    *os << c.Name;
}

CellValues ToCells(const ReferenceGrid& grid) {
    CellValues cells{};
    for (int i = 0; i < 81; ++i) cells[i] = static_cast<std::int8_t>(grid[i]);
    return cells;
}

// A run's state around one call: no output format, no library record.
class AcceptanceFixture {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};

    AcceptanceFixture() {
        platform.Folder = folder.Path.string();
        main.Form_Load();
        main.Form.Combo2.ListIndex = -1;
        main.Generating = true;
        main.HaltRequested = false;
    }
    // The options and the candidate, on the grid (its givens red) and in Puzzle.
    void Prepare(const std::string& options, const std::string& candidate) {
        main.Form.CheckMinimal.Value = options.find('m') != std::string::npos ? 1 : 0;
        main.Form.CheckLimit.Value = options.find('l') != std::string::npos ? 1 : 0;
        const auto digit = options.find_first_of("123");
        const int expand = digit == std::string::npos ? 0 : options[digit] - '0';
        for (int i = 0; i < 4; ++i) main.Form.Option1[i].Value = i == expand;
        main.Option1_Click(expand);
        main.Solver.Puzzle = ReadPuzzleText(candidate);
        for (int i = 0; i < 81; ++i) {
            main.Form.Grid[i].BackColor = main.Solver.Puzzle[i] > 0 ? kRed : kWindowBackground;
        }
    }
};

class UniqueModSudTest : public AcceptanceFixture,
                         public ::testing::TestWithParam<AcceptanceCase> {};

TEST_P(UniqueModSudTest, DecidesShowsAndCounts) {
    const AcceptanceCase& c = GetParam();
    Prepare(c.Options, *c.Candidate);
    main.Form.Main.Caption = kRest;
    main.Form.Text2.Text = "before";

    // What the candidate becomes: its givens and the added cells, whose
    // digits come from the first solution the search finds.
    ReferenceGrid givens = ToGrid(*c.Candidate);
    ReferenceGrid solution = givens;
    if (*c.Candidate != kFullGrid) {
        const reference::Result candidate = reference::UniqueSud(givens);
        for (const int cell : c.Added) givens[cell] = candidate.FirstSolution[cell];
        solution = reference::UniqueSud(givens).Solution;
    }

    const bool accepted = c.Difficulty > 0;
    EXPECT_EQ(main.UniqueModSud(), accepted);
    EXPECT_EQ(main.Form.Main.Caption, c.Caption);
    // A rejected candidate stays in Puzzle for the run to go on from; what
    // Puzzle holds after a found expansion failed the minimality test is
    // left open here.
    if (accepted || c.Added.empty()) {
        EXPECT_EQ(main.Solver.Puzzle, ToCells(givens));
    }
    if (!accepted) {
        EXPECT_EQ(main.Library.PatternRec, PatternRecord{});
        EXPECT_EQ(main.Form.Text2.Text, "before");
        return;
    }
    EXPECT_EQ(main.Solver.Difficulty, c.Difficulty);
    EXPECT_EQ(main.Solver.Board, ToCells(solution));
    // Text2: the givens' digits (the pattern's clue cells, or after an
    // expansion the expanded givens), "0" elsewhere.
    std::string text;
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(main.Form.Grid[i].Caption, std::to_string(solution[i])) << "cell " << i;
        text += static_cast<char>('0' + givens[i]);
    }
    EXPECT_EQ(main.Form.Text2.Text, text);
    PatternRecord expected;
    auto& family = c.Counted == Expanded  ? expected.Expanded
                   : c.Counted == Minimal ? expected.Minimal
                                          : expected.NotExpanded;
    family[c.Difficulty - 1] = 1;
    EXPECT_EQ(main.Library.PatternRec, expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, UniqueModSudTest, ::testing::Values(
    AcceptanceCase{"LogicPass", &kLogic, "", 1, NotExpanded, {}, kRest},
    AcceptanceCase{"LogicPassMinimal", &kLogic, "m", 1, Minimal, {}, kMinimalBusy},
    AcceptanceCase{"LogicPassNotMinimal", &kLogicPlusOne, "m", 0, None, {}, kMinimalBusy},
    AcceptanceCase{"LogicPassMinimalityUnchecked", &kLogicPlusOne, "", 1, NotExpanded, {}, kRest},
    AcceptanceCase{"LogicPassUnderLimit", &kLogic, "l", 1, NotExpanded, {}, kRest},
    AcceptanceCase{"LogicPassMinimalUnderLimit", &kLogic, "ml", 1, Minimal, {}, kMinimalBusy},
    AcceptanceCase{"SearchOthers", &kSearch, "", 6, NotExpanded, {}, kRest},
    AcceptanceCase{"SearchOthersMinimal", &kSearch, "m", 6, Minimal, {}, kMinimalBusy},
    AcceptanceCase{"SearchNotMinimal", &kSearchPlusOne, "m", 0, None, {}, kMinimalBusy},
    AcceptanceCase{"SearchOthersNeedsNoExpansion", &kSearch, "3", 6, NotExpanded, {}, kRest},
    AcceptanceCase{"SearchUnderLimitRejected", &kSearch, "l", 0, None, {}, kRest},
    AcceptanceCase{"SearchUnderLimitExpanded", &kSearch, "l1", 3, Expanded, {1}, kLevel1},
    AcceptanceCase{"SearchUnderLimitAndMinimal", &kSearch, "ml1", 0, None, {}, kRest},
    AcceptanceCase{"SeveralWithoutExpansion", &kSeveralOne, "", 0, None, {}, kRest},
    AcceptanceCase{"SeveralOneCell", &kSeveralOne, "1", 2, Expanded, {45}, kLevel1},
    AcceptanceCase{"SeveralOneCellBeforeAnyPair", &kSeveralOne, "3", 2, Expanded, {45}, kLevel1},
    AcceptanceCase{"SeveralOneCellUnderLimit", &kSeveralOne, "l1", 2, Expanded, {45}, kLevel1},
    AcceptanceCase{"SeveralNeedsAPair", &kSeveralTwo, "1", 0, None, {}, kLevel1},
    AcceptanceCase{"SeveralTwoCells", &kSeveralTwo, "2", 2, Expanded, {4, 8}, kLevel2},
    AcceptanceCase{"SeveralExpandedNotMinimal", &kSeveralTwo, "m2", 0, None, {4, 8}, kMinimalBusy},
    AcceptanceCase{"SeveralExpandedMinimal", &kSixteen, "m1", 6, Expanded, {72}, kMinimalBusy},
    AcceptanceCase{"DeadEnd", &kDeadEnd, "3", 0, None, {}, kRest},
    AcceptanceCase{"NoSolution", &kNoSolution, "3", 0, None, {}, kRest},
    AcceptanceCase{"FullGridIsOthers", &kFullGrid, "", 6, NotExpanded, {}, kRest},
    AcceptanceCase{"FullGridNotMinimal", &kFullGrid, "m", 0, None, {}, kMinimalBusy},
    AcceptanceCase{"FullGridUnderLimit", &kFullGrid, "l1", 0, None, {}, kLevel1}),
    [](const auto& row) { return std::string(row.param.Name); });
// clang-format on

class ModifyTaskTest : public AcceptanceFixture, public ::testing::Test {
  protected:
    // The candidate with its first solution in Board, as UniqueModSud hands
    // it over.
    void PrepareWithSolution(const std::string& candidate, const char* level) {
        Prepare(level, candidate);
        main.Solver.Board = ToCells(reference::UniqueSud(ToGrid(candidate)).FirstSolution);
        entryPuzzle = main.Solver.Puzzle;
        entryBoard = main.Solver.Board;
        for (const auto v : entryPuzzle) open += v == 0 ? 1 : 0;
    }
    void ExpectUnchanged() const {
        EXPECT_EQ(main.Solver.Puzzle, entryPuzzle);
        EXPECT_EQ(main.Solver.Board, entryBoard);
    }
    CellValues entryPuzzle{};
    CellValues entryBoard{};
    int open = 0;
};

TEST_F(ModifyTaskTest, LevelOneTriesEveryCellOnceAndNoPair) {
    PrepareWithSolution(kSeveralTwo, "1");
    EXPECT_FALSE(main.ModifyTask());
    EXPECT_EQ(platform.DoEventsCalls, open);
    EXPECT_EQ(main.Form.Main.Caption, kLevel1);
    EXPECT_EQ(main.ExpandedPuzzle, entryPuzzle);
    ExpectUnchanged();
}

TEST_F(ModifyTaskTest, HaltDuringLevelTwoStopsAtTheNextTrial) {
    PrepareWithSolution(kSeveralTwo, "3");
    int haltedAt = 0;
    platform.OnDoEvents = [&](int call) {
        if (haltedAt == 0 && main.Form.Main.Caption == kLevel2) {
            haltedAt = call;
            main.CommandHalt_Click();
        }
    };
    EXPECT_FALSE(main.ModifyTask());
    EXPECT_EQ(haltedAt, open + 1);
    EXPECT_EQ(platform.DoEventsCalls, haltedAt);
    ExpectUnchanged();
}

// Thirteen givens and three more cannot make a unique puzzle (none has 16
// givens): every single cell, pair and triple is tried, and nothing else.
TEST_F(ModifyTaskTest, LevelThreeTriesEverySizeUpToThreeThenFails) {
    std::string thirteen = kSixteen;
    for (int i = 80, dropped = 0; dropped < 3; --i) {
        if (thirteen[i] != '.') {
            thirteen[i] = '.';
            ++dropped;
        }
    }
    PrepareWithSolution(thirteen, "3");
    EXPECT_FALSE(main.ModifyTask());
    EXPECT_EQ(platform.DoEventsCalls,
              open + open * (open - 1) / 2 + open * (open - 1) * (open - 2) / 6);
    EXPECT_EQ(main.Form.Main.Caption, "Cluemill - Modification failed");
    EXPECT_EQ(main.ExpandedPuzzle, entryPuzzle);
    ExpectUnchanged();
}

}  // namespace
}  // namespace cluemill
