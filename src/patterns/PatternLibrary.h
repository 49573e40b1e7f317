// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cluemill {

// The clue cells of a pattern: Clues[cell] true = the cell holds a given.
using Pattern = std::array<bool, 81>;

// One record of Patterns.rec: a pattern's code and how many puzzles of each
// difficulty class (index class - 1) it has produced, per counter family.
//
//   offset  0  22 bytes  PatternCode, blank padded
//   offset 22  6 x int32 NotExpanded      } little endian
//   offset 46  6 x int32 Expanded         }
//   offset 70  6 x int32 Minimal          }
//   offset 94  int32     Reserved (0)
struct PatternRecord {
    std::string PatternCode = std::string(22, ' ');
    std::array<std::int32_t, 6> NotExpanded{};
    std::array<std::int32_t, 6> Expanded{};
    std::array<std::int32_t, 6> Minimal{};
    std::int32_t Reserved = 0;

    bool operator==(const PatternRecord&) const = default;
};

inline constexpr std::size_t kPatternRecordSize = 98;
using PatternRecordBytes = std::array<unsigned char, kPatternRecordSize>;

PatternRecordBytes ToBytes(const PatternRecord& record);
PatternRecord FromBytes(const PatternRecordBytes& bytes);

// The 22 uppercase hexadecimal digits of a pattern: byte 0 is cell 0 (00 or
// 01), bytes 1 to 10 hold cells 1 to 80 eight at a time, the lower cell in
// the higher bit. Read as one number, cell 0 is bit 80 and cell 80 bit 0.
std::string EncodePattern(const Pattern& clues);
// The cells of a code as the editor reads it: each pair of characters is
// read as hexadecimal as far as it goes (a pair that is not hexadecimal
// reads as 0); byte 0 marks cell 0 only when it is "01". Never fails.
Pattern DecodePattern(std::string_view code);
// Why a code is not a valid pattern code, or nothing when it is.
std::optional<std::string> CheckPatternCode(std::string_view code);

// length / recordSize rounded to the nearest whole number, a half to the
// even neighbour.
std::int64_t RoundedRecordCount(std::uintmax_t length, std::uintmax_t recordSize);

// The pattern library file. Every access opens the file, reads or writes one
// record and closes it; errors are suppressed (a failed read gives a blank
// record, a failed write leaves the file as it was). A record is written
// whole or not at all, under a lock that other programs using the same file
// (another window, cluemill-cli) respect.
class PatternLibrary {
  public:
    std::filesystem::path File;
    // Number of records.
    std::int32_t PatternCount = 0;
    // The record shown in the editor; 0 = a new pattern with no record.
    std::int32_t CurrentPattern = 0;
    // The in-memory copy of record CurrentPattern.
    PatternRecord PatternRec;

    // PatternCount from the file's length (0 when it cannot be read).
    void Count();
    // Record k (from 1). A record the file does not hold whole reads as far
    // as it goes, the rest blank.
    PatternRecord ReadPatternRecord(std::int32_t k) const;
    // Records first to first + count - 1 (from 1), read at once under one
    // lock, each as ReadPatternRecord would read it.
    std::vector<PatternRecord> ReadPatternRecords(std::int32_t first, std::int32_t count) const;
    // Writes record k (from 1) in place; true if it was written.
    bool WritePatternRecord(std::int32_t k, const PatternRecord& record) const;
    // The highest record number whose code equals code, or 0.
    std::int32_t FindPattern(std::string_view code) const;
    // Adds the record of a pattern the library did not hold after the last
    // record the file holds now (another program may have added some) and
    // counts it: PatternCount becomes its number, which is returned. When
    // another program has registered the same code since this library was
    // counted, nothing is added: record becomes that program's record and
    // its number is returned. 0 when the file could not be written
    // (PatternCount is still raised by one).
    std::int32_t AppendPattern(PatternRecord& record);
    // Writes record k's statistics back: the counts raised in record since
    // it was last read or written here are added to what the file holds now,
    // so that counts another program added meanwhile stay. record becomes
    // what was written. True if it was written.
    bool MergePatternRecord(std::int32_t k, PatternRecord& record);

  private:
    // Record synced_ (0 = none) as this library last read or wrote it.
    mutable std::int32_t synced_ = 0;
    mutable PatternRecord syncedRecord_;
};

}  // namespace cluemill
