// SPDX-License-Identifier: MIT
// Patterns.rec and the pattern code: the code's cases (tests/data/
// pattern_codes.txt), the 98-byte record, every record access against files
// written here byte by byte, and two programs on one library.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <random>
#include <sstream>

#include "app/ChildProcess.h"
#include "generator/GeneratorTestSupport.h"
#include "output/PuzzleFormats.h"
#include "patterns/ImportPatterns.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using testing::Append;
using testing::kPatternCodes;
using testing::ReadBytes;
using testing::RecordOf;
using testing::WriteBytes;

// "-" none, else numbers and ranges: "0-8,40".
Pattern CellsOf(const std::string& list) {
    Pattern clues{};
    std::istringstream items(list == "-" ? "" : list);
    for (std::string item; std::getline(items, item, ',');) {
        const auto dash = item.find('-');
        for (int cell = std::stoi(item); cell <= std::stoi(item.substr(dash + 1)); ++cell)
            clues[cell] = true;
    }
    return clues;
}

TEST(PatternCode, CasesFromTheTable) {
    std::ifstream in(CLUEMILL_TEST_DATA "/pattern_codes.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind, first, second;
        fields >> kind >> first >> second;
        const std::string text = first == "-" ? "" : first;
        ++cases;
        if (kind == "code") {
            EXPECT_EQ(EncodePattern(CellsOf(first)), second) << line;
            EXPECT_EQ(DecodePattern(second), CellsOf(first)) << line;
            EXPECT_EQ(CheckPatternCode(second), std::nullopt) << line;
        } else if (kind == "decode") {
            EXPECT_EQ(DecodePattern(text), CellsOf(second)) << line;
        } else {
            EXPECT_FALSE(CheckPatternCode(text).value_or("").empty()) << line;
        }
    }
    EXPECT_EQ(cases, 29);
    std::mt19937 random(20240611);
    for (int n = 0; n < 2000; ++n) {
        Pattern clues{};
        const unsigned density = random() % 101;
        for (auto&& cell : clues) cell = random() % 100 < density;
        const std::string code = EncodePattern(clues);
        ASSERT_EQ(CheckPatternCode(code), std::nullopt) << code;
        ASSERT_EQ(DecodePattern(code), clues) << code;
        for (int bit = 0; bit < 81; ++bit) {  // cell i is bit 80 - i of the number
            const int digit = std::stoi(code.substr(21 - bit / 4, 1), nullptr, 16);
            ASSERT_EQ((digit >> (bit % 4) & 1) != 0, clues[80 - bit]) << code << " bit " << bit;
        }
    }
}

// The code blank padded to 22, then 19 counters least significant byte
// first; the first counter and Minimal(6) given.
std::string Image(std::string code, char first = 0, const char* minimalOthers = "\0\0\0\0") {
    code.resize(22, ' ');
    return code + first + std::string(67, '\0') + std::string(minimalOthers, 4) +
           std::string(4, '\0');
}

class LibraryFile : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    PatternLibrary library;
    PatternLibrary second;  // another program on the same file
    void SetUp() override { library.File = second.File = folder.Path / "Patterns.rec"; }
    void Write(const std::string& bytes) {
        WriteBytes(library.File, bytes);
        library.Count();
    }
};

const std::string kCodeA = "01" + std::string(20, 'F');
const std::string kCodeB = "0080" + std::string(18, '0');
const std::string kCodeC = std::string(20, '0') + "01";

