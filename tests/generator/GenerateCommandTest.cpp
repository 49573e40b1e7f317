// SPDX-License-Identifier: MIT
// cluemill-cli generate: whole runs on patterns of about 22, 26 and 30
// clues under several option sets, every printed puzzle solved and graded
// again by the literal reference solver; repeatability under a seed;
// refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "generator/GeneratorTestSupport.h"
#include "patterns/PatternLibrary.h"
#include "solver/ReferenceSolver.h"

namespace cluemill {
namespace {

using testing::ReferenceGrid;
using testing::RunCommand;
using testing::Split;
using testing::TempFolder;
using testing::ToGrid;
using testing::ToText;

struct GenerateCase {
    const char* Name;
    std::vector<std::string> Options;
    bool Minimal;
    bool Limit;
    int Expand;
    std::vector<int> Patterns;  // indexes into kPatternCodes
};

void PrintTo(const GenerateCase& c, std::ostream* os) {
    *os << c.Name;
}

// UniqueSud as a run calls it: under the limit only the logic pass counts.
bool Accepted(const ReferenceGrid& puzzle, bool limit) {
    const auto r = reference::UniqueSud(puzzle);
    return r.Unique && (!limit || r.Difficulty <= 5);
}

class GenerateRun : public ::testing::TestWithParam<GenerateCase> {};

TEST_P(GenerateRun, EveryPuzzleIsUniqueOnItsPatternAndOfItsClass) {
    const GenerateCase& c = GetParam();
    constexpr int kCount = 3;
    for (const int index : c.Patterns) {
        const std::string code = testing::kPatternCodes[index];
        const Pattern clues = DecodePattern(code);
        TempFolder folder;
        std::vector<std::string> args = {
            "generate", "--pattern", code,         "--count",           std::to_string(kCount),
            "--seed",   "11",        "--data-dir", folder.Path.string()};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        const auto run = RunCommand(args);
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err.substr(0, 17), "Generator halted\n");
        const auto lines = Split(run.Out, '\n');
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(kCount)) << run.Out;
        for (const auto& line : lines) {
            const auto fields = Split(line, '\t');
            ASSERT_EQ(fields.size(), 4u) << line;
            const ReferenceGrid givens = ToGrid(fields[0]);
            int added = 0;
            for (int i = 0; i < 81; ++i) {
                if (clues[i]) {
                    EXPECT_NE(givens[i], 0) << code << " cell " << i << "\n" << line;
                } else {
                    added += givens[i] != 0 ? 1 : 0;
                }
            }
            EXPECT_LE(added, c.Expand) << line;
            EXPECT_EQ(fields[2], added > 0   ? "Expanded"
                                 : c.Minimal ? "Minimal"
                                             : "NotExpanded")
                << line;

            const auto solved = reference::UniqueSud(givens);
            ASSERT_TRUE(solved.Unique) << line;
            EXPECT_EQ(fields[1], std::to_string(solved.Difficulty)) << line;
            EXPECT_EQ(fields[3], ToText(solved.Solution)) << line;
            if (c.Limit) {
                EXPECT_LE(solved.Difficulty, 5) << line;
            }
            if (c.Minimal && added == 0) {
                for (int i = 0; i < 81; ++i) {
                    if (givens[i] == 0) continue;
                    ReferenceGrid without = givens;
                    without[i] = 0;
                    EXPECT_FALSE(Accepted(without, c.Limit)) << "given " << i << " can go\n"
                                                             << line;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, GenerateRun,
    ::testing::Values(
        GenerateCase{"Plain", {}, false, false, 0, {0, 1, 2}},
        GenerateCase{"Minimal", {"--minimal"}, true, false, 0, {0, 1}},
        GenerateCase{"Limit", {"--limit"}, false, true, 0, {0, 1, 2}},
        GenerateCase{"MinimalUnderLimit", {"--minimal", "--limit"}, true, true, 0, {0}},
        GenerateCase{"ExpandOne", {"--expand", "1"}, false, false, 1, {0, 1, 2}},
        GenerateCase{"ExpandTwoUnderLimit", {"--expand", "2", "--limit"}, false, true, 2, {1, 2}}),
    [](const auto& row) { return std::string(row.param.Name); });

std::string Generate(const std::string& pattern, const std::string& seed) {
    TempFolder folder;
    return RunCommand({"generate", "--pattern", pattern, "--count", "4", "--seed", seed,
                       "--data-dir", folder.Path.string()})
        .Out;
}

TEST(GenerateCommand, ASeedRepeatsTheRun) {
    const std::string code = testing::kPatternCodes[2];
    const std::string first = Generate(code, "42");
    EXPECT_EQ(Split(first, '\n').size(), 4u);
    EXPECT_EQ(Generate(code, "42"), first);
    EXPECT_NE(Generate(code, "11"), first);
    // The pattern as a line of 81 characters is the same pattern.
    std::string line(81, '.');
    const Pattern clues = DecodePattern(code);
    for (int i = 0; i < 81; ++i) line[i] = clues[i] ? 'X' : '.';
    EXPECT_EQ(Generate(line, "42"), first);
}

// A data folder that does not exist is made with its parents; one that
// cannot be made stops the command. A puzzle or a record that cannot be
// written (here a folder stands in the file's place) is reported once per
// file with the reason; the run goes on and ends with exit status 1.
TEST(GenerateCommand, DataGoesToDiskOrTheCommandSaysWhy) {
    TempFolder folder;
    const auto data = folder.Path / "new" / "data";
    const auto run = [&](const std::filesystem::path& dir) {
        return RunCommand({"generate", "--pattern", testing::kPatternCodes[1], "--count", "4",
                           "--jobs", "1", "--seed", "3", "--format", "5", "--data-dir",
                           dir.string()});
    };
    EXPECT_EQ(run(data).Status, 0);
    EXPECT_EQ(std::filesystem::file_size(data / "Patterns.rec"), 98u);

    std::filesystem::remove_all(data / "Sudoku_81_Char");
    for (const char* word : {"Very_Easy", "Easy", "Medium", "Hard", "Very_Hard", "Others"}) {
        std::filesystem::create_directories(data / "Sudoku_81_Char" /
                                            ("Sudoku_" + std::string(word) + ".txt"));
    }
    const auto blocked = run(data);
    EXPECT_EQ(blocked.Status, 1);
    EXPECT_EQ(Split(blocked.Out, '\n').size(), 4u) << "the run goes on";
    const auto lines = Split(blocked.Err, '\n');
    const auto reports = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("cluemill-cli generate: cannot write ") &&
               line.ends_with(".txt: Is a directory");
    });
    EXPECT_GE(reports, 1);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size())
        << "once per file";

