// SPDX-License-Identifier: MIT
#include "sheets/SheetSource.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

constexpr std::size_t kSdsRecord = 166;

bool IsSds(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".sds";
}

std::vector<CellValues> SdsPuzzles(const std::string& bytes) {
    std::vector<CellValues> puzzles;
    for (std::size_t at = 0; at + kSdsRecord <= bytes.size(); at += kSdsRecord) {
        CellValues& givens = puzzles.emplace_back();
        for (int cell = 0; cell < kCells; ++cell) {
            const auto value = static_cast<unsigned char>(bytes[at + cell]);
            givens[cell] = static_cast<std::int8_t>(value <= 9 ? value : 0);
        }
    }
    return puzzles;
}

std::vector<CellValues> LinePuzzles(const std::string& text) {
    std::vector<CellValues> puzzles;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#' || line.size() < kCells) continue;
        puzzles.push_back(ReadPuzzleText(line));
    }
    if (puzzles.empty()) {
        const std::string grid = PuzzleTextFromGrid(text);
        if (grid.size() >= kCells) puzzles.push_back(ReadPuzzleText(grid));
    }
    return puzzles;
}

}  // namespace

std::optional<std::vector<CellValues>> ReadSheetFile(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return IsSds(file) ? SdsPuzzles(bytes) : LinePuzzles(bytes);
}

}  // namespace cluemill
