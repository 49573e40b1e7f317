// SPDX-License-Identifier: MIT
#include "patterns/PatternLibrary.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

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
        std::ifstream file(File, std::ios::binary);
        if (file.seekg(static_cast<std::streamoff>(k - 1) * static_cast<std::streamoff>(kPatternRecordSize))) {
            file.read(reinterpret_cast<char*>(bytes.data()), kPatternRecordSize);
        }
    }
    return FromBytes(bytes);
}

bool PatternLibrary::WritePatternRecord(std::int32_t k, const PatternRecord& record) const {
    if (k < 1) return false;
    std::error_code error;
    if (!std::filesystem::exists(File, error)) std::ofstream(File, std::ios::binary);
    std::fstream file(File, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) return false;
    const PatternRecordBytes bytes = ToBytes(record);
    file.seekp(static_cast<std::streamoff>(k - 1) * static_cast<std::streamoff>(kPatternRecordSize));
    file.write(reinterpret_cast<const char*>(bytes.data()), kPatternRecordSize);
    file.flush();
    return static_cast<bool>(file);
}

std::int32_t PatternLibrary::FindPattern(std::string_view code) const {
    std::ifstream file(File, std::ios::binary);
    if (!file) return 0;
    PatternRecordBytes bytes{};
    for (std::int32_t k = PatternCount; k >= 1; --k) {
        file.clear();
        file.seekg(static_cast<std::streamoff>(k - 1) * static_cast<std::streamoff>(kPatternRecordSize));
        if (!file.read(reinterpret_cast<char*>(bytes.data()), 22)) continue;
        if (std::string_view(reinterpret_cast<const char*>(bytes.data()), 22) == code) return k;
    }
    return 0;
}

bool PatternLibrary::AppendPattern(const PatternRecord& record) {
    ++PatternCount;
    return WritePatternRecord(PatternCount, record);
}

}  // namespace cluemill
