// SPDX-License-Identifier: MIT
// cluemill-cli patterns: the library in a data folder, and codes and
// pattern lines in both directions.
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
const std::string kCells1And80 = "0080" + std::string(16, '0') + "01";
const std::string kAllCells = "01" + std::string(20, 'F');
const std::string kLineCells1And80 = ".X" + std::string(78, '.') + "X";
const std::string kLineAll(81, 'X');

class PatternsCommand : public ::testing::Test {
  protected:
    TempFolder folder;
    fs::path Library() const { return folder.Path / "Patterns.rec"; }
    void WriteLibrary(const std::string& bytes) const {
        std::ofstream(Library(), std::ios::binary) << bytes;
    }

    CliRun Run(const std::vector<std::string>& args, const std::string& input = "") const {
        return RunIn(folder.Path, args, input);
    }
    static CliRun RunIn(const fs::path& dataDir, std::vector<std::string> args,
                        const std::string& input = "") {
        args.insert(args.begin(), {"patterns", "--data-dir", dataDir.string()});
        return testing::RunCommand(args, input);
    }
};

TEST_F(PatternsCommand, ListShowsEveryRecordWithItsCounters) {
    EXPECT_EQ(Run({"list"}).Out, "") << "no library yet";
    std::vector<unsigned char> counters(18);
    for (int i = 0; i < 18; ++i) counters[i] = static_cast<unsigned char>(i + 1);
    WriteLibrary(Record(kOnlyCell0) + Record(kCells1And80, counters) +
                 Record(kAllCells, {0, 0, 0, 0, 0, 200}));
    const CliRun run = Run({"list"});
    EXPECT_EQ(run.Status, 0);
    const std::string zeros = "\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0";
    EXPECT_EQ(run.Out, "1\t" + kOnlyCell0 + zeros + "\n" + "2\t" + kCells1And80 +
                           "\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t16\t17\t18\n" +
                           "3\t" + kAllCells + "\t0\t0\t0\t0\t0\t200" + zeros.substr(12) + "\n");
}

TEST_F(PatternsCommand, ShowDrawsOnePatternAsNineRows) {
    WriteLibrary(Record(kOnlyCell0) + Record(kCells1And80));
    CliRun run = Run({"show", "2"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(
        run.Out,
        ".X.......\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n"
        "........X\n");
    EXPECT_EQ(Run({"show", "1"}).Out.substr(0, 10), "X........\n");
    for (const char* n : {"0", "3", "-1", "abc", "99999999999999999999"}) {
        run = Run({"show", n});
        EXPECT_EQ(run.Status, 2) << n;
        EXPECT_EQ(run.Out, "") << n;
        EXPECT_NE(run.Err.find(n), std::string::npos) << run.Err;
    }
}

TEST_F(PatternsCommand, AddAppendsOnlyWhatIsNew) {
    CliRun run = Run({"add", kCells1And80});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "1\n");
    EXPECT_EQ(ReadBytes(Library()), Record(kCells1And80));

    run = Run({"add", kLineAll});
    EXPECT_EQ(run.Out, "2\n");
    EXPECT_EQ(ReadBytes(Library()), Record(kCells1And80) + Record(kAllCells));

    for (const std::string& again :
         {kCells1And80, kLineCells1And80, std::string(".#") + std::string(78, '.') + "9"}) {
        run = Run({"add", again});
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Out, "1\n") << again;
    }
    EXPECT_EQ(ReadBytes(Library()), Record(kCells1And80) + Record(kAllCells)) << "nothing appended";
}

TEST_F(PatternsCommand, AddOfALowerCaseCodeStoresNoSecondCopy) {
    const std::string lower = "01" + std::string(20, 'f');
    Run({"add", lower});
    EXPECT_EQ(Run({"add", kAllCells}).Out, "1\n");
    EXPECT_EQ(ReadBytes(Library()), Record(kAllCells)) << "codes in the library are upper case";
}

// A missing data folder is made with its parents; one that cannot be made
// (a file stands in its way) is reported, with exit status 1.
TEST_F(PatternsCommand, AddMakesTheDataFolderOrSaysWhyNot) {
    EXPECT_EQ(RunIn(folder.Path / "new" / "data", {"add", kAllCells}).Out, "1\n");
    testing::WriteBytes(folder.Path / "file", "x");
    const CliRun run = RunIn(folder.Path / "file" / "data", {"add", kAllCells});
    EXPECT_EQ(run.Status, 1) << "printed " << run.Out;
    EXPECT_TRUE(run.Err.starts_with("cluemill-cli patterns: cannot use the data folder "));
}

