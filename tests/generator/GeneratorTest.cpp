// SPDX-License-Identifier: MIT
// The generator without a window: the fate of prepared candidates on each
// path through the options, with the stages it tells; the expansion's
// levels and halt; a run enumerated to its end. What many candidates become
// under every option set is recorded in tests/data (RecordedTest.cpp).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "generator/GeneratorTestSupport.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::ScriptedRun;

struct AcceptanceCase {
    std::string Name, Candidate, Options;
    int Difficulty = 0;  // 0 = rejected
    PatternCounter Counted{};
    std::vector<int> Added;  // cells an expansion adds
    int Stages = 0;          // stages the acceptance told of
};

void PrintTo(const AcceptanceCase& c, std::ostream* os) {
    *os << c.Name;
}

// The candidates of tests/data/acceptance.txt by name, and its paths.
std::map<std::string, std::string>& Puzzles() {
    static std::map<std::string, std::string> puzzles;
    return puzzles;
}
const std::vector<AcceptanceCase> kCases = [] {
    const std::map<std::string, PatternCounter> counters = {
        {"-", {}},
        {"Minimal", PatternCounter::Minimal},
        {"Expanded", PatternCounter::Expanded},
        {"NotExpanded", PatternCounter::NotExpanded}};
    std::ifstream in(CLUEMILL_TEST_DATA "/acceptance.txt");
    std::vector<AcceptanceCase> cases;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string kind, name, text, counter, added;
        fields >> kind >> name >> text;
        if (kind == "puzzle") Puzzles()[name] = text;
        if (kind != "case") continue;
        AcceptanceCase& c = cases.emplace_back();
        fields >> c.Options >> c.Difficulty >> counter >> added >> c.Stages;
        c.Name = name;
        c.Candidate = Puzzles().at(text);
        c.Counted = counters.at(counter);
        for (const auto& cell : testing::Split(added == "-" ? "" : added, ','))
            c.Added.push_back(std::stoi(cell));
    }
    return cases;
}();

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
    const CellValues candidate = ReadPuzzleText(c.Candidate);
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

INSTANTIATE_TEST_SUITE_P(Paths, Acceptance, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return row.param.Name; });

// The expansion polls once after every trial that fails: every single cell
// at level 1, then pairs, then triples; a halt stops it at the next trial.
TEST(Expansion, TriesEachLevelInFullAndStopsAtAHalt) {
    std::string thirteen = Puzzles().at("sixteen");  // 13 givens: three more cannot make it unique
    for (int i = 80, dropped = 0; dropped < 3; --i) {
        if (thirteen[i] != '.') {
            thirteen[i] = '.';
            ++dropped;
        }
    }
    const std::string& severalTwo = Puzzles().at("several-two");
    struct Case {
        const std::string* Candidate;
        int Level;
        bool HaltAtLevelTwo;
    };
    for (const Case& c :
         {Case{&severalTwo, 1, false}, Case{&thirteen, 3, false}, Case{&severalTwo, 3, true}}) {
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
