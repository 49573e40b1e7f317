// SPDX-License-Identifier: MIT
// `cluemill-cli test` against the literal reference of "Check  Uniqueness":
// every printed line must carry the verdict, the solution and the white given
// that the reference reaches on the same puzzle text. The command counts
// solutions with a fast counter and tests minimality with the fast UniqueSud,
// so an agreement here pins both to the exact search of the window's test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliRunner.h"
#include "solver/RandomGrids.h"
#include "tester/PuzzleText.h"
#include "tester/ReferenceTester.h"

namespace cluemill {
namespace {

// Enough for every puzzle here but a few random fillings without a solution,
// which are skipped and counted instead.
constexpr long long kStepBudget = 2'000'000;
constexpr int kMaxReportedMismatches = 10;

const char* const kInvalidGivens = "Invalid given(s) found !!!";
const char* const kComplete = "The sudoku you want to test is complete allready !!!";
const char* const kNoSolution = "This Sudoku has no solution";
const char* const kSeveral = "This Sudoku has more than one solution";
const char* const kUnique = "This Sudoku has one unique solution";
const char* const kMinimal = "This Sudoku has one unique solution and is minimal";
const char* const kNonMinimal = "This Sudoku has one unique solution but is non-minimal";

using namespace cluemill::testing;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream stream(text);
    while (std::getline(stream, line)) lines.push_back(line);
    return lines;
}

// The line the command should print for a puzzle line, by the reference.
std::string ExpectedLine(const std::string& puzzleLine, const reference::TestResult& r) {
    std::string puzzle = puzzleLine.substr(0, kCells);
    for (char& c : puzzle) {
        if (c < '1' || c > '9') c = '.';
    }
    return puzzle + '\t' + r.Verdict + '\t' + r.Solution + '\t' +
           (r.White < 0 ? std::string("-") : std::to_string(r.White));
}

// Verdicts met by one source, and what could not be compared.
struct Tally {
    int Compared = 0;
    int Skipped = 0;  // the reference ran out of steps
    int Mismatches = 0;
    std::map<std::string, int> ByVerdict;

    int Count(const char* verdict) const {
        const auto it = ByVerdict.find(verdict);
        return it == ByVerdict.end() ? 0 : it->second;
    }

    std::string Summary() const {
        std::ostringstream out;
        out << Compared << " compared, " << Skipped << " skipped";
        for (const auto& [verdict, count] : ByVerdict)
            out << "; " << count << " \"" << verdict << '"';
        return out.str();
    }
};

// Runs the command once over all lines of a source (as standard input, or
// the file named by path) and compares each printed line with the reference.
Tally CompareWithReference(const std::string& source, const std::vector<std::string>& lines,
                           bool minimal, const std::string& path = "") {
    std::string input;
    for (std::size_t i = 0; i < lines.size(); ++i) input += lines[i] + (i % 7 == 3 ? "\r\n" : "\n");
    std::vector<std::string> args{"test"};
    if (minimal) args.push_back("--minimal");
    if (!path.empty()) args.push_back(path);
    const CliRun run = RunCommand(args, path.empty() ? input : "");

    Tally tally;
    EXPECT_EQ(run.Status, 0) << source;
    EXPECT_EQ(run.Err, "") << source;
    const std::vector<std::string> printed = Lines(run.Out);
    EXPECT_EQ(printed.size(), lines.size()) << source;
    for (std::size_t i = 0; i < lines.size() && i < printed.size(); ++i) {
        const reference::TestResult expected =
            reference::ButtonSolve_Click(lines[i], minimal, kStepBudget);
        if (!expected.Completed) {
            ++tally.Skipped;
            continue;
        }
        ++tally.Compared;
        ++tally.ByVerdict[expected.Verdict];
        const std::string expectedLine = ExpectedLine(lines[i], expected);
        if (printed[i] != expectedLine) {
            ++tally.Mismatches;
            if (tally.Mismatches <= kMaxReportedMismatches) {
                ADD_FAILURE() << source << (minimal ? " --minimal" : "") << ", puzzle line "
                              << lines[i] << "\n  printed  " << printed[i] << "\n  expected "
                              << expectedLine;
            }
        }
    }
    std::cout << "[ " << source << (minimal ? " --minimal" : "") << " ] " << tally.Summary()
              << '\n';
    EXPECT_EQ(tally.Mismatches, 0) << source;
    EXPECT_LE(tally.Skipped * 100, tally.Compared) << source << ": over 1% skipped";
    return tally;
}

// A solved grid with all but clueCount cells emptied at random.
CellValues ThinnedGrid(std::mt19937& rng, int clueCount) {
    CellValues puzzle = RandomSolvedGrid(rng);
    const std::vector<int> order = ShuffledCells(rng);
    for (int i = 0; i < kCells - clueCount; ++i) puzzle[order[i]] = 0;
    return puzzle;
}

// The puzzle as a line of text. Most lines use "." for an empty cell; some
// use "0" or another character that the grid reads as empty, and some carry
// text after the 81st character, which is not read.
std::string Render(const CellValues& puzzle, std::mt19937& rng) {
    static constexpr std::array<char, 6> kOtherEmpty{'0', 'x', ' ', '-', '*', '\t'};
    const int style = std::uniform_int_distribution<int>(0, 7)(rng);
    std::string line;
    for (int i = 0; i < kCells; ++i) {
        if (puzzle[i] > 0) {
            line += static_cast<char>('0' + puzzle[i]);
        } else if (style == 1) {
            line += '0';
        } else if (style == 2) {
            line += kOtherEmpty[std::uniform_int_distribution<std::size_t>(0, 5)(rng)];
        } else {
            line += '.';
        }
    }
    if (style == 3) line += " 7 # after the puzzle 123456789";
    return line;
}

std::vector<std::string> ReadDataFile(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() >= kCells && line.front() != '#') lines.push_back(line);
    }
    return lines;
}

