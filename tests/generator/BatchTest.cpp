// SPDX-License-Identifier: MIT
// A setter's batches: quotas per class exact over several jobs, puzzles
// distinct up to the pattern's symmetry across runs and programs, a time
// limit. What canon prints is in tests/data/transcripts/Canon.txt.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/Batch.h"
#include "generator/GeneratorTestSupport.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using testing::RunCommand;
using testing::Split;
using testing::TempFolder;

TEST(Batch, QuotasAreReadAsSettersWriteThem) {
    BatchSettings batch;
    EXPECT_FALSE(ParseQuotas("easy=3,5=2,very-hard=0,others=1", batch));
    EXPECT_EQ(batch.Quota[1], 3);
    EXPECT_EQ(batch.Quota[4], 0) << "the last one for a class wins";
    EXPECT_EQ(batch.Quota[5], 1);
    EXPECT_FALSE(batch.Quota[0]);
    EXPECT_EQ(ParseQuotas("", batch), "no quota given");  // the others in Generate.txt
}

std::vector<std::string> Generate(const std::filesystem::path& folder,
                                  const std::vector<std::string>& options,
                                  std::string* err = nullptr) {
    std::vector<std::string> args = {"generate",     "--pattern", testing::kPatternCodes[1],
                                     "--format",     "5",         "--data-dir",
                                     folder.string()};
    args.insert(args.end(), options.begin(), options.end());
    const auto run = RunCommand(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    if (err != nullptr) *err = run.Err;
    return Split(run.Out, '\n');
}

// The run ends once every quota is met, with exactly the puzzles asked for
// written, over two jobs; the others still count in the statistics.
TEST(Batch, QuotasAreMetExactlyOverJobs) {
    TempFolder folder;
    std::string err;
    const auto lines = Generate(folder.Path, {"--quota", "1=4,medium=2", "--jobs", "2"}, &err);
    std::map<std::string, int> classes;
    for (const auto& line : lines) ++classes[Split(line, '\t')[1]];
    EXPECT_EQ(classes, (std::map<std::string, int>{{"1", 4}, {"3", 2}}));
    EXPECT_NE(err.find("\n6 written, every quota met\n"), std::string::npos) << err;
    PatternLibrary library;
    library.File = folder.Path / "Patterns.rec";
    library.Count();
    const PatternRecord record = library.ReadPatternRecord(1);
    std::int32_t counted = 0;
    for (const auto n : record.NotExpanded) counted += n;
    EXPECT_GE(counted, 6);
}

// A second run with the same seed in the same folder writes none of the
// first run's puzzles again, nor any equivalent of them.
TEST(Batch, DistinctRunsNeverRepeatAPuzzle) {
    TempFolder folder;
    std::set<std::string> forms;
    for (int run = 0; run < 2; ++run) {
        std::string err;
        const auto lines = Generate(
            folder.Path, {"--count", "25", "--seed", "9", "--jobs", "1", "--distinct"}, &err);
        ASSERT_EQ(lines.size(), 25u);
        for (const auto& line : lines) {
            EXPECT_TRUE(forms.insert(CanonicalForm(ReadPuzzleText(line))).second) << line;
        }
        EXPECT_NE(err.find(run == 0 ? ", 0 duplicates skipped" : "25 written, 25 duplicates"),
                  std::string::npos)
            << err;
    }
}

// Two indexes on one folder stand for two programs: each sees the other's
// forms; a renaming of the digits is the same puzzle, another puzzle of the
// pattern is not.
TEST(Batch, ProgramsInOneFolderShareTheirForms) {
    TempFolder folder;
    const CellValues puzzle = ReadPuzzleText(
        "8.1..3.5...31..2.656284........84....5..6..48.3....1..7..............4.....2.7..1");
    Pattern clues{};
    for (int cell = 0; cell < kCells; ++cell) clues[cell] = puzzle[cell] > 0;
    CellValues renamed = puzzle;
    for (auto& digit : renamed) digit = static_cast<std::int8_t>(digit > 0 ? 10 - digit : 0);
    CellValues other = puzzle;
    std::swap(other[0], other[2]);
    DistinctIndex first(folder.Path);
    DistinctIndex second(folder.Path);
    const std::string code = EncodePattern(clues);
    EXPECT_TRUE(first.Add(code, clues, puzzle));
    EXPECT_FALSE(second.Add(code, clues, renamed));
    EXPECT_TRUE(second.Add(code, clues, other));
    EXPECT_FALSE(first.Add(code, clues, other));
    EXPECT_EQ(std::filesystem::file_size(folder.Path / "Distinct" / (code + ".txt")), 2u * 82);
}

TEST(Batch, ATimeLimitEndsTheRunAsAHaltDoes) {
    TempFolder folder;
    std::string err;
    Generate(folder.Path, {"--time", "1", "--jobs", "1"}, &err);
    EXPECT_TRUE(err.starts_with("Generator halted\n")) << err;
    EXPECT_TRUE(err.ends_with(" written, time is up\n")) << err;
}

// The window keeps the same order: the run ends when the quota is met, and
// with distinct puzzles the setter is told how many were passed over.
TEST(Batch, TheWindowKeepsTheOrder) {
    TempFolder folder;
    testing::FakePlatform platform;
    platform.Folder = folder.Path.string();
    std::mt19937 random(5);
    platform.RandomSource = [&] { return static_cast<double>(random()) / 4294967296.0; };
    Main main(platform);
    main.Form_Load();
    main.Form.Combo2.ListIndex = 5;
    main.Combo2_Click();
    const Pattern clues = DecodePattern(testing::kPatternCodes[1]);
    for (int i = 0; i < kCells; ++i)
        main.Form.Grid[i].BackColor = clues[i] ? kRed : kWindowBackground;
    ASSERT_FALSE(ParseQuotas("very-easy=3", main.Batch));
    main.Batch.Distinct = true;
    main.CommandGenerate_Click();
    ASSERT_EQ(platform.Messages.size(), 2u);
    EXPECT_EQ(platform.Messages[0].Text, "Generator halted");
    EXPECT_TRUE(platform.Messages[1].Text.ends_with(" duplicates skipped"));
    EXPECT_EQ(main.StoredCount, (std::array<std::int32_t, 6>{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::filesystem::file_size(folder.Path / "Sudoku_81_Char" / "Sudoku_Very_Easy.txt"),
              3u * 83);
}

}  // namespace
}  // namespace cluemill
