// SPDX-License-Identifier: MIT
// cluemill-cli patterns: listing a library's records, damaged ones too, and
// the import of native puzzle files. Codes, lines, add and show are in
// tests/data/transcripts/patterns.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/TempFolder.h"
#include "cli/CliRunner.h"
#include "patterns/ImportPatterns.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;

using testing::CliRun;
using testing::ReadBytes;
using testing::TempFolder;

// A record: the code, then the 18 counters and the reserved field, each
// four bytes little endian; counters given as small values.
std::string Record(const std::string& code, std::vector<unsigned char> counters = {}) {
    counters.resize(19, 0);
    std::string bytes = code;
    for (unsigned char c : counters) bytes += std::string{static_cast<char>(c), '\0', '\0', '\0'};
    return bytes;
}

const std::string kOnlyCell0 = "01" + std::string(20, '0');
const std::string kAllCells = "01" + std::string(20, 'F');

class PatternsCommand : public ::testing::Test {
  protected:
    TempFolder folder;
    fs::path Library() const { return folder.Path / "Patterns.rec"; }
    void WriteLibrary(const std::string& bytes) const {
        std::ofstream(Library(), std::ios::binary) << bytes;
    }

    CliRun Run(std::vector<std::string> args, const std::string& input = "") const {
        args.insert(args.begin(), {"patterns", "--data-dir", folder.Path.string()});
        return testing::RunCommand(args, input);
    }
};

TEST_F(PatternsCommand, ListShowsEveryRecordWithItsCountersInOrder) {
    std::vector<unsigned char> counters(18);
    for (int i = 0; i < 18; ++i) counters[i] = static_cast<unsigned char>(i + 1);
    WriteLibrary(Record(kOnlyCell0) + Record(kAllCells, counters));
    const CliRun run = Run({"list"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "1\t" + kOnlyCell0 + "\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n2\t" +
                  kAllCells + "\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t16\t17\t18\n");
}

TEST_F(PatternsCommand, DamagedLibraryIsListedWithoutFailing) {
    std::mt19937 random(4242);
    // Lengths and the records they count: half a record rounds to even.
    for (const auto& [length, records] : std::vector<std::pair<std::size_t, int>>{
             {1, 0}, {97, 1}, {99, 1}, {245, 2}, {343, 4}, {1001, 10}}) {
        std::string junk(length, '\0');
        for (char& c : junk) c = static_cast<char>(random() % 256);
        WriteLibrary(junk);
        EXPECT_EQ(Run({"list"}).Status, 0) << length;
        EXPECT_EQ(Run({"show", std::to_string(records)}).Status, records > 0 ? 0 : 2);
        EXPECT_EQ(Run({"show", std::to_string(records + 1)}).Status, 2);
        EXPECT_EQ(Run({"add", kAllCells}).Out, std::to_string(records + 1) + "\n");
    }
}

// The import walks a native puzzle file as the window does, answered on
// standard input or by a switch.
class PatternsImport : public PatternsCommand {
  protected:
    fs::path file = folder.Path / "puzzles.sds";
    std::string unsuitable = std::string(19, 'X') + std::string(62, '.');
    std::string Code(const std::string& pattern) const {
        return EncodePattern(testing::PatternOf(pattern));
    }
    void WriteFile(const std::vector<std::string>& patterns, const std::string& tail = "") const {
        testing::WriteBytes(file, testing::SdsFileOf(patterns) + tail);
    }
    std::vector<std::string> Codes() const {
        std::vector<std::string> codes;
        const std::string bytes = ReadBytes(Library());
        for (std::size_t at = 0; at + 98 <= bytes.size(); at += 98)
            codes.push_back(bytes.substr(at, 22));
        return codes;
    }
};

TEST_F(PatternsImport, DryRunNamesEachNewPatternOnceAndWritesNothing) {
    WriteLibrary(Record(Code(testing::kSuitable21)));
    WriteFile({unsuitable, testing::kSuitable20, testing::kSuitable21, testing::kSuitable20,
               testing::kSuitable22});
    const CliRun run = Run({"import", file.string(), "--dry-run"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "2\t" + Code(testing::kSuitable20) + "\n5\t" + Code(testing::kSuitable22) + "\n");
    EXPECT_EQ(Codes(), std::vector<std::string>({Code(testing::kSuitable21)}));
}

TEST_F(PatternsImport, YesAppendsEveryNewPattern) {
    WriteFile({testing::kSuitable20, testing::kSuitable20, unsuitable, testing::kSuitable22},
              std::string(100, '\x01'));
    const CliRun run = Run({"import", file.string(), "--yes"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "1\t" + Code(testing::kSuitable20) + "\t1\n4\t" +
                           Code(testing::kSuitable22) + "\t2\n");
    EXPECT_EQ(Codes(),
              std::vector<std::string>({Code(testing::kSuitable20), Code(testing::kSuitable22)}));
    EXPECT_EQ(Run({"import", file.string(), "--yes"}).Out, "") << "nothing is new the second time";
}

TEST_F(PatternsImport, AnswersComeFromStandardInput) {
    WriteFile({testing::kSuitable20, testing::kSuitable21, testing::kSuitable21,
               testing::kSuitable22, testing::kSuitable26});
    // No to the first, Yes to the second (so its repeat is not asked), then
    // Cancel: the rest is not walked.
    const CliRun run = Run({"import", file.string()}, "n\nYes\nc\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "1\t" + Code(testing::kSuitable20) + "\n2\t" + Code(testing::kSuitable21) + "\t1\n");
    EXPECT_NE(run.Err.find("Puzzle 4: " + Code(testing::kSuitable22)), std::string::npos);
    EXPECT_EQ(run.Err.find("Puzzle 5"), std::string::npos);
    EXPECT_EQ(Codes(), std::vector<std::string>({Code(testing::kSuitable21)}));
    // The end of the input cancels.
    EXPECT_EQ(Run({"import", file.string()}, "y\n").Out,
              "1\t" + Code(testing::kSuitable20) + "\t2\n");
}

TEST_F(PatternsImport, BadFilesAndArgumentsAreRefused) {
    testing::WriteBytes(file, std::string(165, '\x01'));
    CliRun run = Run({"import", file.string(), "--yes"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("does not contain sudokus"), std::string::npos);
    run = Run({"import", (folder.Path / "missing.sds").string(), "--yes"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot open"), std::string::npos);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"import"},
                                               {"import", file.string(), "--yes", "--dry-run"},
                                               {"import", file.string(), "--no"}}) {
        EXPECT_EQ(Run(args).Status, 2) << args.size();
    }
    EXPECT_FALSE(fs::exists(Library()));
}

}  // namespace
}  // namespace cluemill
