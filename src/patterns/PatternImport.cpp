// SPDX-License-Identifier: MIT
// What the pattern import reads and decides: the records of a native puzzle
// file, the rules an imported pattern must keep, and the library's codes.
#include "patterns/PatternImport.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "patterns/RecordFile.h"

namespace cluemill {

ImportRefusal CheckImportable(const Pattern& clues) {
    int count = 0;
    for (const bool clue : clues) count += clue ? 1 : 0;
    if (count < 20) return ImportRefusal::TooFewClues;
    if (clues[40] != (count % 2 == 1)) return ImportRefusal::Centre;
    for (int cell = 0; cell < 40; ++cell) {
        if (clues[cell] != clues[80 - cell]) return ImportRefusal::NotSymmetric;
    }
    for (int b = 0; b < 3; ++b) {
        int rows = 0;
        int columns = 0;
        for (int line = 3 * b; line < 3 * b + 3; ++line) {
            bool inRow = false;
            bool inColumn = false;
            for (int i = 0; i < 9; ++i) {
                inRow = inRow || clues[9 * line + i];
                inColumn = inColumn || clues[9 * i + line];
            }
            rows += inRow ? 1 : 0;
            columns += inColumn ? 1 : 0;
        }
        if (rows < 2 || columns < 2) return ImportRefusal::OneLine;
    }
    int emptyBoxes = 0;
    for (int box = 0; box < 9; ++box) {
        bool any = false;
        for (int i = 0; i < 9; ++i)
            any = any || clues[(box / 3 * 3 + i / 3) * 9 + box % 3 * 3 + i % 3];
        emptyBoxes += any ? 0 : 1;
    }
    return emptyBoxes > 4 ? ImportRefusal::EmptyBoxes : ImportRefusal::None;
}

Pattern RecordPattern(const unsigned char* cells) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = cells[cell] != 0;
    return clues;
}

std::unordered_set<std::string> LibraryCodes(const PatternLibrary& library) {
    std::unordered_set<std::string> codes;
    // Not a stream: a pipe in the library's place is refused, not waited for.
    const auto file = RecordFile::Open(library.File, RecordFile::Access::Read);
    if (!file) return codes;
    std::vector<unsigned char> chunk(kPatternRecordSize * 1024);
    for (std::int64_t first = 1; first <= library.PatternCount; first += 1024) {
        const std::size_t read =
            file->ReadAt(static_cast<std::uint64_t>(first - 1) * kPatternRecordSize, chunk.data(),
                         chunk.size())
                .value_or(0);
        const std::int64_t records = std::min<std::int64_t>(library.PatternCount - first + 1, 1024);
        for (std::int64_t k = 0; k < records; ++k) {
            // A last record the file holds only in part still has its code.
            const std::size_t at = static_cast<std::size_t>(k) * kPatternRecordSize;
            if (at + 22 > read) return codes;
            codes.emplace(reinterpret_cast<const char*>(chunk.data() + at), 22);
        }
        if (read < chunk.size()) break;
    }
    return codes;
}

bool SdsFile::Open(const std::filesystem::path& file) {
    std::error_code error;
    const auto length = std::filesystem::file_size(file, error);
    if (error) return false;
    count_ = static_cast<std::int64_t>(length / kSdsRecordSize);
    file_.open(file, std::ios::binary);
    next_ = 1;
    return file_.is_open();
}

std::optional<Pattern> SdsFile::Read(std::int64_t r) {
    // Records are mostly read in order: then the stream's own buffer serves
    // them without a seek.
    std::array<unsigned char, kSdsRecordSize> record{};
    if (r < 1) return std::nullopt;
    if (r != next_) {
        file_.clear();
        if (!file_.seekg((r - 1) * kSdsRecordSize)) return std::nullopt;
    }
    next_ = 0;
    if (!file_.read(reinterpret_cast<char*>(record.data()), record.size())) return std::nullopt;
    next_ = r + 1;
    return RecordPattern(record.data());
}

}  // namespace cluemill