std::string DataPath(const char* name) {
    return std::string(CLUEMILL_TEST_DATA) + "/" + name + ".txt";
}

// Every k-th line from line first on, at most count of them.
std::vector<std::string> EveryKth(const std::vector<std::string>& lines, std::size_t first,
                                  std::size_t k, std::size_t count) {
    std::vector<std::string> picked;
    for (std::size_t i = first; i < lines.size() && picked.size() < count; i += k) {
        picked.push_back(lines[i]);
    }
    return picked;
}

TEST(TestCommandEquivalence, PuzzleFiles) {
    const std::map<std::string, std::vector<const char*>> expectedVerdicts = {
        {"easy", {kUnique}},
        {"hard", {kUnique}},
        {"multi", {kSeveral}},
        {"fillings", {kNoSolution, kSeveral}},
    };
    for (const auto& [name, verdicts] : expectedVerdicts) {
        const std::string path = DataPath(name.c_str());
        const std::vector<std::string> lines = ReadDataFile(path);
        EXPECT_GE(lines.size(), 100u) << path;
        const Tally tally = CompareWithReference(name, lines, false, path);
        for (const char* verdict : verdicts)
            EXPECT_GT(tally.Count(verdict), 0) << name << ": " << verdict;
    }
    // The reference's search, without a logic pass before it, takes long on
    // 17-clue puzzles: a third of them.
    const std::vector<std::string> seventeen =
        EveryKth(ReadDataFile(DataPath("seventeen")), 0, 3, 100);
    const Tally tally = CompareWithReference("seventeen", seventeen, false);
    EXPECT_EQ(tally.Count(kUnique), tally.Compared);
}

TEST(TestCommandEquivalence, PuzzleFilesWithMinimality) {
    // Every 17-clue puzzle is minimal, and so are most of the published
    // easy and hard ones.
    const std::vector<std::string> seventeen =
        EveryKth(ReadDataFile(DataPath("seventeen")), 1, 3, 40);
    const Tally minimal = CompareWithReference("seventeen", seventeen, true);
    EXPECT_EQ(minimal.Count(kMinimal), minimal.Compared);

    std::vector<std::string> mixed;
    for (const char* name : {"easy", "hard", "multi"}) {
        const std::vector<std::string> lines = EveryKth(ReadDataFile(DataPath(name)), 0, 3, 60);
        mixed.insert(mixed.end(), lines.begin(), lines.end());
    }
    const Tally tally = CompareWithReference("easy, hard and multi", mixed, true);
    EXPECT_GT(tally.Count(kMinimal), 0);
    EXPECT_GT(tally.Count(kNonMinimal), 0);
    EXPECT_GT(tally.Count(kSeveral), 0);
}

TEST(TestCommandEquivalence, ThinnedSolvedGrids) {
    std::mt19937 rng(31);
    std::vector<std::string> lines;
    for (int n = 0; n < 1500; ++n) {
        lines.push_back(
            Render(ThinnedGrid(rng, std::uniform_int_distribution<int>(20, 50)(rng)), rng));
    }
    const Tally tally = CompareWithReference("thinned grids", lines, false);
    EXPECT_GT(tally.Count(kUnique), 100);
    EXPECT_GT(tally.Count(kSeveral), 100);

    // Mostly unique puzzles with givens to spare, some of them with several.
    std::vector<std::string> spare;
    for (int n = 0; n < 250; ++n) {
        spare.push_back(
            Render(ThinnedGrid(rng, std::uniform_int_distribution<int>(28, 60)(rng)), rng));
    }
    const Tally minimal = CompareWithReference("thinned grids", spare, true);
    EXPECT_GT(minimal.Count(kNonMinimal), 100);
    EXPECT_GT(minimal.Count(kSeveral), 0);
}

