// SPDX-License-Identifier: MIT
// cluemill-cli grade against the literal reading of the acceptance, over
// puzzles of every kind: logic-solved, search-solved, several solutions, no
// solution and dead ends, from the data files and from random fillings of
// the generator's patterns.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "generator/GeneratorTestSupport.h"
#include "generator/ReferenceAcceptance.h"
#include "patterns/PatternLibrary.h"
#include "solver/ReferenceSolver.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::ReferenceGrid;
using testing::RunCommand;
using testing::Split;
using testing::ToGrid;
using testing::ToText;

// The pattern's cells filled one by one with random digits that break no
// rule with the ones before, as the generator's enumeration fills them.
std::string RandomFilling(const Pattern& clues, std::mt19937& random) {
    for (;;) {
        CellValues puzzle{};
        bool stuck = false;
        for (int cell = 0; cell < 81 && !stuck; ++cell) {
            if (!clues[cell]) continue;
            std::vector<int> fits;
            for (int d = 1; d <= 9; ++d) {
                puzzle[cell] = static_cast<std::int8_t>(d);
                if (!GivensConflict(puzzle)) fits.push_back(d);
            }
            stuck = fits.empty();
            puzzle[cell] = static_cast<std::int8_t>(stuck ? 0 : fits[random() % fits.size()]);
        }
        if (stuck) continue;
        std::string text(81, '.');
        for (int i = 0; i < 81; ++i) {
            if (puzzle[i] > 0) text[i] = static_cast<char>('0' + puzzle[i]);
        }
        return text;
    }
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/" + file);
    for (std::string line; std::getline(in, line);) {
        if (line.size() >= 81) lines.push_back(line.substr(0, 81));
    }
    return lines;
}

// reference::UniqueSud remembering its answers: the option sets share
// most of their solves.
reference::Result RememberedSolve(const ReferenceGrid& puzzle) {
    static std::map<ReferenceGrid, reference::Result> answers;
    const auto [at, added] = answers.try_emplace(puzzle);
    if (added) at->second = reference::UniqueSud(puzzle);
    return at->second;
}

