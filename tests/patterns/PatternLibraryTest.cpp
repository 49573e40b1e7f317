// SPDX-License-Identifier: MIT
// Patterns.rec and the pattern code: the 98-byte record, the 22-digit code,
// and every record access against files written here byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/TempFolder.h"
#include "patterns/PatternLibrary.h"

namespace cluemill {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// A fresh folder for one test, removed afterwards.
using testing::TempFolder;

using testing::ReadBytes;

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The test's own record writer: code blank padded to 22, then 19 counters
// little endian, least significant byte first.
std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

std::string RecordImage(std::string code, std::uint32_t firstCounter = 0,
                        std::uint32_t minimalOthers = 0) {
    code.resize(22, ' ');
    std::string bytes = code + Le32(firstCounter);
    for (int i = 1; i < 17; ++i) bytes += Le32(0);
    return bytes + Le32(minimalOthers) + Le32(0);
}

Pattern Cells(std::initializer_list<int> cells) {
    Pattern clues{};
    for (int c : cells) clues[c] = true;
    return clues;
}

const std::string kZeros20(20, '0');

struct CodeCase {
    const char* Name;
    Pattern Clues;
    std::string Code;
};

TEST(PatternCode, EdgePatternsEncodeAndDecode) {
    const std::vector<CodeCase> cases = {
        {"empty", Pattern{}, std::string(22, '0')},
        {"only cell 0", Cells({0}), "01" + kZeros20},
        {"only cell 1", Cells({1}), "0080" + std::string(18, '0')},
        {"only cell 8", Cells({8}), "0001" + std::string(18, '0')},
        {"only cell 9", Cells({9}), "000080" + std::string(16, '0')},
        {"only cell 73", Cells({73}), kZeros20 + "80"},
        {"only cell 80", Cells({80}), kZeros20 + "01"},
        {"first row", Cells({0, 1, 2, 3, 4, 5, 6, 7, 8}), "01FF" + std::string(18, '0')},
        {"cells 10 and 12", Cells({10, 12}), "000050" + std::string(16, '0')},
        {"all 81",
         [] {
             Pattern all;
             all.fill(true);
             return all;
         }(),
         "01" + std::string(20, 'F')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(EncodePattern(c.Clues), c.Code);
        EXPECT_EQ(DecodePattern(c.Code), c.Clues);
        EXPECT_EQ(CheckPatternCode(c.Code), std::nullopt);
    }
}

int HexDigit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

TEST(PatternCode, RandomPatternsRoundTripAndReadAsOne81BitNumber) {
    std::mt19937 random(20240611);
    for (int n = 0; n < 3000; ++n) {
        const int density = static_cast<int>(random() % 101);
        Pattern clues{};
        for (auto&& cell : clues) cell = static_cast<int>(random() % 100) < density;
        const std::string code = EncodePattern(clues);
        ASSERT_EQ(code.size(), 22u);
        ASSERT_EQ(code.find_first_not_of("0123456789ABCDEF"), std::string::npos) << code;
        ASSERT_TRUE(code.starts_with("00") || code.starts_with("01")) << code;
        ASSERT_EQ(DecodePattern(code), clues) << code;
        ASSERT_EQ(CheckPatternCode(code), std::nullopt) << code;
        // Cell i is bit 80 - i of the number the 22 digits spell.
        for (int cell = 0; cell < 81; ++cell) {
            const int bit = 80 - cell;
            const bool set = (HexDigit(code[21 - bit / 4]) >> (bit % 4)) & 1;
            ASSERT_EQ(set, clues[cell]) << code << " cell " << cell;
        }
    }
}

TEST(PatternCode, DecodeReadsWhatItCanOfAnyText) {
    const std::vector<CodeCase> cases = {
        {"empty text", Pattern{}, ""},
        {"cell 0 alone", Cells({0}), "01"},
        {"short code", Cells({0, 1}), "0180"},
        {"first pair other than 01", Cells({1, 2, 3, 4, 5, 6, 7, 8}),
         "02FF" + std::string(18, '0')},
        {"first pair junk", Cells({1}), "zz80"},
        {"lower case", Cells({1, 2, 3, 4, 5, 6, 7, 8}), "00ff"},
        {"pair cut at a non-digit", Cells({8}), "001G"},
        {"non-digit first", Pattern{}, "00G1"},
        {"longer than 22", Cells({80}), kZeros20 + "01FFFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(DecodePattern(c.Code), c.Clues);
    }
    std::mt19937 random(7);
    for (int n = 0; n < 2000; ++n) {
        std::string junk(random() % 40, ' ');
        for (char& c : junk) c = static_cast<char>(random() % 256);
        const Pattern clues = DecodePattern(junk);
        EXPECT_EQ(clues[0], junk.starts_with("01"));
    }
}

TEST(PatternCode, CheckRefusesWhatIsNotACode) {
    const std::vector<std::string> refused = {"",
                                              std::string(21, '0'),
                                              std::string(23, '0'),
                                              std::string(81, '.'),
                                              "02" + kZeros20,
                                              "10" + kZeros20,
                                              "FF" + kZeros20,
                                              "00" + std::string(19, '0') + "G",
                                              "00 " + std::string(19, '0'),
                                              "-1" + kZeros20};
    for (const auto& code : refused) {
        SCOPED_TRACE(code);
        const auto why = CheckPatternCode(code);
        ASSERT_TRUE(why.has_value());
        EXPECT_FALSE(why->empty());
    }
}

TEST(PatternRecordBytes, LayoutIsCodeThenLittleEndianCounters) {
    PatternRecord record;
    record.PatternCode = "0180000000000000000001";
    record.NotExpanded = {1, 256, 65536, 16777216, -1, 0x7FFFFFFF};
    record.Expanded = {0x01020304, 0, 0, 0, 0, 7};
    record.Minimal = {0, 0, 0, 0, 0, 1000};
    const std::string expected =
        "0180000000000000000001"
        "\x01\x00\x00\x00"
        "\x00\x01\x00\x00"
        "\x00\x00\x01\x00"  // NotExpanded
        "\x00\x00\x00\x01"
        "\xFF\xFF\xFF\xFF"
        "\xFF\xFF\xFF\x7F"
        "\x04\x03\x02\x01"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"  // Expanded
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x07\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"  // Minimal
        "\x00\x00\x00\x00"
        "\x00\x00\x00\x00"
        "\xE8\x03\x00\x00"
        "\x00\x00\x00\x00"s;  // Reserved
    ASSERT_EQ(expected.size(), 98u);
    const PatternRecordBytes bytes = ToBytes(record);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(FromBytes(bytes), record);

    // A code is stored blank padded or cut to 22 characters.
    record.PatternCode = "ABC";
    const PatternRecordBytes padded = ToBytes(record);
    EXPECT_EQ(std::string(padded.begin(), padded.begin() + 23),
              "ABC" + std::string(19, ' ') + "\x01");
    record.PatternCode = "0123456789012345678901XYZ";
    const PatternRecordBytes cut = ToBytes(record);
    EXPECT_EQ(std::string(cut.begin(), cut.begin() + 23), "0123456789012345678901\x01");
}

class LibraryFile : public ::testing::Test {
  protected:
    TempFolder folder;
    PatternLibrary library;
    void SetUp() override { library.File = folder.Path / "Patterns.rec"; }
    void Write(const std::string& bytes) {
        WriteBytes(library.File, bytes);
        library.Count();
    }
};

const std::string kCodeA = "01" + std::string(20, 'F');
const std::string kCodeB = "0080" + std::string(18, '0');
const std::string kCodeC = kZeros20 + "01";
const std::string kCodeD = std::string(22, '0');

TEST_F(LibraryFile, ThreeRecordsReadBackByNumber) {
    Write(RecordImage(kCodeA, 5) + RecordImage(kCodeB, 6, 0x0A0B0C0D) + RecordImage(kCodeC, 7));
    EXPECT_EQ(library.PatternCount, 3);
    const std::string file = ReadBytes(library.File);
    EXPECT_EQ(file.substr(98, 22), kCodeB);
    EXPECT_EQ(file.substr(98 + 90, 4), "\x0D\x0C\x0B\x0A");

    const PatternRecord second = library.ReadPatternRecord(2);
    EXPECT_EQ(second.PatternCode, kCodeB);
    EXPECT_EQ(second.Minimal[5], 0x0A0B0C0D);
    EXPECT_EQ(second.NotExpanded[0], 6);
    EXPECT_EQ(library.ReadPatternRecord(1).PatternCode, kCodeA);
    EXPECT_EQ(library.ReadPatternRecord(1).NotExpanded[0], 5);
    EXPECT_EQ(library.ReadPatternRecord(3).PatternCode, kCodeC);
    EXPECT_EQ(library.ReadPatternRecord(3).Minimal[5], 0);
}

TEST_F(LibraryFile, ReadBeyondTheFileGivesWhatTheFileHoldsAndBlanksTheRest) {
    const PatternRecord blank;
    EXPECT_EQ(library.ReadPatternRecord(1), blank) << "missing file";
    Write(RecordImage(kCodeA, 5) + RecordImage(kCodeB, 6).substr(0, 30));
    EXPECT_EQ(library.ReadPatternRecord(0), blank);
    EXPECT_EQ(library.ReadPatternRecord(-3), blank);
    EXPECT_EQ(library.ReadPatternRecord(3), blank);

    PatternRecord partial;
    partial.PatternCode = kCodeB;
    partial.NotExpanded[0] = 6;
    EXPECT_EQ(library.ReadPatternRecord(2), partial);

    Write(RecordImage(kCodeA).substr(0, 10));
    EXPECT_EQ(library.ReadPatternRecord(1).PatternCode,
              kCodeA.substr(0, 10) + std::string(12, ' '));
    EXPECT_EQ(library.ReadPatternRecord(1).NotExpanded, blank.NotExpanded);
}

TEST_F(LibraryFile, RecordsReadAtOnceAreTheRecordsReadOneByOne) {
    // Two whole records and a cut third: every run of numbers, inside,
    // across the cut and beyond the end, reads as the single reads do.
    Write(RecordImage(kCodeA, 5) + RecordImage(kCodeB, 6, 0x0A0B0C0D) +
          RecordImage(kCodeC, 7).substr(0, 40));
    struct Case {
        std::int32_t First, Count;
    };
    for (const auto [first, count] : {Case{1, 1}, Case{1, 3}, Case{2, 2}, Case{3, 1}, Case{2, 5},
                                      Case{4, 2}, Case{1, 88}, Case{INT32_MAX - 1, 5}}) {
        const std::vector<PatternRecord> records = library.ReadPatternRecords(first, count);
        ASSERT_EQ(records.size(), static_cast<std::size_t>(std::min<std::int64_t>(
                                      count, std::int64_t{INT32_MAX} - first + 1)))
            << first << " " << count;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i], library.ReadPatternRecord(first + static_cast<std::int32_t>(i)))
                << first << " + " << i;
        }
    }
    EXPECT_TRUE(library.ReadPatternRecords(0, 3).empty());
    EXPECT_TRUE(library.ReadPatternRecords(1, 0).empty());
}

