// SPDX-License-Identifier: MIT
// Patterns and records for tests of the library and the pattern import.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "patterns/PatternLibrary.h"

namespace cluemill::testing {

// Patterns drawn as nine rows, X for a clue. kSuitable20 has 20 clues, is
// symmetric with the centre empty, has every band and stack on three lines
// and only the centre box empty; the others are suitable too, each different.
inline std::string Rows(const std::vector<std::string>& rows) {
    std::string line;
    for (const auto& row : rows) line += row;
    return line;
}
inline const std::string kSuitable20 =
    Rows({"X...X...X", ".X.....X.", "...X.X...", "X.......X", "..X...X..", "X.......X", "...X.X...",
          ".X.....X.", "X...X...X"});
inline const std::string kSuitable21 =
    Rows({"X...X...X", ".X.....X.", "...X.X...", "X.......X", "..X.X.X..", "X.......X", "...X.X...",
          ".X.....X.", "X...X...X"});
inline const std::string kSuitable22 =
    Rows({"X...X...X", ".X.....X.", "...X.X...", "X.......X", ".XX...XX.", "X.......X", "...X.X...",
          ".X.....X.", "X...X...X"});
inline const std::string kSuitable26 =
    Rows({"XX..X..XX", ".X.....X.", "...X.X...", "X.......X", ".XX...XX.", "X.......X", "...X.X...",
          ".X.....X.", "XX..X..XX"});

inline Pattern PatternOf(const std::string& line) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = line[cell] == 'X';
    return clues;
}

// Records of the native puzzle file whose givens are the patterns' clues
// (each given the digit 1 + cell % 9), the rest of each record filler.
inline std::string SdsFileOf(const std::vector<std::string>& patterns) {
    std::string bytes;
    for (const auto& pattern : patterns) {
        std::string record(166, '\x07');
        for (int cell = 0; cell < 81; ++cell)
            record[cell] = pattern[cell] == 'X' ? static_cast<char>(1 + cell % 9) : 0;
        bytes += record;
    }
    return bytes;
}

// A record of code with every count 0.
inline PatternRecord RecordOf(const std::string& code) {
    PatternRecord record;
    record.PatternCode = code;
    return record;
}

// Registers a pattern with zero counts; its record number, 0 on failure.
inline std::int32_t Append(PatternLibrary& library, const std::string& code) {
    PatternRecord record = RecordOf(code);
    return library.AppendPattern(record);
}

}  // namespace cluemill::testing
