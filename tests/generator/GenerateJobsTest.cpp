// SPDX-License-Identifier: MIT
// cluemill-cli generate --jobs: several runs side by side whose puzzles one
// writer records in the order of the jobs' progress. The files must be those of the same puzzles
// accepted one after the other, and a seed must repeat them byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "generator/GeneratorTestSupport.h"
#include "generator/ParallelRun.h"
#include "output/PuzzleFormats.h"
#include "patterns/PatternLibrary.h"

namespace cluemill {
namespace {

using testing::RunCommand;
using testing::Split;
using testing::TempFolder;

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Relative path -> bytes of every file under folder.
std::map<std::string, std::string> Files(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), folder).generic_string()] =
                ReadAll(entry.path());
        }
    }
    return files;
}

testing::CliRun Generate(const std::filesystem::path& folder, int pattern, const std::string& count,
                         const std::string& jobs, const std::string& seed,
                         std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"generate", "--pattern",  testing::kPatternCodes[pattern],
                                     "--count",  count,        "--jobs",
                                     jobs,       "--data-dir", folder.string()};
    // No seed: the puzzles are recorded as they come.
    if (!seed.empty()) args.insert(args.end(), {"--seed", seed});
    args.insert(args.end(), options.begin(), options.end());
    return RunCommand(args);
}

int ClassOf(const std::string& line) {
    return std::stoi(Split(line, '\t')[1]);
}

TEST(GenerateJobs, ASeedRepeatsTheFilesByteForByte) {
    for (const std::string jobs : {"2", "3"}) {
        TempFolder first;
        TempFolder second;
        const auto a = Generate(first.Path, 1, "40", jobs, "5", {"--format", "1"});
        const auto b = Generate(second.Path, 1, "40", jobs, "5", {"--format", "1"});
        ASSERT_EQ(a.Status, 0) << a.Err;
        ASSERT_EQ(b.Status, 0) << b.Err;
        EXPECT_EQ(a.Out, b.Out);
        const auto files = Files(first.Path);
        EXPECT_EQ(files, Files(second.Path)) << jobs << " jobs";
        EXPECT_TRUE(files.count("Patterns.rec"));
    }
}

TEST(GenerateJobs, JobZeroIsTheRunOfTheSeedAndBothJobsAreWritten) {
    TempFolder one;
    TempFolder two;
    const auto single = Split(Generate(one.Path, 2, "8", "1", "9").Out, '\n');
    const auto both = Split(Generate(two.Path, 2, "8", "2", "9").Out, '\n');
    ASSERT_EQ(single.size(), 8u);
    ASSERT_EQ(both.size(), 8u);
    // Job 0's puzzles come in the order of the run of the seed, from its
    // first on; job 1 has a stream of its own and takes its share.
    std::set<std::string> jobZero(single.begin(), single.end());
    std::size_t fromJobZero = 0;
    for (const auto& line : both) {
        if (jobZero.count(line) != 0) {
            EXPECT_EQ(line, single[fromJobZero++]);
        }
    }
    EXPECT_GT(fromJobZero, 0u);
    EXPECT_LT(fromJobZero, both.size());
    EXPECT_NE(JobSeed(9, 1), JobSeed(9, 2));
    EXPECT_EQ(JobSeed(9, 0), 9u);
}

