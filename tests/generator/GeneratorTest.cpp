// SPDX-License-Identifier: MIT
// The generator without a window: the pattern checks, the fate of prepared
// candidates on every path through the options, the expansion's levels and
// halt, and whole runs: what they visit, count and accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "generator/GeneratorTestSupport.h"
#include "output/PuzzleFormats.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::ScriptedRun;

// clang-format off
// Solved by hidden singles; 17 givens, so minimal. Then with a redundant given.
const std::string kLogic = ".................1..2..3.4................23567..1.......6.8.9...5..4....17......";
const std::string kLogicPlusOne = "3" + kLogic.substr(1);
// A minimal 17-clue puzzle without its given in cell 52: several
// solutions, and cell 52 is the first that makes it unique and solvable by
// logic again.
const std::string kLessOne = "................12..3..4........56...1........2..........27.8...4..1....8..9..3..";
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

Pattern PatternOf(const std::string& line) {
    Pattern clues{};
    for (int i = 0; i < kCells; ++i) clues[i] = line[i] != '.';
    return clues;
}

std::string With(std::string pattern, const std::vector<int>& cells, char mark) {
    for (const int cell : cells) pattern[cell] = mark;
    return pattern;
}

std::string Transposed(const std::string& pattern) {
    std::string t(81, '.');
    for (int i = 0; i < 81; ++i) t[(i % 9) * 9 + i / 9] = pattern[i];
    return t;
}

TEST(CheckPattern, FindsTheFirstProblemInOrder) {
    const std::vector<std::pair<std::string, PatternProblem>> cases = {
        {kValid, PatternProblem::None},
        {With(kValid, {0, 2, 6, 10, 13}, '.'), PatternProblem::TooFewClues},
        {With(kValid, {0, 2, 6, 10}, '.'), PatternProblem::None},
        {kBandInOneRow, PatternProblem::EmptyRows},
        {With(kValid, {38, 42}, '.'), PatternProblem::None},
        {Transposed(kBandInOneRow), PatternProblem::EmptyColumns},
        {kStackBeforeLaterBand, PatternProblem::EmptyColumns},
        {kRowBeforeColumn, PatternProblem::EmptyRows},
        {kFiveEmptyBoxes, PatternProblem::EmptyBoxes},
        {With(kFiveEmptyBoxes, {8}, 'X'), PatternProblem::None},
    };
    for (const auto& [pattern, problem] : cases) {
        EXPECT_EQ(CheckPattern(PatternOf(pattern)), problem) << pattern;
    }
    EXPECT_STREQ(PatternProblemText(PatternProblem::EmptyBoxes),
                 "More than four empty boxes are not allowed !");
}

// The one solution of a puzzle, or nothing.
std::optional<CellValues> OneSolution(const CellValues& givens) {
    if (CountEmptyCells(givens) == 0) return givens;
    Solver solver;
    solver.Puzzle = givens;
    if (!solver.UniqueSud({})) return std::nullopt;
    return solver.Difficulty == 6 ? solver.Solution : solver.Board;
}

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