// The data files, then solution grids and random fillings (with a fixed
// seed) of the three patterns.
const std::vector<std::string>& Candidates() {
    static const std::vector<std::string> candidates = [] {
        std::vector<std::string> all;
        for (const char* file :
             {"easy.txt", "hard.txt", "multi.txt", "seventeen.txt", "fillings.txt"}) {
            const auto lines = ReadLines(file);
            all.insert(all.end(), lines.begin(), lines.end());
        }
        // The solutions of the unique puzzles, seen through the patterns.
        std::vector<std::string> grids;
        for (const auto& puzzle : all) {
            const auto solved = RememberedSolve(ToGrid(puzzle));
            if (solved.Unique) grids.push_back(ToText(solved.Solution));
        }
        std::mt19937 random(20240611);
        for (const char* code : testing::kPatternCodes) {
            const Pattern clues = DecodePattern(code);
            for (std::size_t n = 0; n < 300; ++n) {
                std::string grid = grids[(n * 7) % grids.size()];
                for (int i = 0; i < 81; ++i) {
                    if (!clues[i]) grid[i] = '.';
                }
                all.push_back(grid);
                all.push_back(RandomFilling(clues, random));
            }
        }
        return all;
    }();
    return candidates;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

struct GradeOptions {
    const char* Name;
    std::vector<std::string> Args;
    bool Minimal;
    bool Limit;
    // Every Stride-th candidate: the minimality test costs a solve per given.
    std::size_t Stride;
};

void PrintTo(const GradeOptions& options, std::ostream* os) {
    *os << options.Name;
}

class GradeAgainstReference : public ::testing::TestWithParam<GradeOptions> {};

TEST_P(GradeAgainstReference, EveryLineAsTheLiteralAcceptanceDecides) {
    const GradeOptions& options = GetParam();
    std::vector<std::string> args = {"grade"};
    args.insert(args.end(), options.Args.begin(), options.Args.end());
    std::vector<std::string> candidates;
    for (std::size_t n = 0; n < Candidates().size(); n += options.Stride)
        candidates.push_back(Candidates()[n]);
    const auto run = RunCommand(args, Join(candidates));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto lines = Split(run.Out, '\n');
    ASSERT_EQ(lines.size(), candidates.size());

    std::array<int, 7> acceptedPerClass{};
    int rejected = 0;
    int mismatches = 0;
    for (std::size_t n = 0; n < candidates.size(); ++n) {
        const ReferenceGrid puzzle = ToGrid(candidates[n]);
        const auto expected =
            reference::UniqueModSud(puzzle, options.Minimal, options.Limit, RememberedSolve);
        ASSERT_TRUE(expected.Completed) << candidates[n];
        std::string line = ToText(puzzle);
        if (expected.Accepted) {
            line += "\t1\t" + std::to_string(expected.Difficulty) + "\t" + expected.Counter + "\t" +
                    ToText(puzzle) + "\t" + ToText(expected.Solution);
            ++acceptedPerClass[expected.Difficulty];
        } else {
            line += "\t0\t0\t-\t-\t-";
            ++rejected;
        }
        if (lines[n] != line && ++mismatches <= 5) {
            ADD_FAILURE() << "line " << n + 1 << "\n  got      " << lines[n] << "\n  expected "
                          << line;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The candidates reach every class and the rejections.
    for (int c = 1; c <= 5; ++c) EXPECT_GT(acceptedPerClass[c], 0) << "class " << c;
    EXPECT_EQ(acceptedPerClass[6] > 0, !options.Limit);
    EXPECT_GT(rejected, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Options, GradeAgainstReference,
    ::testing::Values(GradeOptions{"Plain", {}, false, false, 1},
                      GradeOptions{
                          "DontExpandSelectedExplicitly", {"--expand", "0"}, false, false, 1},
                      GradeOptions{"Limit", {"--limit"}, false, true, 1},
                      GradeOptions{"Minimal", {"--minimal"}, true, false, 3},
                      GradeOptions{"MinimalAndLimit", {"--limit", "--minimal"}, true, true, 3}),
    [](const auto& row) { return std::string(row.param.Name); });

// An expanded candidate keeps its givens and gains a cell whose digit comes
// from the first solution the exact search finds; the result has exactly that
// solution and the class the logic pass (or the search) gives it.
TEST(GradeExpansion, AddedGivensComeFromTheFirstSolutionOfTheSearch) {
    std::vector<std::string> candidates;
    for (std::size_t n = 0; n < Candidates().size(); n += 3) candidates.push_back(Candidates()[n]);
    for (const bool limit : {false, true}) {
        int expanded = 0;
        std::vector<std::string> args = {"grade", "--expand", "1", "--seed", "5"};
        if (limit) args.push_back("--limit");
        const auto lines = Split(RunCommand(args, Join(candidates)).Out, '\n');
        ASSERT_EQ(lines.size(), candidates.size());
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const auto fields = Split(lines[n], '\t');
            ASSERT_EQ(fields.size(), 6u) << lines[n];
            if (fields[3] != "Expanded") continue;
            ++expanded;
            const ReferenceGrid puzzle = ToGrid(candidates[n]);
            const reference::Result candidate = RememberedSolve(puzzle);
            const ReferenceGrid givens = ToGrid(fields[4]);
            int added = 0;
            for (int i = 0; i < 81; ++i) {
                if (puzzle[i] != 0) {
                    EXPECT_EQ(givens[i], puzzle[i]) << lines[n];
                } else if (givens[i] != 0) {
                    ++added;
                    EXPECT_EQ(givens[i], candidate.FirstSolution[i]) << lines[n];
                }
            }
            EXPECT_EQ(added, 1) << lines[n];
            const reference::Result result = reference::UniqueSud(givens);
            ASSERT_TRUE(result.Unique) << lines[n];
            EXPECT_EQ(fields[5], ToText(result.Solution)) << lines[n];
            EXPECT_EQ(fields[5], ToText(candidate.FirstSolution)) << lines[n];
            EXPECT_EQ(fields[2], std::to_string(result.Difficulty)) << lines[n];
            if (limit) {
                EXPECT_LE(result.Difficulty, 5) << lines[n];
            }
            if (candidate.Count == 1) {
                EXPECT_TRUE(limit && candidate.Difficulty == 6) << lines[n];
            }
        }
        EXPECT_GT(expanded, 0) << "limit " << limit;
    }
}

// "1 Cell" tries every open cell before it gives up: a candidate of
// several solutions is rejected only when no single cell of its first
// solution makes it unique.
TEST(GradeExpansion, OneCellRejectsOnlyWhenNoSingleCellHelps) {
    std::vector<std::string> several;
    for (std::size_t n = 0; n < Candidates().size() && several.size() < 40; n += 7) {
        const auto r = RememberedSolve(ToGrid(Candidates()[n]));
        if (r.Count == 2) several.push_back(Candidates()[n]);
    }
    const auto lines =
        Split(RunCommand({"grade", "--expand", "1", "--seed", "3"}, Join(several)).Out, '\n');
    ASSERT_EQ(lines.size(), several.size());
    int rescuable = 0;
    for (std::size_t n = 0; n < several.size(); ++n) {
        const ReferenceGrid puzzle = ToGrid(several[n]);
        const ReferenceGrid first = RememberedSolve(puzzle).FirstSolution;
        bool helps = false;
        for (int cell = 0; cell < 81 && !helps; ++cell) {
            if (puzzle[cell] != 0) continue;
            ReferenceGrid added = puzzle;
            added[cell] = first[cell];
            helps = reference::UniqueSud(added).Unique;
        }
        rescuable += helps ? 1 : 0;
        EXPECT_EQ(Split(lines[n], '\t')[1], helps ? "1" : "0") << lines[n];
    }
    EXPECT_GT(rescuable, 0);
}

TEST(GradeCommand, RefusesBadArgumentsAndRejectsConflictingGivens) {
    for (const auto& option : std::vector<std::vector<std::string>>{
             {"--expand", "4"}, {"--expand"}, {"--seed", "x"}, {"--jobs", "0"}, {"--fast"}}) {
        std::vector<std::string> args = {"grade"};
        args.insert(args.end(), option.begin(), option.end());
        const auto run = RunCommand(args);
        EXPECT_EQ(run.Status, 2) << option[0];
        EXPECT_TRUE(run.Err.starts_with("cluemill-cli grade: bad option '" + option[0] + "'"))
            << run.Err;
    }
    EXPECT_TRUE(RunCommand({"grade", "a.txt", "b.txt"})
                    .Err.starts_with("cluemill-cli grade: expected at most one FILE\n"));
    const std::string conflict = "11" + std::string(79, '.');
    EXPECT_EQ(RunCommand({"grade"}, conflict + "\n").Out, conflict + "\t0\t0\t-\t-\t-\n");
}

}  // namespace
}  // namespace cluemill
