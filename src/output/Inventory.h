// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "output/PuzzleFormats.h"

namespace cluemill {

// The status bar's label of each class, in class order.
inline constexpr std::array<const char*, 6> kPanelLabels = {
    "Very Easy: ", "Easy: ", "Medium: ", "Hard: ", "Very Hard: ", "Others: "};

// True when name (UTF-8) matches pattern (ASCII): "?" stands for exactly one
// character, any other character for itself in either letter case, and the
// whole name must match.
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

// How many puzzles of each class (index class - 1) the output of a format in
// appFolder holds: per-class files by their length (rounded, a half to the
// even neighbour), per-puzzle formats by the files named word "_????" ext.
// Missing or unreadable files and folders count 0.
std::array<std::int32_t, 6> CountStored(const std::filesystem::path& appFolder,
                                        OutputFormat format);

}  // namespace cluemill