TEST_P(Acceptance, DecidesAndCounts) {
    const AcceptanceCase& c = GetParam();
    testing::FakePlatform random;
    Generator generator(random);
    ScriptedRun run;
    const CellValues candidate = ReadPuzzleText(*c.Candidate);
    const RunSettings settings = Options(c.Options);
    const bool accepted = generator.Decide(candidate, settings, run);
    EXPECT_EQ(accepted, c.Difficulty > 0);
    EXPECT_EQ(run.Stages.size(), static_cast<std::size_t>(c.Stages));
    if (!accepted) {
        // A rejected candidate stays as it came, for the run to go on from.
        EXPECT_EQ(generator.Solver.Puzzle, candidate);
        return;
    }
    const AcceptedPuzzle puzzle = generator.LastAccepted();
    EXPECT_EQ(puzzle.Difficulty, c.Difficulty);
    EXPECT_EQ(puzzle.Counter, c.Counted);
    // The candidate's givens and the added cells, whose digits come from the
    // one solution of the expanded puzzle.
    CellValues givens = candidate;
    for (const int cell : c.Added) givens[cell] = puzzle.Solution[cell];
    EXPECT_EQ(puzzle.Givens, givens);
    EXPECT_EQ(OneSolution(givens), puzzle.Solution);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, Acceptance, ::testing::Values(
    AcceptanceCase{"LogicPass", &kLogic, "", 1, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"LogicPassMinimal", &kLogic, "m", 1, PatternCounter::Minimal, {}, 1},
    AcceptanceCase{"LogicPassNotMinimal", &kLogicPlusOne, "m", 0, {}, {}, 1},
    AcceptanceCase{"LogicPassMinimalityUnchecked", &kLogicPlusOne, "", 1, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"LogicPassUnderLimit", &kLogic, "l", 1, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"LogicPassMinimalUnderLimit", &kLogic, "ml", 1, PatternCounter::Minimal, {}, 1},
    AcceptanceCase{"SearchOthers", &kSearch, "", 6, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"SearchOthersMinimal", &kSearch, "m", 6, PatternCounter::Minimal, {}, 1},
    AcceptanceCase{"SearchNotMinimal", &kSearchPlusOne, "m", 0, {}, {}, 1},
    AcceptanceCase{"SearchOthersNeedsNoExpansion", &kSearch, "3", 6, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"SearchUnderLimitRejected", &kSearch, "l", 0, {}, {}, 0},
    AcceptanceCase{"SearchUnderLimitExpanded", &kSearch, "l1", 3, PatternCounter::Expanded, {1}, 1},
    AcceptanceCase{"SearchUnderLimitAndMinimal", &kSearch, "ml1", 0, {}, {}, 0},
    AcceptanceCase{"SeveralWithoutExpansion", &kSeveralOne, "", 0, {}, {}, 0},
    AcceptanceCase{"SeveralOneCell", &kSeveralOne, "1", 2, PatternCounter::Expanded, {45}, 1},
    AcceptanceCase{"SeveralOneCellBeforeAnyPair", &kSeveralOne, "3", 2, PatternCounter::Expanded, {45}, 1},
    AcceptanceCase{"SeveralOneCellUnderLimit", &kSeveralOne, "l1", 2, PatternCounter::Expanded, {45}, 1},
    AcceptanceCase{"SeveralNeedsAPair", &kSeveralTwo, "1", 0, {}, {}, 1},
    AcceptanceCase{"SeveralTwoCells", &kSeveralTwo, "2", 2, PatternCounter::Expanded, {4, 8}, 2},
    AcceptanceCase{"SeveralExpandedNotMinimal", &kSeveralTwo, "m2", 0, {}, {}, 3},
    AcceptanceCase{"SeveralExpandedMinimal", &kSixteen, "m1", 6, PatternCounter::Expanded, {72}, 2},
    AcceptanceCase{"SeveralExpandedUnderLimitAndMinimal", &kLessOne, "ml1", 3, PatternCounter::Expanded, {52}, 2},
    AcceptanceCase{"DeadEnd", &kDeadEnd, "3", 0, {}, {}, 0},
    AcceptanceCase{"NoSolution", &kNoSolution, "3", 0, {}, {}, 0},
    AcceptanceCase{"FullGridIsOthers", &kFullGrid, "", 6, PatternCounter::NotExpanded, {}, 0},
    AcceptanceCase{"FullGridNotMinimal", &kFullGrid, "m", 0, {}, {}, 1},
    AcceptanceCase{"FullGridUnderLimit", &kFullGrid, "l1", 0, {}, {}, 1}),
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

// Every call shuffles the open cells anew, so the same candidate can be
// made unique by different cells.
TEST(Expansion, EveryCallShufflesAnew) {
    StreamRandom random(11);
    Generator generator(random);
    ScriptedRun run;
    RunSettings settings;
    settings.ExpandLevel = 1;
    std::set<CellValues> expansions;
    for (int call = 0; call < 8; ++call) {
        ASSERT_TRUE(generator.Decide(ReadPuzzleText(kSeveralOne), settings, run));
        expansions.insert(generator.LastAccepted().Givens);
    }
    EXPECT_GT(expansions.size(), 1u);
}

// The givens of a record as a format writes them: the first 81 cells.
CellValues GivensOf(OutputFormat format, const std::string& record) {
    CellValues givens{};
    if (format == OutputFormat::Tavix) {
        for (int i = 0; i < kCells; ++i) givens[i] = static_cast<std::int8_t>(record[i]);
        return givens;
    }
    std::string cells;
    for (const char c : record) {
        if ((c >= '0' && c <= '9') || c == '.') cells += c;
    }
    return ReadPuzzleText(cells);
}

// Minimal puzzles with one added cell at most: a candidate whose expansion
// fails the minimality test must not leave its added given to the next.
// Every puzzle, in every format, has one solution, and its givens are the
// pattern's cells and, when it was expanded, the one added.
TEST(GeneratorRun, WritesOnlyUniquePuzzlesOnThePattern) {
    StreamRandom random(5);
    Generator generator(random);
    RunSettings settings = Options("m1");
    settings.Clues = DecodePattern(testing::kPatternCodes[0]);
    ScriptedRun run;
    run.OnPoll = [&](int) { return run.Puzzles.size() == 8; };
    EXPECT_EQ(generator.Run(settings, run), RunEnd::Halted);
    for (const AcceptedPuzzle& puzzle : run.Puzzles) {
        for (int f = 0; f < kFormatCount; ++f) {
            const auto format = static_cast<OutputFormat>(f);
            const CellValues givens = GivensOf(
                format, BuildRecord(format, puzzle.Givens, puzzle.Solution, PuzzleLine(puzzle)));
            EXPECT_EQ(OneSolution(givens), puzzle.Solution) << "format " << f;
            int added = 0;
            for (int i = 0; i < kCells; ++i) {
                EXPECT_TRUE(givens[i] > 0 || !settings.Clues[i]) << i;
                added += givens[i] > 0 && !settings.Clues[i] ? 1 : 0;
            }
            EXPECT_EQ(added, puzzle.Counter == PatternCounter::Expanded ? 1 : 0) << "format " << f;
        }
    }
}

// A run's events in order: -2 a reseed of the random stream (one at every
// renewal of the base), -1 an accepted puzzle, else a rejection's count.
struct LoggedRun final : RunObserver, RandomSource {
    StreamRandom Stream{7};
    std::vector<int> Log;
    bool Poll() override { return std::count(Log.begin(), Log.end(), -1) >= 6; }
    void Accepted(const AcceptedPuzzle&) override { Log.push_back(-1); }
    void Rejected(std::int32_t invalidCount) override { Log.push_back(invalidCount); }
    double Random() override { return Stream.Random(); }
    void Randomize() override {
        Stream.Randomize();
        Log.push_back(-2);
    }
};

// Rejections count from 0 after every renewal: after RenewAfter of them a
// new base is drawn, and an accepted puzzle starts one too.
TEST(GeneratorRun, RejectionsCountFromTheLastRenewal) {
    LoggedRun run;
    Generator generator(run);
    RunSettings settings;
    settings.Clues = DecodePattern(testing::kPatternCodes[1]);
    settings.RenewAfter = 3;
    generator.Run(settings, run);
    ASSERT_EQ(run.Log.front(), -2);
    int expected = 0;
    for (std::size_t e = 1; e < run.Log.size(); ++e) {
        const int event = run.Log[e];
        if (event == -2) expected = 0;
        if (event < 0) continue;
        EXPECT_EQ(event, expected) << "event " << e;
        expected = event + 1;
    }
    for (std::size_t e = 0; e + 1 < run.Log.size(); ++e) {
        if (run.Log[e] == -1 || run.Log[e] == 2) {
            EXPECT_EQ(run.Log[e + 1], -2) << "event " << e;
        }
    }
}

// Every base starts at the lowest clue cell and fills only clue cells.
TEST(GeneratorRun, EveryBaseStartsAtTheLowestClueCellAndStaysInThePattern) {
    StreamRandom random(3);
    Generator generator(random);
    RunSettings settings;
    settings.Clues = DecodePattern(testing::kPatternCodes[2]);
    ScriptedRun run;
    int firstPlacements = 0;
    run.OnPoll = [&](int) {
        std::vector<int> filled;
        for (int i = 0; i < kCells; ++i) {
            if (generator.Solver.Puzzle[i] != 0) filled.push_back(i);
        }
        for (const int cell : filled) EXPECT_TRUE(settings.Clues[cell]) << cell;
        if (filled.size() == 1) firstPlacements += filled[0] == generator.ClueCells[0] ? 1 : 1000;
        return run.Puzzles.size() >= 4;
    };
    generator.Run(settings, run);
    EXPECT_GE(firstPlacements, 4);
    EXPECT_LT(firstPlacements, 1000);
    ASSERT_EQ(generator.ClueCount, 30);
    for (int i = 1; i < 30; ++i) EXPECT_LT(generator.ClueCells[i - 1], generator.ClueCells[i]);
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
        return PatternOf(record == 1 ? std::string(5, '.') + "X" + std::string(75, '.')
                                     : "XX" + std::string(38, '.') + "X" + std::string(40, '.'));
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

// CountNum from the run's counts, for a digit alone or repeated in its
// row, column and box, and whether a cell could still take a digit, through
// any sequence of changes: against a literal count of the grid.
TEST(UnitCounts, AgreeWithALiteralCountThroughAnyChanges) {
    const auto literal = [](const CellValues& p, int cell) {
        const int d = p[cell];
        int n = 0;
        for (int j = 0; j < 9; ++j) n += p[cell / 9 * 9 + j] == d ? 1 : 0;
        if (n != 1) return 0;
        for (int j = 0; j < 9; ++j) n += p[cell % 9 + 9 * j] == d ? 1 : 0;
        if (n != 2) return 0;
        for (int j = 0; j < 9; ++j) n += p[BoxLeftTopOf(cell) + 9 * (j / 3) + j % 3] == d ? 1 : 0;
        return n;
    };
    std::mt19937 random(17);
    UnitCounts counts;
    CellValues puzzle{};
    counts.Rebuild(puzzle);
    std::map<int, int> answers;
    for (int step = 0; step < 20000; ++step) {
        const int cell = static_cast<int>(random() % 81);
        const int value = static_cast<int>(random() % 10);
        counts.Change(cell, puzzle[cell], value);
        puzzle[cell] = static_cast<std::int8_t>(value);
        if (step % 5000 == 4999) counts.Rebuild(puzzle);
        for (int probe = 0; probe < kCells; ++probe) {
            if (puzzle[probe] == 0) continue;
            ASSERT_EQ(counts.CountNum(probe, puzzle[probe]), literal(puzzle, probe)) << step;
            ++answers[literal(puzzle, probe)];
        }
        if (step % 7 != 0) continue;
        for (int probe = 0; probe < kCells; ++probe) {
            unsigned seen = 1u << puzzle[probe];
            for (const int peer : kPeers[probe]) seen |= 1u << puzzle[peer];
            const bool room = (seen & 0x3FEu) != 0x3FEu;
            ASSERT_EQ(counts.HasRoom(probe), room) << step;
            ++answers[room ? 10 : 11];
        }
    }
    for (const int answer : {0, 3, 4, 10, 11}) EXPECT_GT(answers[answer], 0) << answer;
}

}  // namespace
}  // namespace cluemill
