// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "patterns/PatternLibrary.h"

namespace cluemill::testing {

// Patterns drawn as nine rows, X for a clue, each named for the rule of the
// import it meets or breaks first.
inline std::string Rows(const std::vector<std::string>& rows) {
    std::string line;
    for (const auto& row : rows) line += row;
    return line;
}

// 20 clues, symmetric, centre empty, every band and stack on three lines,
// only the centre box empty.
inline const std::string kSuitable20 =
    Rows({"X...X...X", ".X.....X.", "...X.X...", "X.......X", "..X...X..", "X.......X", "...X.X...",
          ".X.....X.", "X...X...X"});
// Other suitable patterns, each different.
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

// A record of the native puzzle file whose givens are the pattern's clues
// (each given the digit 1 + cell % 9), the rest of the record filler.
inline std::string SdsRecord(const std::string& pattern) {
    std::string record(166, '\x07');
    for (int cell = 0; cell < 81; ++cell)
        record[cell] = pattern[cell] == 'X' ? static_cast<char>(1 + cell % 9) : 0;
    return record;
}

inline std::string SdsFileOf(const std::vector<std::string>& patterns) {
    std::string bytes;
    for (const auto& pattern : patterns) bytes += SdsRecord(pattern);
    return bytes;
}

}  // namespace cluemill::testing