TEST_F(LibraryFile, WriteRecordInPlace) {
    PatternRecord record;
    record.PatternCode = kCodeD;
    record.NotExpanded[0] = 9;
    const std::string image = RecordImage(kCodeD, 9);

    ASSERT_TRUE(library.WritePatternRecord(1, record)) << "creates the file";
    EXPECT_EQ(ReadBytes(library.File), image);

    const std::string filler(3 * 98, '\xAA');
    WriteBytes(library.File, filler);
    ASSERT_TRUE(library.WritePatternRecord(2, record));
    EXPECT_EQ(ReadBytes(library.File), filler.substr(0, 98) + image + filler.substr(196));

    ASSERT_TRUE(library.WritePatternRecord(4, record)) << "one past the last extends";
    EXPECT_EQ(ReadBytes(library.File), filler.substr(0, 98) + image + filler.substr(196) + image);

    WriteBytes(library.File, filler + "tail");
    ASSERT_TRUE(library.WritePatternRecord(1, record));
    EXPECT_EQ(ReadBytes(library.File), image + filler.substr(98) + "tail") << "never shortened";

    EXPECT_FALSE(library.WritePatternRecord(0, record));
    EXPECT_EQ(ReadBytes(library.File), image + filler.substr(98) + "tail");

    PatternLibrary nowhere;
    nowhere.File = folder.Path / "missing" / "Patterns.rec";
    EXPECT_FALSE(nowhere.WritePatternRecord(1, record));
    EXPECT_FALSE(fs::exists(nowhere.File));
}