TEST(GenerateJobs, CountIsTheTotalOfAllJobsAndTheStatisticsAgree) {
    for (const auto& [jobs, seed] : std::vector<std::pair<std::string, std::string>>{
             {"1", "3"}, {"2", "3"}, {"4", "3"}, {"2", ""}}) {
        TempFolder folder;
        const auto run = Generate(folder.Path, 1, "7", jobs, seed);
        ASSERT_EQ(run.Status, 0) << run.Err;
        const auto lines = Split(run.Out, '\n');
        ASSERT_EQ(lines.size(), 7u) << jobs;
        EXPECT_NE(run.Err.find("\n" + jobs + (jobs == "1" ? " job\n" : " jobs\n")),
                  std::string::npos)
            << run.Err;
        EXPECT_NE(run.Err.find(", 7 accepted\n"), std::string::npos) << run.Err;
        std::array<int, 6> perClass{};
        for (const auto& line : lines) ++perClass[ClassOf(line) - 1];
        PatternLibrary library;
        library.File = folder.Path / "Patterns.rec";
        library.Count();
        ASSERT_EQ(library.PatternCount, 1);
        const PatternRecord record = library.ReadPatternRecord(1);
        EXPECT_EQ(record.PatternCode, testing::kPatternCodes[1]);
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(record.NotExpanded[c], perClass[c]) << jobs << " jobs, class " << c + 1;
            EXPECT_EQ(record.Minimal[c] + record.Expanded[c], 0);
        }
    }
}

// Two runs into one folder: the second continues every class's numbering.
// Per-puzzle files are numbered 1 to n without a gap, per-class files hold
// one record per puzzle, in the order printed.
TEST(GenerateJobs, NumbersFollowOnWithoutGapsOrRepeats) {
    TempFolder folder;
    std::vector<std::string> printed;
    for (const std::string seed : {"21", "22"}) {
        for (const std::string format : {"1", "5"}) {
            const auto run = Generate(folder.Path, 1, "30", "2", seed, {"--format", format});
            ASSERT_EQ(run.Status, 0) << run.Err;
            if (format == "1") {
                for (const auto& line : Split(run.Out, '\n')) printed.push_back(line);
            }
        }
    }
    ASSERT_EQ(printed.size(), 60u);
    std::array<std::vector<std::string>, 6> byClass;
    for (const auto& line : printed) byClass[ClassOf(line) - 1].push_back(Split(line, '\t')[0]);
    for (int c = 1; c <= 6; ++c) {
        const auto& puzzles = byClass[c - 1];
        for (std::size_t n = 1; n <= puzzles.size(); ++n) {
            const auto file = OutputFile(folder.Path, OutputFormat::SimpleSudoku, c, n);
            ASSERT_TRUE(std::filesystem::exists(file)) << file;
            // The givens in the file, row by row, "0" for an empty cell.
            std::string givens;
            for (const char ch : ReadAll(file)) {
                if (ch >= '0' && ch <= '9') givens += ch == '0' ? '.' : ch;
            }
            EXPECT_EQ(givens, puzzles[n - 1]) << file;
        }
        EXPECT_FALSE(std::filesystem::exists(
            OutputFile(folder.Path, OutputFormat::SimpleSudoku, c, puzzles.size() + 1)));
        const auto lines = OutputFile(folder.Path, OutputFormat::Line81Dot, c, 0);
        if (puzzles.empty()) {
            EXPECT_FALSE(std::filesystem::exists(lines));
        } else {
            EXPECT_EQ(ReadAll(lines).size(), 83 * puzzles.size()) << lines;
        }
    }
}

