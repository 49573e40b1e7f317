// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unordered_set>

#include "patterns/PatternLibrary.h"

namespace cluemill {

// A record of the native puzzle file: the 81 cells (0 = empty), then data the
// import does not read.
inline constexpr std::int64_t kSdsRecordSize = 166;

// The first rule an imported pattern breaks, in the order they are tested.
enum class ImportRefusal {
    None,
    TooFewClues,   // fewer than 20 clues
    Centre,        // the centre cell is not a clue exactly when the count is odd
    NotSymmetric,  // a half turn does not map the pattern onto itself
    OneLine,       // a band or stack with its clues in fewer than two lines
    EmptyBoxes,    // more than four boxes without a clue
};

// Whether a pattern may be taken into the library by the import.
ImportRefusal CheckImportable(const Pattern& clues);

// The clue cells of a record's first 81 bytes: a non-zero byte is a clue.
Pattern RecordPattern(const unsigned char* cells);

// The codes of every record of the library, read in one pass.
std::unordered_set<std::string> LibraryCodes(const PatternLibrary& library);

// A native puzzle file read record by record; it stays open until the
// object goes.
class SdsFile {
  public:
    // Measures and opens the file; false when either fails (a folder, a file
    // that cannot be read).
    bool Open(const std::filesystem::path& file);
    // The number of whole records; bytes after the last one are not read.
    std::int64_t Count() const { return count_; }
    // The clue cells of record r (from 1); nothing when it cannot be read.
    std::optional<Pattern> Read(std::int64_t r);

  private:
    std::ifstream file_;
    std::int64_t count_ = 0;
    // The record the stream stands before; 0 = unknown.
    std::int64_t next_ = 0;
};

}  // namespace cluemill
