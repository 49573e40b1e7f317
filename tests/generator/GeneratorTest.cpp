// SPDX-License-Identifier: MIT
// The generator without a window: the fate of prepared candidates on each
// path through the options, with the stages it tells; the expansion's
// levels and halt; a run enumerated to its end. What many candidates become
// under every option set is recorded in tests/data (RecordedTest.cpp).
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "generator/GeneratorTestSupport.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::ScriptedRun;

// Solved by hidden singles; 17 givens, so minimal. Then with a redundant given.
const std::string kLogic =
    ".................1..2..3.4................23567..1.......6.8.9...5..4....17......";
const std::string kLogicPlusOne = "3" + kLogic.substr(1);
// A minimal 17-clue puzzle without its given in cell 52: cell 52 is the
// first that makes it unique, and solvable by logic, again.
const std::string kLessOne =
    "................12..3..4........56...1........2..........27.8...4..1....8..9..3..";
// Needs the search; 17 givens. A given in cell 1 makes it "Medium".
const std::string kSearch =
    ".................1....23.4......4.2...5........67..1...4........8.1..9..32....8..";
// Several solutions: cell 45 is the first single cell that makes it unique.
const std::string kSeveralOne =
    "8.........59.......76.........572486...431792...698135....1.567...8.6913......248";
// Several solutions: no single cell helps, cells 4 and 8 are the first pair.
const std::string kSeveralTwo =
    "8.........95.......76.........428967...713245...596138....5.716...8.2493......582";
// 16 givens: cell 72 is the first that makes it unique, with 17 givens.
const std::string kSixteen =
    "................12....34.........3....5.....1.675........18...734....6...........";
// The logic pass meets a cell without candidates.
const std::string kDeadEnd =
    "431.....98...7.........53...5.1..6.............7..6.8...57.........1...31.....495";
const std::string kFullGrid =
    "824763519651289374379451286763145892142938765598672431417326958286597143935814627";

struct AcceptanceCase {
    const char* Name;
    const std::string* Candidate;
    const char* Options;  // 'm' minimal, 'l' limited, a digit the expansion level
    int Difficulty;       // 0 = rejected
    PatternCounter Counted;
    std::vector<int> Added;  // cells an expansion adds
    int Stages;              // stages the acceptance told of
};

void PrintTo(const AcceptanceCase& c, std::ostream* os) {
    *os << c.Name;
}

RunSettings Options(const std::string& options) {
    RunSettings settings;
    settings.Minimal = options.find('m') != std::string::npos;
    settings.Limit = options.find('l') != std::string::npos;
    const auto digit = options.find_first_of("123");
    settings.ExpandLevel = digit == std::string::npos ? 0 : options[digit] - '0';
    return settings;
}

class Acceptance : public ::testing::TestWithParam<AcceptanceCase> {};

// The random numbers are 0.5 every time: the expansion tries the open cells
// in cell order.
TEST_P(Acceptance, DecidesAndCounts) {
    const AcceptanceCase& c = GetParam();
    testing::FakePlatform random;
    Generator generator(random);
    ScriptedRun run;
    const CellValues candidate = ReadPuzzleText(*c.Candidate);
    EXPECT_EQ(generator.Decide(candidate, Options(c.Options), run), c.Difficulty > 0);
    EXPECT_EQ(run.Stages.size(), static_cast<std::size_t>(c.Stages));
    if (c.Difficulty == 0) {
        // A rejected candidate stays as it came, for the run to go on from.
        EXPECT_EQ(generator.Solver.Puzzle, candidate);
        return;
    }
    const AcceptedPuzzle puzzle = generator.LastAccepted();
    EXPECT_EQ(puzzle.Difficulty, c.Difficulty);
    EXPECT_EQ(puzzle.Counter, c.Counted);
    CellValues givens = candidate;
    for (const int cell : c.Added) givens[cell] = puzzle.Solution[cell];
    EXPECT_EQ(puzzle.Givens, givens);
}

constexpr PatternCounter kExpanded = PatternCounter::Expanded;
constexpr PatternCounter kNotExpanded = PatternCounter::NotExpanded;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, Acceptance, ::testing::Values(
    AcceptanceCase{"LogicPassMinimal", &kLogic, "ml", 1, PatternCounter::Minimal, {}, 1},
    AcceptanceCase{"LogicPassNotMinimal", &kLogicPlusOne, "m", 0, {}, {}, 1},
    AcceptanceCase{"SearchOthersMinimal", &kSearch, "m3", 6, PatternCounter::Minimal, {}, 1},
    AcceptanceCase{"SearchUnderLimitExpanded", &kSearch, "l1", 3, kExpanded, {1}, 1},
    AcceptanceCase{"SearchUnderLimitAndMinimal", &kSearch, "ml1", 0, {}, {}, 0},
    AcceptanceCase{"SeveralOneCellBeforeAnyPair", &kSeveralOne, "3", 2, kExpanded, {45}, 1},
    AcceptanceCase{"SeveralNeedsAPair", &kSeveralTwo, "1", 0, {}, {}, 1},
    AcceptanceCase{"SeveralTwoCells", &kSeveralTwo, "2", 2, kExpanded, {4, 8}, 2},
    AcceptanceCase{"SeveralExpandedNotMinimal", &kSeveralTwo, "m2", 0, {}, {}, 3},
    AcceptanceCase{"SeveralExpandedMinimal", &kSixteen, "m1", 6, kExpanded, {72}, 2},
    AcceptanceCase{"SeveralExpandedUnderLimitAndMinimal", &kLessOne, "ml1", 3, kExpanded, {52}, 2},
    AcceptanceCase{"DeadEnd", &kDeadEnd, "3", 0, {}, {}, 0},
    AcceptanceCase{"FullGridIsOthers", &kFullGrid, "", 6, kNotExpanded, {}, 0},
    AcceptanceCase{"FullGridNotMinimal", &kFullGrid, "m", 0, {}, {}, 1}),
    [](const auto& row) { return std::string(row.param.Name); });