    const auto refused = run(data / "Patterns.rec" / "below");
    EXPECT_EQ(refused.Status, 1);
    EXPECT_TRUE(refused.Err.starts_with("cluemill-cli generate: cannot use the data folder "));
}

TEST(GenerateCommand, RefusesBadArgumentsAndPatternsWithExitTwo) {
    TempFolder folder;
    const std::string dir = folder.Path.string();
    const std::string nineteen = "XXXXXXXXXXXXXXXXXXX" + std::string(62, '.');
    struct Row {
        std::vector<std::string> Args;
        std::string Message;
    };
    const std::vector<Row> rows = {
        {{"generate", "--pattern", nineteen, "--data-dir", dir},
         "cluemill-cli generate: A minimum of 20 clues is required !\n"},
        {{"generate", "--pattern", "XYZ", "--data-dir", dir},
         "cluemill-cli generate: a pattern code has 22 hexadecimal digits, not 3\n"},
        {{"generate", "--pattern", "02" + std::string(20, '0'), "--data-dir", dir},
         "cluemill-cli generate: a pattern code begins with 00 or 01, not 02\n"},
        {{"generate", "--data-dir", dir},
         "cluemill-cli generate: give either --pattern or --random-pattern\n"},
        {{"generate", "--random-pattern", "--pattern", testing::kPatternCodes[0]},
         "cluemill-cli generate: give either --pattern or --random-pattern\n"},
        {{"generate", "--pattern", testing::kPatternCodes[0], "--expand", "4"},
         "cluemill-cli generate: bad option '--expand'\n"},
        {{"generate", "--pattern", testing::kPatternCodes[0], "--count", "0"},
         "cluemill-cli generate: bad option '--count'\n"},
        {{"generate", "--pattern", testing::kPatternCodes[0], "--format", "7"},
         "cluemill-cli generate: bad option '--format'\n"},
        {{"generate", "--random-pattern", "--data-dir", dir},
         "cluemill-cli generate: --random-pattern needs"},
    };
    for (const Row& row : rows) {
        const auto run = RunCommand(row.Args);
        EXPECT_EQ(run.Status, 2) << row.Message;
        EXPECT_EQ(run.Err.substr(0, row.Message.size()), row.Message);
        EXPECT_EQ(run.Out, "");
    }
    // A refused pattern leaves the library as it was.
    EXPECT_FALSE(std::filesystem::exists(folder.Path / "Patterns.rec"));
}

}  // namespace
}  // namespace cluemill
