// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "solver/Solver.h"

namespace cluemill {

// Reads a puzzle line: character k (k = 1 to 81) is cell k - 1; "1" to "9" is
// a given, every other character an empty cell (0). Characters after the 81st
// are ignored; cells past the end of a shorter text are empty.
CellValues ReadPuzzleText(std::string_view text);

// The puzzle text of a pasted text. A grid laid out on several lines, with or
// without separators ("|", "-", "+", blanks), keeps only its cells, in order:
// the digits 1 to 9, "." and "0". A single line is returned as it is, without
// the line ends that follow it.
std::string PuzzleTextFromGrid(std::string_view text);

// The 81-character form of a grid, with emptyChar for a 0 cell.
std::string WritePuzzleText(const CellValues& cells, char emptyChar);
// The same, appended to text.
void AppendPuzzleText(std::string& text, const CellValues& cells, char emptyChar);

// True if two givens share a digit in a row, column or box.
bool GivensConflict(const CellValues& puzzle);

// Number of cells holding 0.
int CountEmptyCells(const CellValues& puzzle);

}  // namespace cluemill