// Single reads give what the file holds and blanks beyond it; a run of
// records read at once gives what the single reads give.
TEST_F(LibraryFile, RecordsReadAsTheFileHoldsThem) {
    EXPECT_EQ(library.ReadPatternRecord(1), PatternRecord{}) << "missing file";
    Write(Image(kCodeA, 5) + Image(kCodeB, 6, "\x0D\x0C\x0B\x0A") + Image(kCodeC, 7).substr(0, 40));
    EXPECT_EQ(library.PatternCount, 2);
    std::vector<PatternRecord> expected(4);
    for (const auto& [k, code] :
         std::vector<std::pair<int, std::string>>{{1, kCodeA}, {2, kCodeB}, {3, kCodeC}}) {
        expected[k].PatternCode = code;
        expected[k].NotExpanded[0] = 4 + k;
    }
    expected[2].Minimal[5] = 0x0A0B0C0D;
    for (std::int32_t k : {-3, 0, 1, 2, 3, 4})
        EXPECT_EQ(library.ReadPatternRecord(k), expected[k >= 1 && k <= 3 ? k : 0]) << k;
    for (const auto& [first, count] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {1, 3}, {3, 1}, {2, 5}, {4, 2}, {INT32_MAX - 1, 5}}) {
        const std::vector<PatternRecord> records = library.ReadPatternRecords(first, count);
        ASSERT_EQ(records.size(), first == INT32_MAX - 1 ? 2u : static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i], library.ReadPatternRecord(first + static_cast<int>(i))) << first;
    }
    EXPECT_TRUE(library.ReadPatternRecords(0, 3).empty());
}

TEST_F(LibraryFile, WriteFindAppendAndCount) {
    PatternRecord record = RecordOf(kCodeC);
    const std::string image = Image(kCodeC);
    const std::string filler(3 * 98, '\xAA');
    WriteBytes(library.File, filler + "tail");
    ASSERT_TRUE(library.WritePatternRecord(2, record));
    ASSERT_TRUE(library.WritePatternRecord(5, record)) << "beyond the end the file grows";
    EXPECT_FALSE(library.WritePatternRecord(0, record));
    EXPECT_EQ(ReadBytes(library.File), filler.substr(0, 98) + image + filler.substr(196) + "tail" +
                                           std::string(94, '\0') + image);

    Write(Image(kCodeB) + Image(kCodeA) + Image(kCodeB) + Image(kCodeA));
    EXPECT_EQ(library.FindPattern(kCodeA), 4) << "the highest match";
    EXPECT_EQ(library.FindPattern(kCodeC), 0);
    EXPECT_EQ(library.FindPattern(kCodeA.substr(0, 21)), 0);
    EXPECT_EQ(library.FindPattern("01" + std::string(20, 'f')), 0) << "case-sensitive";
    Write(Image(kCodeB) + Image(kCodeA));
    EXPECT_EQ(library.FindPattern(kCodeB), 1);
    EXPECT_EQ(library.AppendPattern(record), 3);
    EXPECT_EQ(ReadBytes(library.File), Image(kCodeB) + Image(kCodeA) + image);
    library.PatternCount = 0;
    EXPECT_EQ(library.FindPattern(kCodeA), 0) << "an empty library holds nothing";

    // The count rounds the length, a half (49 bytes) to the even neighbour.
    for (const auto& [length, count] : std::vector<std::pair<std::size_t, std::int32_t>>{
             {0, 0}, {49, 0}, {50, 1}, {147, 2}, {245, 2}, {343, 4}, {539, 6}}) {
        Write(std::string(length, 'x'));
        EXPECT_EQ(library.PatternCount, count) << length << " bytes";
    }
    library.File = folder.Path / "missing" / "Patterns.rec";
    library.Count();
    EXPECT_EQ(library.PatternCount, 0);
    EXPECT_FALSE(library.WritePatternRecord(1, record));
    EXPECT_FALSE(fs::exists(library.File));
}

