// SPDX-License-Identifier: MIT
#include "tester/PuzzleText.h"

namespace cluemill {

CellValues ReadPuzzleText(std::string_view text) {
    CellValues cells{};
    const std::size_t n = text.size() < kCells ? text.size() : kCells;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        // A comparison of character codes: only "1" to "9" are digits.
        if (c >= '1' && c <= '9') cells[i] = static_cast<std::int8_t>(c - '0');
    }
    return cells;
}

std::string PuzzleTextFromGrid(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    if (text.find_first_of("\r\n") == std::string_view::npos) return std::string(text);
    std::string cells;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') cells += c;
    }
    return cells;
}

std::string WritePuzzleText(const CellValues& cells, char emptyChar) {
    std::string text;
    AppendPuzzleText(text, cells, emptyChar);
    return text;
}

void AppendPuzzleText(std::string& text, const CellValues& cells, char emptyChar) {
    // One resize and plain stores: the rate and grade commands write three
    // grids a line.
    const std::size_t at = text.size();
    text.resize(at + kCells);
    char* out = text.data() + at;
    for (int i = 0; i < kCells; ++i)
        out[i] = cells[i] > 0 ? static_cast<char>('0' + cells[i]) : emptyChar;
}

bool GivensConflict(const CellValues& puzzle) {
    // The tester reads givens in cell order and stops at the first digit that
    // an earlier given already took from the cell's row, column or box.
    std::array<CandidateMask, kUnits> used{};
    for (int cell = 0; cell < kCells; ++cell) {
        const int v = puzzle[cell];
        if (v < 1) continue;
        const CandidateMask bit = DigitBit(v);
        CandidateMask& row = used[kCellUnits[cell][0]];
        CandidateMask& column = used[kCellUnits[cell][1]];
        CandidateMask& box = used[kCellUnits[cell][2]];
        if ((row | column | box) & bit) return true;
        row |= bit;
        column |= bit;
        box |= bit;
    }
    return false;
}

int CountEmptyCells(const CellValues& puzzle) {
    int n = 0;
    for (const auto v : puzzle) n += v < 1 ? 1 : 0;
    return n;
}

}  // namespace cluemill
