// SPDX-License-Identifier: MIT
// rate and grade spread their lines over several jobs and print exactly what
// one job prints: every result and every message about a short line in its
// place, for inputs around the size of the batches the jobs take (64 lines)
// and far beyond.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"

namespace cluemill {
namespace {

// Puzzle lines of every kind from the record, with short lines, comments,
// empty lines and CRs among them.
std::vector<std::string> MixedLines() {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/verdicts.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line) && lines.size() < 420;) {
        if (line[0] == '#') continue;
        const std::size_t n = lines.size();
        lines.push_back(n % 9 == 3 ? "short " + std::to_string(n) : line.substr(0, 81));
        if (n % 13 == 5) lines.push_back(n % 2 ? "# a comment" : "\r");
        if (n % 7 == 2) lines.back() += "\r";
    }
    return lines;
}

TEST(LineJobs, ChangeNoByteOfTheOutput) {
    const std::vector<std::string> lines = MixedLines();
    std::vector<std::size_t> counts = {0, 4, 63, 64, 420};
    // And the counts that leave a last batch of a single entry.
    for (std::size_t i = 0, entries = 0; i < lines.size(); ++i) {
        if (lines[i][0] == '#' || lines[i] == "\r") continue;
        if (++entries % 64 == 1 && entries < 200) counts.push_back(i + 1);
    }
    for (const std::size_t count : counts) {
        std::string input;
        for (std::size_t i = 0; i < count; ++i) input += lines[i] + "\n";
        for (const std::vector<std::string>& command :
             std::vector<std::vector<std::string>>{{"rate"}, {"grade"}, {"grade", "--minimal"}}) {
            SCOPED_TRACE(command.back() + ", " + std::to_string(count) + " lines");
            const auto run = [&](const char* jobs) {
                std::vector<std::string> args = command;
                args.insert(args.end(), {"--jobs", jobs});
                return testing::RunCommand(args, input);
            };
            const testing::CliRun one = run("1");
            EXPECT_EQ(one.Status, count > 3 ? 1 : 0);
            for (const char* jobs : {"2", "7"}) {
                const testing::CliRun many = run(jobs);
                EXPECT_EQ(many.Status, one.Status) << jobs;
                EXPECT_EQ(many.Err, one.Err) << jobs;
                EXPECT_TRUE(many.Out == one.Out) << jobs << " jobs print other results";
            }
        }
    }
}

// Standard input is tied to standard output, so reading a line flushes it:
// those flushes must never meet a job's writes, which then lost or doubled
// whole runs of lines.
TEST(LineJobs, InputTiedToTheOutputLosesNoLine) {
    std::string input;  // far more than the jobs read ahead
    for (int copy = 0; copy < 10; ++copy) {
        for (const std::string& line : MixedLines()) input += line + "\n";
    }
    const std::string expected = testing::RunCommand({"rate", "--jobs", "1"}, input).Out;
    const std::string path = ::testing::TempDir() + "cluemill_tied_output.txt";
    for (int round = 0; round < 10; ++round) {
        std::istringstream in(input);
        std::ostringstream err;
        {
            std::ofstream out(path, std::ios::trunc);
            in.tie(&out);
            RunCli({"rate", "--jobs", "2"}, in, out, err);
        }
        std::ifstream written(path);
        const std::string text{std::istreambuf_iterator<char>(written), {}};
        ASSERT_TRUE(text == expected) << "round " << round;
    }
}

}  // namespace
}  // namespace cluemill