TEST_F(LibraryFile, TwoProgramsAppendAfterEachOtherAndShareARecord) {
    ASSERT_EQ(Append(library, kPatternCodes[0]), 1);
    ASSERT_EQ(Append(second, kPatternCodes[1]), 2) << "numbered from the file, not the count";
    // Both looked a pattern up before either registered it: one record.
    ASSERT_EQ(library.FindPattern(kPatternCodes[2]), 0);
    PatternRecord theirs = RecordOf(kPatternCodes[2]);
    ASSERT_EQ(second.AppendPattern(theirs), 3);
    ++theirs.NotExpanded[3];
    ASSERT_TRUE(second.MergePatternRecord(3, theirs));
    PatternRecord mine = RecordOf(kPatternCodes[2]);
    EXPECT_EQ(library.AppendPattern(mine), 3) << "the other program's record is taken";
    EXPECT_EQ(library.PatternCount, 3);
    EXPECT_EQ(mine, theirs) << "with the counts it holds";
    // A code that only an older record holds is still appended: the library
    // had counted that record and its lookup did not find the code.
    EXPECT_EQ(Append(library, kPatternCodes[1]), 4);

    // Counts both add meanwhile add up; each holds what it wrote last.
    for (int round = 0; round < 3; ++round) {
        ++mine.NotExpanded[0];
        ASSERT_TRUE(library.MergePatternRecord(3, mine));
        ++theirs.NotExpanded[0];
        ++theirs.Minimal[5];
        ASSERT_TRUE(second.MergePatternRecord(3, theirs));
    }
    EXPECT_EQ(mine.NotExpanded[0], 5);
    EXPECT_EQ(theirs.NotExpanded[0], 6);
    EXPECT_EQ(theirs.NotExpanded[3], 1);
    EXPECT_EQ(library.ReadPatternRecord(3), theirs);

    // Someone replaced the library: counts of another code are not mixed in.
    fs::remove(library.File);
    PatternRecord other = RecordOf(kPatternCodes[1]);
    other.Expanded[2] = 40;
    ASSERT_TRUE(second.WritePatternRecord(3, other));
    ++mine.NotExpanded[1];
    ASSERT_TRUE(library.MergePatternRecord(3, mine));
    EXPECT_EQ(library.ReadPatternRecord(3), mine);
}

TEST_F(LibraryFile, AFailedAppendDoesNotLaterOverwriteTheRecordThatTookItsPlace) {
    fs::create_directory(library.File);  // cannot be written for a moment
    PatternRecord mine = RecordOf(kPatternCodes[0]);
    ASSERT_EQ(library.AppendPattern(mine), 0);
    ASSERT_EQ(library.PatternCount, 1) << "counted all the same";
    fs::remove(library.File);
    ASSERT_EQ(Append(second, kPatternCodes[1]), 1);
    ++mine.NotExpanded[0];
    EXPECT_FALSE(library.MergePatternRecord(1, mine));
    EXPECT_EQ(ReadBytes(library.File), Image(kPatternCodes[1]));
}

// Two cluemill-cli runs at once on one pattern: every puzzle of both is on
// disk, whole, and the library counts all of them in one record.
TEST_F(LibraryFile, TwoProcessesKeepEveryPuzzleAndEveryCount) {
    for (const OutputFormat format : {OutputFormat::Line81Dot, OutputFormat::SimpleSudoku}) {
        fs::remove_all(folder.Path);
        pid_t runs[2];
        for (int i = 0; i < 2; ++i) {
            runs[i] = testing::StartChild({}, [&] {
                return testing::RunCommand({"generate", "--pattern", kPatternCodes[2], "--count",
                                            "12", "--seed", std::to_string(11 + i), "--format",
                                            std::to_string(static_cast<int>(format)), "--data-dir",
                                            folder.Path.string()})
                    .Status;
            });
        }
        EXPECT_EQ(testing::WaitChild(runs[0]) + testing::WaitChild(runs[1]), 0);
        const FormatInfo& info = Info(format);
        std::string all;
        for (const auto& entry : fs::directory_iterator(folder.Path / info.Folder))
            all += ReadBytes(entry.path());
        ASSERT_EQ(all.size(), 24 * info.RecordLength);
        for (std::size_t at = info.RecordLength - 2; at < all.size(); at += info.RecordLength)
            EXPECT_EQ(all.substr(at, 2), "\r\n") << info.Folder << " at " << at;
        library.Count();
        ASSERT_EQ(library.PatternCount, 1);
        const auto counts = library.ReadPatternRecord(1).NotExpanded;
        EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 24);
    }
}

}  // namespace
}  // namespace cluemill
