// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace cluemill {

// One puzzle to print: its givens (0 = empty cell), its solution, the number
// printed beside it, and a label printed opposite (its class, or empty).
struct SheetPuzzle {
    CellValues Givens{};
    CellValues Solution{};
    int Number = 0;
    std::string Label;
};

// Solves a puzzle for a sheet and, when it can be printed, appends it to
// puzzles numbered after the others, with its class as the label when
// `grade`. Returns why it cannot be printed (its givens conflict, or it has
// no unique solution), or nullptr. Both faces print through this.
inline const char* AddSheetPuzzle(Solver& solver, const CellValues& givens, bool grade,
                                  std::vector<SheetPuzzle>& puzzles) {
    solver.Puzzle = givens;
    if (GivensConflict(solver.Puzzle)) return "two givens share a digit in a row, column or box";
    if (!solver.UniqueSud(SearchSwitches{})) return "the puzzle has no unique solution";
    SheetPuzzle& puzzle = puzzles.emplace_back();
    puzzle.Givens = solver.Puzzle;
    puzzle.Solution = solver.Solution;
    puzzle.Number = static_cast<int>(puzzles.size());
    if (grade) puzzle.Label = kClassNames[std::clamp(solver.Difficulty, 1, 6) - 1];
    return nullptr;
}

// How a sheet is laid out.
struct SheetOptions {
    enum class Paper { A4, Letter };
    // Puzzles on a page: 1, 2, 4 or 6.
    int PerPage = 4;
    // The solutions follow on pages of their own, nine to a page.
    bool Solutions = false;
    // Printed at the top of every page when not empty.
    std::string Title;
    Paper Page = Paper::A4;
};

enum class SheetFormat { Pdf, Svg, Png };

// The format the extension of path asks for (.pdf, .svg or .png, in any
// case); none for any other.
inline std::optional<SheetFormat> SheetFormatOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".pdf") return SheetFormat::Pdf;
    if (extension == ".svg") return SheetFormat::Svg;
    if (extension == ".png") return SheetFormat::Png;
    return std::nullopt;
}

// What the command line hands the renderer it loads: the puzzles and the
// layout, and the file to write in its format; the renderer fills in the
// files it wrote and, when one could not be written, its name.
struct SheetJob {
    std::vector<SheetPuzzle> Puzzles;
    SheetOptions Options;
    std::string Output;
    SheetFormat Format = SheetFormat::Pdf;
    std::vector<std::string> Written;
    std::string Failed;
};

// The renderer's entry point, by the name kSheetEntry, in the module
// cluemill-sheet.so: paints and writes the job, with a QGuiApplication of
// its own (off screen) when the process has none.
using SheetEntry = void (*)(SheetJob* job);
inline constexpr const char* kSheetEntry = "CluemillWriteSheet";

}  // namespace cluemill
