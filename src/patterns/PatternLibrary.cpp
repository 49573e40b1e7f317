// SPDX-License-Identifier: MIT
#include "patterns/PatternLibrary.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "patterns/RecordFile.h"

namespace cluemill {

namespace {

void PutInt32(unsigned char* at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::int32_t GetInt32(const unsigned char* at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The byte written by the two characters at position at (0-based), read as
// far as they are hexadecimal digits.
int PairValue(std::string_view code, std::size_t at) {
    int value = 0;
    for (std::size_t i = at; i < at + 2 && i < code.size(); ++i) {
        const int digit = HexValue(code[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

PatternRecordBytes BlankRecordBytes() {
    PatternRecordBytes bytes{};
    for (int i = 0; i < 22; ++i) bytes[i] = ' ';
    return bytes;
}

std::uint64_t RecordOffset(std::int32_t k) {
    return static_cast<std::uint64_t>(k - 1) * kPatternRecordSize;
}

std::string_view View(const PatternRecordBytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Counters wrap around as 32-bit numbers do in the file.
std::int32_t Add(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t Subtract(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace

PatternRecordBytes ToBytes(const PatternRecord& record) {
    PatternRecordBytes bytes = BlankRecordBytes();
    for (std::size_t i = 0; i < 22 && i < record.PatternCode.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(record.PatternCode[i]);
    }
    for (int c = 0; c < 6; ++c) {
        PutInt32(&bytes[22 + 4 * c], record.NotExpanded[c]);
        PutInt32(&bytes[46 + 4 * c], record.Expanded[c]);
        PutInt32(&bytes[70 + 4 * c], record.Minimal[c]);
    }
    PutInt32(&bytes[94], record.Reserved);
    return bytes;
}

PatternRecord FromBytes(const PatternRecordBytes& bytes) {
    PatternRecord record;
    record.PatternCode.assign(bytes.begin(), bytes.begin() + 22);
    for (int c = 0; c < 6; ++c) {
        record.NotExpanded[c] = GetInt32(&bytes[22 + 4 * c]);
        record.Expanded[c] = GetInt32(&bytes[46 + 4 * c]);
        record.Minimal[c] = GetInt32(&bytes[70 + 4 * c]);
    }
    record.Reserved = GetInt32(&bytes[94]);
    return record;
}

std::string EncodePattern(const Pattern& clues) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string code;
    code.reserve(22);
    for (int i = 0; i <= 10; ++i) {
        int byte = 0;
        if (i == 0) {
            byte = clues[0] ? 1 : 0;
        } else {
            for (int j = 0; j < 8; ++j) {
                if (clues[8 * (i - 1) + 1 + j]) byte |= 1 << (7 - j);
            }
        }
        code += kHex[byte >> 4];
        code += kHex[byte & 15];
    }
    return code;
}

Pattern DecodePattern(std::string_view code) {
    Pattern clues{};
    for (int i = 1; i <= 10; ++i) {
        const int byte = PairValue(code, 2 * i);
        for (int j = 0; j < 8; ++j) clues[8 * i - j] = ((byte >> j) & 1) != 0;
    }
    clues[0] = code.substr(0, 2) == "01";
    return clues;
}

std::optional<std::string> CheckPatternCode(std::string_view code) {
    if (code.size() != 22) {
        return "a pattern code has 22 hexadecimal digits, not " + std::to_string(code.size());
    }
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (HexValue(code[i]) < 0) {
            return "'" + std::string(1, code[i]) + "' at position " + std::to_string(i + 1) +
                   " is not a hexadecimal digit";
        }
    }
    if (code.substr(0, 2) != "00" && code.substr(0, 2) != "01") {
        return "a pattern code begins with 00 or 01, not " + std::string(code.substr(0, 2));
    }
    return std::nullopt;
}

std::int64_t RoundedRecordCount(std::uintmax_t length, std::uintmax_t recordSize) {
    const std::uintmax_t whole = length / recordSize;
    const std::uintmax_t rest = length % recordSize;
    std::uintmax_t count = whole;
    if (2 * rest > recordSize || (2 * rest == recordSize && whole % 2 == 1)) ++count;
    return static_cast<std::int64_t>(count);
}

void PatternLibrary::Count() {
    std::error_code error;
    const auto length = std::filesystem::file_size(File, error);
    const std::int64_t count = error ? 0 : RoundedRecordCount(length, kPatternRecordSize);
    PatternCount = static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

PatternRecord PatternLibrary::ReadPatternRecord(std::int32_t k) const {
    PatternRecordBytes bytes = BlankRecordBytes();
    if (k >= 1) {
        if (const auto file = RecordFile::Open(File, RecordFile::Access::Read)) {
            file->ReadAt(RecordOffset(k), bytes.data(), bytes.size());
        }
    }
    PatternRecord record = FromBytes(bytes);
    synced_ = k;
    syncedRecord_ = record;
    return record;
}

std::vector<PatternRecord> PatternLibrary::ReadPatternRecords(std::int32_t first,
                                                              std::int32_t count) const {
    std::vector<PatternRecord> records;
    if (first < 1 || count < 1) return records;
    count = static_cast<std::int32_t>(
        std::min<std::int64_t>(count, std::int64_t{INT32_MAX} - first + 1));
    std::vector<char> bytes(static_cast<std::size_t>(count) * kPatternRecordSize);
    std::size_t read = 0;
    if (const auto file = RecordFile::Open(File, RecordFile::Access::Read)) {
        read = file->ReadAt(RecordOffset(first), bytes.data(), bytes.size()).value_or(0);
    }
    records.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        PatternRecordBytes record = BlankRecordBytes();
        const std::size_t start = static_cast<std::size_t>(i) * kPatternRecordSize;
        if (read > start)
            std::copy_n(bytes.data() + start, std::min(read - start, record.size()), record.data());
        records.push_back(FromBytes(record));
    }
    synced_ = first + (count - 1);
    syncedRecord_ = records.back();
    return records;
}

bool PatternLibrary::WritePatternRecord(std::int32_t k, const PatternRecord& record) const {
    if (k < 1) return false;
    auto file = RecordFile::Open(File, RecordFile::Access::Write);
    if (!file || !file->WriteWhole(RecordOffset(k), View(ToBytes(record)))) return false;
    synced_ = k;
    syncedRecord_ = record;
    return true;
}

std::int32_t PatternLibrary::FindPattern(std::string_view code) const {
    const auto file = RecordFile::Open(File, RecordFile::Access::Read);
    if (!file) return 0;
    char stored[22];
    for (std::int32_t k = PatternCount; k >= 1; --k) {
        if (file->ReadAt(RecordOffset(k), stored, sizeof stored) != sizeof stored) continue;
        if (std::string_view(stored, sizeof stored) == code) return k;
    }
    return 0;
}

std::int32_t PatternLibrary::AppendPattern(PatternRecord& record) {
    auto file = RecordFile::Open(File, RecordFile::Access::Write);
    if (!file) {
        ++PatternCount;
        return 0;
    }
    // The number from the file as it is now, under the lock: another program
    // may have appended since this library was counted, and may have
    // registered this very pattern; then its record is the one to use.
    const std::int64_t records = RoundedRecordCount(file->Length(), kPatternRecordSize);
    for (std::int64_t k = std::min<std::int64_t>(records, INT32_MAX); k > PatternCount; --k) {
        PatternRecordBytes bytes = BlankRecordBytes();
        if (file->ReadAt(RecordOffset(static_cast<std::int32_t>(k)), bytes.data(), bytes.size()) !=
            bytes.size()) {
            continue;
        }
        const PatternRecord found = FromBytes(bytes);
        if (found.PatternCode != record.PatternCode) continue;
        PatternCount = static_cast<std::int32_t>(std::min<std::int64_t>(records, INT32_MAX));
        record = found;
        synced_ = static_cast<std::int32_t>(k);
        syncedRecord_ = found;
        return synced_;
    }
    const std::int64_t k = records + 1;
    if (k > INT32_MAX ||
        !file->WriteWhole(RecordOffset(static_cast<std::int32_t>(k)), View(ToBytes(record)))) {
        ++PatternCount;
        return 0;
    }
    PatternCount = static_cast<std::int32_t>(k);
    synced_ = PatternCount;
    syncedRecord_ = record;
    return PatternCount;
}

bool PatternLibrary::MergePatternRecord(std::int32_t k, PatternRecord& record) {
    if (k < 1) return false;
    auto file = RecordFile::Open(File, RecordFile::Access::Write);
    if (!file) return false;
    PatternRecordBytes bytes = BlankRecordBytes();
    const bool whole = file->ReadAt(RecordOffset(k), bytes.data(), bytes.size()) == bytes.size();
    const PatternRecord now = FromBytes(bytes);
    // Another program's record at a number this library never held (its own
    // append failed, and the other program's took the place) is left alone.
    if (whole && now.PatternCode != record.PatternCode && synced_ != k) return false;
    PatternRecord merged = record;
    if (whole && synced_ == k && now.PatternCode == record.PatternCode &&
        syncedRecord_.PatternCode == record.PatternCode) {
        using Counters = std::array<std::int32_t, 6> PatternRecord::*;
        for (const Counters family :
             {&PatternRecord::NotExpanded, &PatternRecord::Expanded, &PatternRecord::Minimal}) {
            for (int c = 0; c < 6; ++c) {
                (merged.*family)[c] = Add(
                    (now.*family)[c], Subtract((record.*family)[c], (syncedRecord_.*family)[c]));
            }
        }
        merged.Reserved = now.Reserved;
    }
    if (!file->WriteWhole(RecordOffset(k), View(ToBytes(merged)))) return false;
    record = merged;
    synced_ = k;
    syncedRecord_ = merged;
    return true;
}

}  // namespace cluemill