TEST_F(LibraryFile, FindPatternReturnsTheHighestMatch) {
    EXPECT_EQ(library.FindPattern(kCodeA), 0) << "missing file";
    Write(RecordImage(kCodeA) + RecordImage(kCodeB) + RecordImage(kCodeA) + RecordImage(kCodeC));
    EXPECT_EQ(library.FindPattern(kCodeA), 3);
    EXPECT_EQ(library.FindPattern(kCodeB), 2);
    EXPECT_EQ(library.FindPattern(kCodeC), 4);
    EXPECT_EQ(library.FindPattern(kCodeD), 0);
    EXPECT_EQ(library.FindPattern(kCodeA.substr(0, 21)), 0);
    EXPECT_EQ(library.FindPattern("01" + std::string(20, 'f')), 0) << "case-sensitive";
    library.PatternCount = 0;
    EXPECT_EQ(library.FindPattern(kCodeA), 0) << "an empty library holds nothing";
}

TEST_F(LibraryFile, AppendPatternCountsAndWritesAtTheEnd) {
    PatternRecord record;
    record.PatternCode = kCodeB;
    library.AppendPattern(record);
    EXPECT_EQ(library.PatternCount, 1);
    EXPECT_EQ(ReadBytes(library.File), RecordImage(kCodeB));
    record.PatternCode = kCodeC;
    library.AppendPattern(record);
    EXPECT_EQ(library.PatternCount, 2);
    EXPECT_EQ(ReadBytes(library.File), RecordImage(kCodeB) + RecordImage(kCodeC));
    EXPECT_EQ(library.FindPattern(kCodeC), 2);
    library.Count();
    EXPECT_EQ(library.PatternCount, 2);
}

