// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliRunner.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::CliRun;
using testing::RunCommand;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

// A full grid that keeps every given of the puzzle and breaks no rule.
bool SolvesPuzzle(const std::string& grid, const std::string& puzzle) {
    if (grid.size() != 81 || grid.find('.') != std::string::npos) return false;
    for (int i = 0; i < 81; ++i) {
        if (puzzle[i] != '.' && puzzle[i] != grid[i]) return false;
    }
    return !GivensConflict(ReadPuzzleText(grid));
}

// Easy: the logic pass solves it with hidden and naked singles.
const std::string kLogicPuzzle =
    "..47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..";
const std::string kLogicSolution =
    "824763519651289374379451286763145892142938765598672431417326958286597143935814627";
// Needs the search; one solution.
const std::string kSearchPuzzle =
    "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";
const std::string kSearchSolution =
    "468931527751624839392578461134756298289413675675289314846192753513867942927345186";
const std::string kSearchBoard =
    "4...3.......6..8..........1....5..9..8....6...7.2........1927..5.3....4.9.7.4....";
// A filling of a clue pattern on which the logic pass meets a dead end.
const std::string kDeadEnd =
    ".5192..78..9.8.23..3....51......4......5.8......2......64....8..25.6.9..87..9246.";

TEST(Rate, PrintsTheFiveFields) {
    const std::string complete = kLogicSolution;
    const std::string conflict = "11" + std::string(79, '.');
    const std::string logicLine =
        kLogicPuzzle + "\tunique\t5\t" + kLogicSolution + "\t" + kLogicSolution;
    const std::pair<std::string, std::string> cases[] = {
        // input line, printed line
        {kLogicPuzzle, logicLine},
        {kSearchPuzzle, kSearchPuzzle + "\tunique\t6\t" + kSearchSolution + "\t" + kSearchBoard},
        {kDeadEnd, kDeadEnd + "\tnone\t0\t-\t" + kDeadEnd},
        {complete, complete + "\tcomplete\t0\t-\t" + complete},
        {conflict, conflict + "\tinvalid\t0\t-\t" + conflict},  // invalid before complete
        {"0" + kLogicPuzzle.substr(1, 79) + "x" + "trailing text", logicLine},
        {kLogicPuzzle + "\r", logicLine},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(input);
        const CliRun run = RunCommand({"rate"}, input + "\n");
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(run.Out, expected + "\n");
    }
}

TEST(Rate, SeveralSolutionsLeaveTheSecondSolutionInTheBoard) {
    const std::string empty(81, '.');
    const CliRun run = RunCommand({"rate"}, empty + "\n");
    const auto fields = Split(run.Out.substr(0, run.Out.size() - 1), '\t');
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1], "multiple");
    EXPECT_EQ(fields[2], "0");
    EXPECT_EQ(fields[3], "-");
    EXPECT_TRUE(SolvesPuzzle(fields[4], empty)) << fields[4];
}

TEST(Rate, SkipsCommentsAndEmptyLinesAndReportsShortLinesByNumber) {
    const std::string input = "# a comment\n\n\r\n" + kLogicPuzzle + "\nshort\n" + kDeadEnd + "\n";
    const CliRun run = RunCommand({"rate"}, input);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "line 5: a puzzle needs 81 characters\n");
    const auto lines = Split(run.Out, '\n');
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 81), kLogicPuzzle);
    EXPECT_EQ(lines[1].substr(0, 81), kDeadEnd);
}

TEST(Rate, OddInputNeverFails) {
    EXPECT_EQ(RunCommand({"rate"}, "").Status, 0);
    EXPECT_EQ(RunCommand({"rate"}, "").Out, "");

    std::string garbage(200, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 % 256);
    garbage.erase(std::remove(garbage.begin(), garbage.end(), '\n'), garbage.end());
    const CliRun binary = RunCommand({"rate"}, garbage + "\n");
    EXPECT_EQ(binary.Status, 0);
    EXPECT_EQ(Split(binary.Out, '\n').size(), 1u);

    const std::string huge = kLogicPuzzle + std::string(10'000'000, '7');
    const CliRun big = RunCommand({"rate"}, huge);  // no final line end
    EXPECT_EQ(big.Status, 0);
    EXPECT_EQ(big.Out.substr(0, 81 + 8), kLogicPuzzle + "\tunique\t");
}

