// SPDX-License-Identifier: MIT
// Several generators side by side and one writer: how the writer orders
// seeded puzzles, what a halt keeps, and a run without a seed, which no
// record can fix (seeded runs are in tests/data/transcripts).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "generator/GeneratorTestSupport.h"
#include "generator/ParallelRun.h"

namespace cluemill {
namespace {

using testing::RunCommand;
using testing::TempFolder;

// Seeded puzzles are recorded by their stamps, a tie going to the lower job:
// the earliest queued, and whether a job can still queue an earlier one.
TEST(GenerateJobs, EqualStampsGoToTheLowerJobFirst) {
    EXPECT_EQ(EarliestQueued({{7, 0, false}, {5, 0, false}, {5, 0, false}, {{}, 9, true}}), 1u);
    EXPECT_EQ(EarliestQueued({{{}, 3, false}, {{}, 4, true}}), 2u);
    struct Case {
        JobView Other;  // beside a job whose puzzle is stamped 5
        bool OtherIsLower;
        bool May;
    };
    for (const Case& c : std::vector<Case>{{{6, 0, false}, false, true},
                                           {{5, 0, false}, false, true},
                                           {{5, 0, false}, true, false},
                                           {{4, 0, false}, false, false},
                                           {{{}, 5, false}, true, false},
                                           {{{}, 5, false}, false, true},
                                           {{{}, 4, false}, false, false},
                                           {{{}, 0, true}, true, true}}) {
        std::vector<JobView> views = {c.Other, {5, 0, false}};
        if (!c.OtherIsLower) std::swap(views[0], views[1]);
        EXPECT_EQ(NothingEarlierToCome(views, c.OtherIsLower ? 1 : 0, 5), c.May)
            << (c.Other.Front ? *c.Other.Front : -c.Other.Published) << c.OtherIsLower;
    }
}

// The writer is held up at its first look round while the jobs accept
// puzzles, and then halted from outside, as Ctrl-C does: the puzzles queued
// by then are all recorded. Then a halt the writer asks for itself on its
// first puzzle: no other is recorded.
TEST(GenerateJobs, AHaltFromOutsideStillRecordsWhatTheJobsHadAccepted) {
    struct Writer final : JobsWriter {
        bool FromOutside = true;
        bool Waited = false;
        std::vector<AcceptedPuzzle> Recorded;
        bool Poll(std::int64_t) override {
            if (!FromOutside || Waited) return Waited;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return Waited = true;
        }
        bool Record(const AcceptedPuzzle& puzzle) override {
            Recorded.push_back(puzzle);
            return !FromOutside;
        }
    };
    RunSettings settings;
    settings.Clues = DecodePattern(testing::kPatternCodes[1]);
    for (const bool fromOutside : {true, false}) {
        Writer writer;
        writer.FromOutside = fromOutside;
        const JobsResult result = RunJobs(settings, 2, 6, PatternLibrary{}, writer);
        EXPECT_EQ(result.End, RunEnd::Halted);
        EXPECT_GT(result.CandidatesTried, 0);
        if (fromOutside) {
            EXPECT_GT(writer.Recorded.size(), 5u) << "the jobs accept hundreds a second here";
        } else {
            EXPECT_EQ(writer.Recorded.size(), 1u);
        }
    }
}

// Without a seed every puzzle is written as soon as it comes. Ctrl-C halts
// every job; the summary counts what was printed, and the statistics too.
TEST(GenerateJobs, CtrlCHaltsEveryJobAndTheSummaryIsPrinted) {
    TempFolder folder;
    std::thread interrupt([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        std::raise(SIGINT);
    });
    const auto run = RunCommand({"generate", "--pattern", testing::kPatternCodes[1], "--jobs", "2",
                                 "--data-dir", folder.Path.string()});
    interrupt.join();
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err.substr(0, 17), "Generator halted\n");
    EXPECT_NE(run.Err.find("\n2 jobs\n"), std::string::npos) << run.Err;
    const std::size_t printed = testing::Split(run.Out, '\n').size();
    EXPECT_NE(run.Err.find(", " + std::to_string(printed) + " accepted\n"), std::string::npos)
        << run.Err;
    // The counters of the pattern's record, as `patterns list` prints them.
    const auto list = testing::Split(
        RunCommand({"patterns", "--data-dir", folder.Path.string(), "list"}).Out, '\t');
    std::size_t counted = 0;
    for (std::size_t k = 2; k < list.size(); ++k) counted += std::stoul(list[k]);
    EXPECT_EQ(counted, printed) << "every puzzle printed is recorded";
}

}  // namespace
}  // namespace cluemill
