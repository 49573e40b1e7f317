// SPDX-License-Identifier: MIT
// The expansion skips the trials that cannot succeed; it must still find
// what trying every one finds, and poll as often. tests/data/expansion_trials.txt
// holds grade's lines for candidates with several solutions (each section
// headed by its command), recorded from an expansion that ran UniqueSud on
// every trial.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "generator/GeneratorTestSupport.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

struct Section {
    std::vector<std::string> Args;
    std::vector<std::string> Lines;

    bool Has(const char* option) const {
        return std::find(Args.begin(), Args.end(), option) != Args.end();
    }
};

std::vector<Section> ReadSections() {
    std::vector<Section> sections;
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/expansion_trials.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# ", 0) == 0) {
            sections.push_back({testing::Split(line.substr(2), ' '), {}});
        } else if (!sections.empty() && !line.empty()) {
            sections.back().Lines.push_back(line);
        }
    }
    return sections;
}

// The same expansion, class and counter for every candidate, at every
// level, under "Limited to Very Hard" and "Check Minimal".
TEST(ExpansionFilter, FindsWhatTryingEveryAdditionFinds) {
    const std::vector<Section> sections = ReadSections();
    ASSERT_EQ(sections.size(), 6u);
    for (const Section& section : sections) {
        std::string input;
        std::string expected;
        for (const std::string& line : section.Lines) {
            input += line.substr(0, 81) + '\n';
            expected += line + '\n';
        }
        EXPECT_EQ(testing::RunCommand(section.Args, input).Out, expected) << section.Args[2];
    }
}

// A candidate that no addition rescues went through every trial of its
// level, and each one polled, skipped or not; a halt at any of them ends
// the expansion there.
TEST(ExpansionFilter, EveryTrialPolls) {
    for (const Section& section : ReadSections()) {
        if (section.Has("--minimal")) continue;  // there a rescued one may fail the test after
        RunSettings settings;
        settings.ExpandLevel = std::stoi(section.Args[2]);
        settings.Limit = section.Has("--limit");
        for (const std::string& line : section.Lines) {
            if (testing::Split(line, '\t')[1] != "0") continue;
            const CellValues candidate = ReadPuzzleText(line.substr(0, 81));
            const int n = CountEmptyCells(candidate);
            const int level = settings.ExpandLevel;
            const int trials = n + (level >= 2 ? n * (n - 1) / 2 : 0) +
                               (level == 3 ? n * (n - 1) * (n - 2) / 6 : 0);
            StreamRandom random(1);
            Generator generator(random);
            testing::ScriptedRun run;
            EXPECT_FALSE(generator.Decide(candidate, settings, run));
            EXPECT_EQ(run.Polls, trials);
            testing::ScriptedRun halted;
            halted.OnPoll = [&](int poll) { return poll == trials / 2; };
            EXPECT_FALSE(generator.Decide(candidate, settings, halted));
            EXPECT_EQ(halted.Polls, trials / 2);
            EXPECT_EQ(generator.Solver.Puzzle, candidate);
        }
    }
}

}  // namespace
}  // namespace cluemill