// clang-format on

// The expansion polls once after every trial that fails: every single cell
// at level 1, then pairs, then triples; a halt stops it at the next trial.
TEST(Expansion, TriesEachLevelInFullAndStopsAtAHalt) {
    std::string thirteen = kSixteen;  // 13 givens: three more cannot make it unique
    for (int i = 80, dropped = 0; dropped < 3; --i) {
        if (thirteen[i] != '.') {
            thirteen[i] = '.';
            ++dropped;
        }
    }
    struct Case {
        const std::string* Candidate;
        int Level;
        bool HaltAtLevelTwo;
    };
    for (const Case& c :
         {Case{&kSeveralTwo, 1, false}, Case{&thirteen, 3, false}, Case{&kSeveralTwo, 3, true}}) {
        testing::FakePlatform random;
        Generator generator(random);
        ScriptedRun run;
        run.OnPoll = [&](int) {
            return c.HaltAtLevelTwo && run.Stages.back() == RunStage::ExpansionLevel2;
        };
        RunSettings settings;
        settings.ExpandLevel = c.Level;
        const CellValues candidate = ReadPuzzleText(*c.Candidate);
        const int n = CountEmptyCells(candidate);
        EXPECT_FALSE(generator.Decide(candidate, settings, run));
        EXPECT_EQ(generator.Solver.Puzzle, candidate);
        if (c.HaltAtLevelTwo) {
            EXPECT_EQ(run.Polls, n + 1);
        } else if (c.Level == 1) {
            EXPECT_EQ(run.Polls, n);
            EXPECT_EQ(run.Stages, std::vector<RunStage>{RunStage::ExpansionLevel1});
        } else {
            EXPECT_EQ(run.Polls, n + n * (n - 1) / 2 + n * (n - 1) * (n - 2) / 6);
            EXPECT_EQ(run.Stages.back(), RunStage::ExpansionFailed);
        }
    }
}

// A halt during an expansion ends the run at the next poll.
TEST(GeneratorRun, HaltDuringAnExpansionEndsAtTheNextPoll) {
    StreamRandom random(4);
    Generator generator(random);
    RunSettings settings = Options("2");
    settings.Clues = DecodePattern(testing::kPatternCodes[0]);
    ScriptedRun run;
    int haltedAt = 0;
    run.OnPoll = [&](int poll) {
        if (haltedAt == 0 && !run.Stages.empty()) haltedAt = poll;
        return haltedAt != 0;
    };
    EXPECT_EQ(generator.Run(settings, run), RunEnd::Halted);
    EXPECT_EQ(run.Polls, haltedAt + 1);
    EXPECT_TRUE(run.Puzzles.empty());
}

// A library pattern of three clue cells (one of one cell is passed over):
// every consistent filling is visited once, none has eight digits and so
// none is a candidate, and the enumeration runs out.
TEST(GeneratorRun, SmallRandomPatternIsEnumeratedToTheEnd) {
    testing::FakePlatform random;
    std::vector<double> script = {0.0, 0.75};
    std::mt19937 stream(1);
    random.RandomSource = [&] {
        if (script.empty()) return static_cast<double>(stream()) / 4294967296.0;
        const double r = script.front();
        script.erase(script.begin());
        return r;
    };
    Generator generator(random);
    RunSettings settings;
    settings.RandomPatterns = true;
    settings.PatternCount = 2;
    ScriptedRun run;
    std::vector<std::int32_t> drawn;
    run.Patterns = [&](std::int32_t record) {
        drawn.push_back(record);
        Pattern clues{};
        for (const int cell : record == 1 ? std::vector<int>{5} : std::vector<int>{0, 1, 40}) {
            clues[cell] = true;
        }
        return clues;
    };
    std::map<std::array<int, 3>, int> seen;
    run.OnPoll = [&](int) {
        const auto& p = generator.Solver.Puzzle;
        if (p[0] != 0 && p[1] != 0 && p[40] != 0 && p[0] != p[1]) ++seen[{p[0], p[1], p[40]}];
        return false;
    };
    EXPECT_EQ(generator.Run(settings, run), RunEnd::Exhausted);
    EXPECT_EQ(drawn, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(generator.CandidatesTried, 0);
    EXPECT_EQ(seen.size(), 9u * 8u * 9u);
    for (const auto& [filling, times] : seen) EXPECT_EQ(times, 1);
}

}  // namespace
}  // namespace cluemill