TEST_F(LibraryFile, CountRoundsTheLengthHalfToEven) {
    // 49 bytes are half a record, 147 one and a half, and so on: a half goes to the even neighbour.
    const std::vector<std::pair<std::size_t, std::int32_t>> cases = {
        {0, 0},   {48, 0},  {49, 0},  {50, 1},  {97, 1},  {98, 1},  {147, 2},
        {196, 2}, {245, 2}, {343, 4}, {490, 5}, {491, 5}, {538, 5}, {539, 6},
    };
    for (const auto& [length, count] : cases) {
        Write(std::string(length, 'x'));
        EXPECT_EQ(library.PatternCount, count) << length << " bytes";
    }
    fs::remove(library.File);
    library.Count();
    EXPECT_EQ(library.PatternCount, 0) << "missing file";
    fs::create_directory(library.File);
    library.Count();
    EXPECT_EQ(library.PatternCount, 0) << "a folder named Patterns.rec";
}

TEST_F(LibraryFile, DamagedFileNeverBreaksAccess) {
    std::mt19937 random(99);
    for (int n = 0; n < 30; ++n) {
        std::string junk(random() % 800, '\0');
        for (char& c : junk) c = static_cast<char>(random() % 256);
        Write(junk);
        for (std::int32_t k = 0; k <= library.PatternCount + 1; ++k) {
            const PatternRecord record = library.ReadPatternRecord(k);
            ASSERT_EQ(record.PatternCode.size(), 22u);
            DecodePattern(record.PatternCode);
            if (k >= 1 && 98u * static_cast<std::size_t>(k) <= junk.size()) {
                ASSERT_EQ(record.PatternCode, junk.substr(98 * (k - 1), 22));
            }
        }
        const std::int32_t found = library.FindPattern(kCodeA);
        ASSERT_GE(found, 0);
        ASSERT_LE(found, library.PatternCount);
    }
}

}  // namespace
}  // namespace cluemill