// Lines of every kind, several batches of them: puzzles the logic pass
// solves, the search solves, with several or no solution, complete and
// invalid grids, short lines, comments, CRs and long lines.
std::string MixedInput() {
    const std::string complete = kLogicSolution;
    const std::string conflict = "11" + std::string(79, '.');
    std::string input;
    for (int n = 0; n < 400; ++n) {
        // Each given of the easy puzzle left out in turn: some of these still
        // have one solution, others several.
        std::string thinned = kLogicPuzzle;
        const std::size_t given =
            thinned.find_first_not_of('.', static_cast<std::size_t>(n * 7) % 81);
        if (given != std::string::npos) thinned[given] = '.';
        switch (n % 9) {
            case 0:
                input += kSearchPuzzle + "\r\n";
                break;
            case 1:
                input += kDeadEnd + "\n";
                break;
            case 2:
                input += (n % 2 ? complete : conflict) + "\n";
                break;
            case 3:
                input += "short " + std::to_string(n) + "\n";
                break;
            case 4:
                input += n % 2 ? "# a comment\n" : "\n";
                break;
            case 5:
                input += kLogicPuzzle + std::string(5000, '9') + "\n";
                break;
            default:
                input += thinned + "\n";
                break;
        }
    }
    return input;
}

// The output of the line commands does not depend on how many jobs share the
// work: every result and every message in its place, for any number of jobs.
TEST(Rate, JobsChangeNoByteOfTheOutput) {
    const std::string input = MixedInput();
    const std::vector<std::vector<std::string>> commands = {
        {"rate"}, {"grade"}, {"grade", "--minimal"}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command.back());
        auto withJobs = [&](const char* jobs) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--jobs", jobs});
            return RunCommand(args, input);
        };
        const CliRun one = withJobs("1");
        EXPECT_EQ(one.Status, 1);
        // 400 lines less 45 short ones and 44 comments or empty lines.
        EXPECT_EQ(Split(one.Out, '\n').size(), 311u);
        EXPECT_TRUE(one.Err.starts_with("line 4: a puzzle needs 81 characters\nline 13: "))
            << one.Err;
        for (const char* jobs : {"2", "7"}) {
            const CliRun many = withJobs(jobs);
            EXPECT_EQ(many.Status, one.Status) << jobs;
            EXPECT_EQ(many.Err, one.Err) << jobs;
            EXPECT_TRUE(many.Out == one.Out) << jobs << " jobs print different results";
        }
    }
}

TEST(Rate, InputsOfAboutOneBatchGiveTheSameOutputWithManyJobs) {
    // Lines are handed to the jobs 64 at a time; an input of one batch is
    // done without starting a job. Around that size, with and without a
    // short line in it, one job and two print the same.
    const std::vector<std::string> lines = Split(MixedInput(), '\n');
    for (const std::size_t count : {0u, 1u, 4u, 63u, 64u, 65u, 129u}) {
        std::string input;
        for (std::size_t i = 0; i < count; ++i) input += lines[i] + "\n";
        for (const char* command : {"rate", "grade"}) {
            const CliRun one = RunCommand({command, "--jobs", "1"}, input);
            const CliRun two = RunCommand({command, "--jobs", "2"}, input);
            EXPECT_EQ(two.Status, one.Status) << command << " " << count;
            EXPECT_EQ(two.Err, one.Err) << command << " " << count;
            EXPECT_TRUE(two.Out == one.Out)
                << command << " " << count << " lines: two jobs print different results";
        }
    }
}

TEST(Rate, ReadsAFileAndRefusesBadArguments) {
    const std::string path = ::testing::TempDir() + "rate-input.txt";
    std::ofstream(path) << kSearchPuzzle << "\r\n";
    const CliRun fromFile = RunCommand({"rate", path});
    EXPECT_EQ(fromFile.Status, 0);
    EXPECT_EQ(fromFile.Out.substr(0, 81), kSearchPuzzle);

    const CliRun missing = RunCommand({"rate", path + ".missing"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("cannot open"), std::string::npos);
    const CliRun folder = RunCommand({"rate", ::testing::TempDir()});
    EXPECT_EQ(folder.Status, 2);
    EXPECT_NE(folder.Err.find("folder"), std::string::npos);
    EXPECT_EQ(RunCommand({"rate", "a", "b"}).Status, 2);
    for (const char* jobs : {"0", "257", "x"}) {
        const CliRun bad = RunCommand({"rate", "--jobs", jobs});
        EXPECT_EQ(bad.Status, 2) << jobs;
        EXPECT_TRUE(bad.Err.starts_with("cluemill-cli rate: bad option '--jobs'")) << bad.Err;
    }
    EXPECT_EQ(RunCommand({"frobnicate"}).Status, 2);
    EXPECT_EQ(RunCommand({}).Status, 2);
}

TEST(Rate, HelpExplainsTheFields) {
    const CliRun help = RunCommand({"rate", "--help"});
    EXPECT_EQ(help.Status, 0);
    for (const char* word : {"puzzle81", "unique", "none", "multiple", "invalid", "complete",
                             "difficulty", "solution81", "board81", "81 characters"}) {
        EXPECT_NE(help.Out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(RunCommand({"--help"}).Status, 0);
}

}  // namespace
}  // namespace cluemill
