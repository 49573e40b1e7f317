// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "solver/Solver.h"

namespace cluemill {

// The puzzles of a puzzle file, for a sheet, in the file's order. A ".sds"
// file (any case) holds 166-byte records whose first 81 bytes are the givens
// as byte values (1 to 9, any other value an empty cell). Any other file is
// read by lines: a line of 81 characters or more is a puzzle text, empty
// lines and lines beginning with '#' are skipped; a file without such a line
// is read as one grid laid out on lines (PuzzleTextFromGrid), as the
// one-puzzle formats write it. Nothing when the file cannot be read.
std::optional<std::vector<CellValues>> ReadSheetFile(const std::filesystem::path& file);

}  // namespace cluemill