TEST(TestCommandEquivalence, MinimalPuzzles) {
    std::mt19937 rng(5);
    std::vector<std::string> minimalLines;
    std::vector<std::string> paddedLines;
    for (int n = 0; n < 60; ++n) {
        const CellValues solved = RandomSolvedGrid(rng);
        CellValues puzzle = MinimalPuzzle(solved, ShuffledCells(rng), kStepBudget);
        minimalLines.push_back(Render(puzzle, rng));
        // One given of the solution added back: the white given is the
        // first redundant one in cell order, not necessarily the new one.
        int added = 0;
        do {
            added = std::uniform_int_distribution<int>(0, kCells - 1)(rng);
        } while (puzzle[added] != 0);
        puzzle[added] = solved[added];
        paddedLines.push_back(Render(puzzle, rng));
    }
    const Tally tally = CompareWithReference("thinned to minimal", minimalLines, true);
    EXPECT_EQ(tally.Count(kMinimal), tally.Compared);
    const Tally plain = CompareWithReference("thinned to minimal", minimalLines, false);
    EXPECT_EQ(plain.Count(kUnique), plain.Compared);
    const Tally padded = CompareWithReference("minimal plus one given", paddedLines, true);
    EXPECT_EQ(padded.Count(kNonMinimal), padded.Compared);
}

TEST(TestCommandEquivalence, RandomPatternFillings) {
    std::mt19937 rng(20240611);
    std::vector<std::string> lines;
    while (lines.size() < 1200) {
        std::vector<int> cells = ShuffledCells(rng);
        cells.resize(std::uniform_int_distribution<std::size_t>(18, 34)(rng));
        CellValues puzzle{};
        int nodes = 20'000;
        if (!FillCells(puzzle, cells, 0, rng, nodes)) continue;
        lines.push_back(Render(puzzle, rng));
    }
    const Tally tally = CompareWithReference("random fillings", lines, false);
    EXPECT_GT(tally.Count(kNoSolution), 50);
    EXPECT_GT(tally.Count(kSeveral), 50);
}

TEST(TestCommandEquivalence, ConflictingGivens) {
    std::mt19937 rng(77);
    std::vector<std::string> lines;
    for (int n = 0; n < 300; ++n) {
        // A copy of one given's digit on one of its peers, given or empty;
        // from time to time on a complete grid.
        CellValues puzzle = n % 5 == 0
                                ? RandomSolvedGrid(rng)
                                : ThinnedGrid(rng, std::uniform_int_distribution<int>(17, 60)(rng));
        int given = 0;
        do {
            given = std::uniform_int_distribution<int>(0, kCells - 1)(rng);
        } while (puzzle[given] == 0);
        const int peer = kPeers[given][std::uniform_int_distribution<std::size_t>(0, 19)(rng)];
        puzzle[peer] = puzzle[given];
        lines.push_back(Render(puzzle, rng));
    }
    const Tally tally = CompareWithReference("conflicting givens", lines, false);
    EXPECT_EQ(tally.Count(kInvalidGivens), tally.Compared);
    CompareWithReference("conflicting givens",
                         std::vector<std::string>(lines.begin(), lines.begin() + 50), true);
}

TEST(TestCommandEquivalence, CompleteGrids) {
    std::mt19937 rng(8);
    std::vector<std::string> lines;
    for (int n = 0; n < 60; ++n) lines.push_back(Render(RandomSolvedGrid(rng), rng));
    const Tally tally = CompareWithReference("complete grids", lines, false);
    EXPECT_EQ(tally.Count(kComplete), tally.Compared);
    CompareWithReference("complete grids", lines, true);
}