// Under random patterns each job draws its own library patterns; the writer
// raises the counters of the record each puzzle came from.
TEST(GenerateJobs, RandomPatternsRaiseTheRecordOfEachPuzzle) {
    std::vector<std::map<std::string, std::string>> results;
    for (int copy = 0; copy < 2; ++copy) {
        TempFolder folder;
        for (const int pattern : {1, 2})
            ASSERT_EQ(Generate(folder.Path, pattern, "1", "1", "8").Status, 0);
        const auto run = RunCommand({"generate", "--random-pattern", "--count", "12", "--jobs", "2",
                                     "--seed", "8", "--data-dir", folder.Path.string()});
        ASSERT_EQ(run.Status, 0) << run.Err;
        const auto lines = Split(run.Out, '\n');
        ASSERT_EQ(lines.size(), 12u);
        // Each printed puzzle's givens are exactly the clues of one of the two
        // patterns; count them per pattern and class.
        std::map<std::string, std::array<int, 6>> expected;
        for (const int pattern : {1, 2}) expected[testing::kPatternCodes[pattern]] = {};
        for (const auto& line : lines) {
            const std::string givens = Split(line, '\t')[0];
            Pattern clues{};
            for (int i = 0; i < 81; ++i) clues[i] = givens[i] != '.';
            const std::string code = EncodePattern(clues);
            ASSERT_TRUE(expected.count(code)) << line;
            ++expected[code][ClassOf(line) - 1];
        }
        PatternLibrary library;
        library.File = folder.Path / "Patterns.rec";
        library.Count();
        ASSERT_EQ(library.PatternCount, 2);
        for (std::int32_t k = 1; k <= 2; ++k) {
            const PatternRecord record = library.ReadPatternRecord(k);
            // The one puzzle of the registering run, then the random ones.
            const std::string code = record.PatternCode;
            int registering = 0;
            for (int c = 0; c < 6; ++c) {
                EXPECT_GE(record.NotExpanded[c], expected[code][c]) << code << " class " << c + 1;
                registering += record.NotExpanded[c] - expected[code][c];
            }
            EXPECT_EQ(registering, 1) << code;
        }
        results.push_back(Files(folder.Path));
    }
    EXPECT_EQ(results[0], results[1]);
}

TEST(GenerateJobs, CtrlCHaltsEveryJobAndTheSummaryIsPrinted) {
    TempFolder folder;
    std::thread interrupt([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        std::raise(SIGINT);
    });
    const auto run =
        RunCommand({"generate", "--pattern", testing::kPatternCodes[1], "--jobs", "2", "--seed",
                    "4", "--format", "5", "--data-dir", folder.Path.string()});
    interrupt.join();
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err.substr(0, 17), "Generator halted\n");
    const auto lines = Split(run.Out, '\n');
    EXPECT_NE(run.Err.find(", " + std::to_string(lines.size()) + " accepted\n"), std::string::npos)
        << run.Err;
    std::size_t records = 0;
    for (int c = 1; c <= 6; ++c) {
        const auto file = OutputFile(folder.Path, OutputFormat::Line81Dot, c, 0);
        if (std::filesystem::exists(file)) records += ReadAll(file).size() / 83;
    }
    EXPECT_EQ(records, lines.size());
}

// The writer is held up at its first look round, while the jobs accept
// puzzles on the 26-clue pattern, and then halted from outside, as Ctrl-C
// does: the puzzles queued by then are all recorded. Then once more with a
// halt the writer asks for itself on its first puzzle: no other is recorded.
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

// Seeded puzzles are recorded by their stamps, a tie going to the lower job:
// the earliest queued, and whether a job can still queue an earlier one.
TEST(GenerateJobs, EqualStampsGoToTheLowerJobFirst) {
    const std::vector<JobView> jobs = {{7, 0, false}, {5, 0, false}, {5, 0, false}, {{}, 9, true}};
    EXPECT_EQ(EarliestQueued(jobs), 1u);
    EXPECT_EQ(EarliestQueued({{{}, 3, false}, {{}, 4, true}}), 2u);
    struct Case {
        JobView Other;
        bool OtherIsLower;
        bool May;
    };
    const std::vector<Case> cases = {
        {{6, 0, false}, false, true},   {{5, 0, false}, false, true},
        {{5, 0, false}, true, false},   {{4, 0, false}, false, false},
        {{{}, 5, false}, true, false},  {{{}, 5, false}, false, true},
        {{{}, 4, false}, false, false}, {{{}, 0, true}, true, true},
    };
    for (const Case& c : cases) {
        std::vector<JobView> views = {c.Other, {5, 0, false}};
        if (!c.OtherIsLower) std::swap(views[0], views[1]);
        const std::size_t first = c.OtherIsLower ? 1 : 0;
        EXPECT_EQ(NothingEarlierToCome(views, first, 5), c.May)
            << (c.Other.Front ? *c.Other.Front : -c.Other.Published) << c.OtherIsLower;
    }
}

}  // namespace
}  // namespace cluemill
