// SPDX-License-Identifier: MIT
// Two programs on one folder (two windows, a window and cluemill-cli, two
// command lines): neither overwrites the other's pattern records, counts or
// puzzles. Two engine objects in one process, and two processes generating
// at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>

#include "app/ChildProcess.h"
#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/GeneratorTestSupport.h"
#include "output/PuzzleFormats.h"
#include "patterns/LibraryRecords.h"
#include "patterns/PatternLibrary.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using testing::Append;
using testing::RecordOf;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::int64_t Sum(const std::array<std::int32_t, 6>& counts) {
    return std::accumulate(counts.begin(), counts.end(), 0LL);
}

class SharedFolder : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    PatternLibrary first;
    PatternLibrary second;

    void SetUp() override {
        first.File = second.File = folder.Path / "Patterns.rec";
        first.Count();
        second.Count();
    }
};

TEST_F(SharedFolder, EachAppendGoesAfterTheOthers) {
    ASSERT_TRUE(Append(first, testing::kPatternCodes[0]));
    ASSERT_TRUE(Append(second, testing::kPatternCodes[1]));
    EXPECT_EQ(first.PatternCount, 1);
    EXPECT_EQ(second.PatternCount, 2) << "the number comes from the file, not from the stale count";
    ASSERT_TRUE(Append(first, testing::kPatternCodes[2]));
    EXPECT_EQ(first.PatternCount, 3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(first.ReadPatternRecord(k).PatternCode, testing::kPatternCodes[k - 1]);
}

TEST_F(SharedFolder, APatternBothRegisterAtOnceGetsOneRecord) {
    const std::string code = testing::kPatternCodes[0];
    // Both looked the pattern up before either registered it.
    ASSERT_EQ(first.FindPattern(code), 0);
    ASSERT_EQ(second.FindPattern(code), 0);
    ASSERT_EQ(Append(second, testing::kPatternCodes[1]), 1);
    PatternRecord theirs = RecordOf(code);
    ASSERT_EQ(second.AppendPattern(theirs), 2);
    ++theirs.NotExpanded[3];
    ASSERT_TRUE(second.MergePatternRecord(2, theirs));

    PatternRecord mine = RecordOf(code);
    EXPECT_EQ(first.AppendPattern(mine), 2) << "the other program's record is taken";
    EXPECT_EQ(first.PatternCount, 2);
    EXPECT_EQ(mine, theirs) << "with the counts it holds";
    EXPECT_EQ(fs::file_size(first.File), 2 * kPatternRecordSize);
    ++mine.NotExpanded[3];
    ASSERT_TRUE(first.MergePatternRecord(2, mine));
    EXPECT_EQ(second.ReadPatternRecord(2).NotExpanded[3], 2);

    // A code that only an older record holds is still appended: the library
    // had counted that record and its lookup did not find the code.
    EXPECT_EQ(Append(first, testing::kPatternCodes[1]), 3);
}

TEST_F(SharedFolder, CountsOfBothAddUp) {
    ASSERT_TRUE(Append(first, testing::kPatternCodes[0]));
    second.Count();
    PatternRecord mine = first.ReadPatternRecord(1);
    PatternRecord theirs = second.ReadPatternRecord(1);
    for (int round = 0; round < 3; ++round) {
        ++mine.NotExpanded[0];
        ASSERT_TRUE(first.MergePatternRecord(1, mine));
        ++theirs.NotExpanded[0];
        ++theirs.Minimal[5];
        ASSERT_TRUE(second.MergePatternRecord(1, theirs));
    }
    const PatternRecord stored = first.ReadPatternRecord(1);
    EXPECT_EQ(stored.NotExpanded[0], 6);
    EXPECT_EQ(stored.Minimal[5], 3);
    EXPECT_EQ(theirs, stored) << "the last writer holds what it wrote";
    EXPECT_EQ(mine.NotExpanded[0], 5) << "and the other what it wrote last";
}

TEST_F(SharedFolder, ARecordOfAnotherPatternIsRewrittenAsIs) {
    ASSERT_TRUE(Append(first, testing::kPatternCodes[0]));
    PatternRecord mine = first.ReadPatternRecord(1);
    // Someone replaced the library meanwhile.
    fs::remove(first.File);
    PatternRecord other = RecordOf(testing::kPatternCodes[1]);
    other.Expanded[2] = 40;
    ASSERT_TRUE(second.WritePatternRecord(1, other));
    ++mine.NotExpanded[1];
    ASSERT_TRUE(first.MergePatternRecord(1, mine));
    EXPECT_EQ(first.ReadPatternRecord(1), mine) << "counts of another code are not mixed in";
}

TEST_F(SharedFolder, AFailedAppendDoesNotLaterOverwriteTheRecordThatTookItsPlace) {
    // The library cannot be written for a moment: the append fails but
    // counts, as the run expects.
    fs::create_directory(first.File);
    PatternRecord mine = RecordOf(testing::kPatternCodes[0]);
    ASSERT_EQ(first.AppendPattern(mine), 0);
    ASSERT_EQ(first.PatternCount, 1);
    fs::remove(first.File);
    ASSERT_EQ(Append(second, testing::kPatternCodes[1]), 1);
    const std::string theirs = ReadBytes(first.File);

    ++mine.NotExpanded[0];
    EXPECT_FALSE(first.MergePatternRecord(1, mine));
    EXPECT_EQ(ReadBytes(first.File), theirs);
}

TEST_F(SharedFolder, TwoEnginesNumberTheirPuzzlesAfterEachOther) {
    testing::FakePlatform platformA;
    testing::FakePlatform platformB;
    platformA.Folder = platformB.Folder = folder.Path.string();
    Main a{platformA};
    Main b{platformB};
    AcceptedPuzzle puzzles[2];
    ASSERT_TRUE(Append(first, testing::kPatternCodes[2]));
    for (Main* main : {&a, &b}) {
        main->Form_Load();
        main->Form.Combo2.ListIndex = 5;
        main->Combo2_Click();
        main->Library.CurrentPattern = 1;
        main->Library.PatternRec = main->Library.ReadPatternRecord(1);
        AcceptedPuzzle& puzzle = puzzles[main == &a ? 0 : 1];
        puzzle.Difficulty = 3;
        puzzle.Solution.fill(static_cast<std::int8_t>(main == &a ? 1 : 2));
        puzzle.Givens[0] = 1;
    }
    // As the run does: raise a counter, save, count the stored puzzle.
    for (int round = 0; round < 2; ++round) {
        for (Main* main : {&a, &b}) {
            ++main->Library.PatternRec.NotExpanded[2];
            main->SaveModSud(puzzles[main == &a ? 0 : 1]);
            ++main->StoredCount[2];
        }
    }
    const std::string medium = ReadBytes(OutputFile(folder.Path, OutputFormat::Line81Dot, 3, 1));
    ASSERT_EQ(medium.size(), 4u * 83);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(medium[83 * k], k % 2 == 0 ? '1' : '2') << "record " << k + 1;
    EXPECT_EQ(a.StoredCount[2], 3);
    EXPECT_EQ(b.StoredCount[2], 4);
    EXPECT_EQ(first.ReadPatternRecord(1).NotExpanded[2], 4);
}

// Two cluemill-cli runs at once on one pattern: every puzzle of both is on
// disk, whole, and the library counts all of them.
class TwoProcesses : public ::testing::TestWithParam<int> {
  protected:
    testing::TempFolder folder;
};

TEST_P(TwoProcesses, KeepEveryPuzzleAndEveryCount) {
    const std::string format = std::to_string(GetParam());
    const OutputFormat outputFormat = static_cast<OutputFormat>(GetParam());
    constexpr int kEach = 12;
    pid_t runs[2];
    for (int i = 0; i < 2; ++i) {
        runs[i] = testing::StartChild({}, [&] {
            return testing::RunCommand({"generate", "--pattern", testing::kPatternCodes[2],
                                        "--count", std::to_string(kEach), "--seed",
                                        std::to_string(11 + i), "--format", format, "--data-dir",
                                        folder.Path.string()})
                .Status;
        });
    }
    EXPECT_EQ(testing::WaitChild(runs[0]), 0);
    EXPECT_EQ(testing::WaitChild(runs[1]), 0);

    const FormatInfo& info = Info(outputFormat);
    std::uintmax_t records = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path / info.Folder)) {
        const std::string bytes = ReadBytes(entry.path());
        ASSERT_EQ(bytes.size() % info.RecordLength, 0u) << entry.path();
        for (std::size_t at = 0; at < bytes.size(); at += info.RecordLength) {
            EXPECT_EQ(bytes.substr(at + info.RecordLength - 2, 2), "\r\n")
                << entry.path() << " record at " << at;
        }
        records += bytes.size() / info.RecordLength;
    }
    EXPECT_EQ(records, 2u * kEach);

    PatternLibrary library;
    library.File = folder.Path / "Patterns.rec";
    library.Count();
    ASSERT_EQ(fs::file_size(library.File) % 98, 0u);
    std::int64_t counted = 0;
    for (std::int32_t k = 1; k <= library.PatternCount; ++k) {
        const PatternRecord record = library.ReadPatternRecord(k);
        EXPECT_EQ(record.PatternCode, testing::kPatternCodes[2]);
        counted += Sum(record.NotExpanded);
    }
    EXPECT_EQ(counted, 2 * kEach);
}

INSTANTIATE_TEST_SUITE_P(PerClassAndPerPuzzle, TwoProcesses, ::testing::Values(5, 1),
                         [](const auto& param) {
                             return param.param == 5 ? "PerClassFile" : "FilePerPuzzle";
                         });

}  // namespace
}  // namespace cluemill