TEST(TestCommandEquivalence, EmptyCellWhosePeersHoldEveryDigit) {
    std::mt19937 rng(12);
    std::vector<std::string> lines;
    while (lines.size() < 300) {
        // The peers of one cell filled without conflict, then thinned while
        // they still hold all nine digits; a few more givens elsewhere.
        const int cell = std::uniform_int_distribution<int>(0, kCells - 1)(rng);
        std::vector<int> cells(kPeers[cell].begin(), kPeers[cell].end());
        std::shuffle(cells.begin(), cells.end(), rng);
        const std::vector<int> others = ShuffledCells(rng);
        for (int i = 0, extra = std::uniform_int_distribution<int>(0, 20)(rng); i < extra; ++i) {
            if (others[i] != cell &&
                std::find(cells.begin(), cells.end(), others[i]) == cells.end()) {
                cells.push_back(others[i]);
            }
        }
        CellValues puzzle{};
        int nodes = 20'000;
        if (!FillCells(puzzle, cells, 0, rng, nodes)) continue;
        std::vector<int> peers(kPeers[cell].begin(), kPeers[cell].end());
        std::shuffle(peers.begin(), peers.end(), rng);
        for (const int peer : peers) {
            const std::int8_t kept = puzzle[peer];
            puzzle[peer] = 0;
            bool everyDigit = true;
            for (int d = 1; d <= 9 && everyDigit; ++d) everyDigit = !Fits(puzzle, cell, d);
            if (!everyDigit) puzzle[peer] = kept;
        }
        bool blocked = true;
        for (int d = 1; d <= 9 && blocked; ++d) blocked = !Fits(puzzle, cell, d);
        if (blocked) lines.push_back(Render(puzzle, rng));
    }
    const Tally tally = CompareWithReference("cell without candidate", lines, false);
    EXPECT_EQ(tally.Count(kNoSolution), tally.Compared);
    CompareWithReference("cell without candidate",
                         std::vector<std::string>(lines.begin(), lines.begin() + 50), true);
}

TEST(TestCommandEquivalence, EdgeCaseGrids) {
    std::vector<std::string> lines;
    lines.push_back(std::string(kCells, '.'));
    lines.push_back(std::string(kCells, '0'));
    lines.push_back("5" + std::string(kCells - 1, 'a'));
    for (const int cell : {0, 40, 80}) {
        std::string line(kCells, '.');
        line[static_cast<std::size_t>(cell)] = '9';
        lines.push_back(line);
    }
    // The same unique puzzle twice, then its solution as a complete grid:
    // the command reuses one window, whose text box then holds that solution.
    const std::string hard =
        "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";
    lines.push_back(hard);
    lines.push_back(hard);
    lines.push_back(
        "468931527751624839392578461134756298289413675675289314846192753513867942927345186");
    lines.push_back(hard);
    // A solved grid with one cell open, and with one unit open.
    std::mt19937 rng(3);
    for (int n = 0; n < 9; ++n) {
        CellValues puzzle = RandomSolvedGrid(rng);
        puzzle[static_cast<std::size_t>(n * 10)] = 0;
        lines.push_back(Render(puzzle, rng));
        for (const int cell : kUnitTable[static_cast<std::size_t>(n * 3)].Cells) puzzle[cell] = 0;
        lines.push_back(Render(puzzle, rng));
    }
    for (const bool minimal : {false, true}) {
        const Tally tally = CompareWithReference("edge cases", lines, minimal);
        EXPECT_EQ(tally.Skipped, 0);
        EXPECT_GT(tally.Count(kSeveral), 0);
        EXPECT_GT(tally.Count(kComplete), 0);
    }
}

TEST(TestCommand, HelpListsEveryVerdict) {
    const CliRun run = RunCommand({"test", "--help"});
    EXPECT_EQ(run.Status, 0);
    for (const char* verdict :
         {kInvalidGivens, kComplete, kNoSolution, kSeveral, kUnique, kMinimal, kNonMinimal}) {
        EXPECT_NE(run.Out.find(verdict), std::string::npos) << verdict;
    }
}

TEST(TestCommand, ShortLineIsReportedAndTheOthersAreTested) {
    const std::string puzzle = std::string(80, '.') + "1";
    const CliRun run =
        RunCommand({"test"}, "# a comment\n" + puzzle + "\n\n12345\n" + puzzle + "\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "line 4: a puzzle needs 81 characters\n");
    const std::vector<std::string> printed = Lines(run.Out);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], puzzle + '\t' + kSeveral + "\t-\t-");
    EXPECT_EQ(printed[1], printed[0]);
}

TEST(TestCommand, UsageErrorsExitWithStatusTwo) {
    const CliRun unknown = RunCommand({"test", "--fast"}, std::string(81, '.') + "\n");
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_NE(unknown.Err.find("--fast"), std::string::npos);

    const CliRun folder = RunCommand({"test", CLUEMILL_TEST_DATA});
    EXPECT_EQ(folder.Status, 2);
    EXPECT_EQ(folder.Out, "");
    EXPECT_NE(folder.Err, "");
}

}  // namespace
}  // namespace cluemill