TEST_F(PatternsCommand, EncodeAndDecode) {
    struct Case {
        std::string Line;
        std::string Code;
    };
    const std::vector<Case> cases = {{std::string(81, '.'), std::string(22, '0')},
                                     {"X" + std::string(80, '.'), kOnlyCell0},
                                     {kLineCells1And80, kCells1And80},
                                     {kLineAll, kAllCells}};
    std::string lines;
    std::string codes;
    for (const auto& c : cases) {
        EXPECT_EQ(Run({"encode", c.Line}).Out, c.Code + "\n");
        EXPECT_EQ(Run({"decode", c.Code}).Out, c.Line + "\n");
        lines += c.Line + "\r\n";
        codes += c.Code + "\n";
    }
    EXPECT_EQ(Run({"encode"}, lines).Out, codes) << "standard input, CR LF lines";

    // Every clue mark, and the other characters of a line as empty cells.
    const std::string marks = "123456789Xx#*" + std::string(68, '0');
    const std::string empties = "0.-_ oO?" + std::string(73, '.');
    EXPECT_EQ(Run({"encode", marks}).Out, "01FFF0" + std::string(16, '0') + "\n");
    EXPECT_EQ(Run({"encode", empties}).Out, std::string(22, '0') + "\n");
}

// "#" marks a clue, also in the first cell of a line read from standard input.
TEST_F(PatternsCommand, StandardInputLineMayBeginWithAClueMark) {
    const std::string lines =
        "#" + std::string(80, '.') + "\n" + "*" + std::string(79, '.') + "#\n";
    EXPECT_EQ(Run({"encode"}, lines).Out, kOnlyCell0 + "\n" + "01" + std::string(18, '0') + "01\n");
}

TEST_F(PatternsCommand, BadCodesAndLinesAreRefused) {
    struct Case {
        std::vector<std::string> Args;
        std::string Mentions;
    };
    const std::vector<Case> cases = {
        {{"decode", std::string(21, '0')}, "21"},
        {{"decode", std::string(23, '0')}, "23"},
        {{"decode", std::string(21, '0') + "G"}, "G"},
        {{"decode", "02" + std::string(20, '0')}, "02"},
        {{"add", std::string(21, '0')}, "21"},
        {{"add", "0G" + std::string(20, '0')}, "G"},
        {{"add", "02" + std::string(20, '0')}, "02"},
        {{"add", std::string(80, 'X')}, "80"},
        {{"encode", std::string(80, 'X')}, "80"},
        {{"show"}, "Usage"},
        {{"frobnicate"}, "Usage"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.Args);
        EXPECT_EQ(run.Status, 2) << c.Args[0] << " " << (c.Args.size() > 1 ? c.Args[1] : "");
        EXPECT_NE(run.Err.find(c.Mentions), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(fs::exists(Library())) << "a refused add writes nothing";
    const CliRun partly = Run({"decode"}, kOnlyCell0 + "\n" + "02" + std::string(20, '0') + "\n");
    EXPECT_EQ(partly.Status, 2);
    EXPECT_EQ(partly.Out, "X" + std::string(80, '.') + "\n") << "the good line before the bad one";
}

TEST_F(PatternsCommand, DamagedLibraryIsListedWithoutFailing) {
    std::mt19937 random(4242);
    // Lengths and the records they count: half a record rounds to even.
    for (const auto& [length, records] : std::vector<std::pair<std::size_t, int>>{
             {1, 0}, {97, 1}, {99, 1}, {245, 2}, {343, 4}, {1001, 10}}) {
        std::string junk(length, '\0');
        for (char& c : junk) c = static_cast<char>(random() % 256);
        WriteLibrary(junk);
        const CliRun list = Run({"list"});
        EXPECT_EQ(list.Status, 0) << length;
        if (records > 0) {
            EXPECT_TRUE(list.Out.starts_with("1\t")) << length;
        }
        if (records > 1) {
            EXPECT_NE(list.Out.find("\n" + std::to_string(records) + "\t"), std::string::npos);
        }
        EXPECT_EQ(list.Out.find("\n" + std::to_string(records + 1) + "\t"), std::string::npos);
        for (int k = 1; k <= records; ++k)
            EXPECT_EQ(Run({"show", std::to_string(k)}).Status, 0) << k;
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
