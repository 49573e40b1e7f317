// SPDX-License-Identifier: MIT
// What the generator's tests share: running cluemill-cli in-process, a
// temporary program folder, and puzzles as text and as reference grids.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/TempFolder.h"
#include "cli/Cli.h"
#include "cli/CliRunner.h"

namespace cluemill::testing {

inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

using ReferenceGrid = std::array<std::int16_t, 81>;

// '1' to '9' a given, anything else empty.
inline ReferenceGrid ToGrid(const std::string& text) {
    ReferenceGrid grid{};
    for (std::size_t i = 0; i < 81 && i < text.size(); ++i) {
        grid[i] = text[i] >= '1' && text[i] <= '9' ? static_cast<std::int16_t>(text[i] - '0') : 0;
    }
    return grid;
}

// '.' for an empty cell.
inline std::string ToText(const ReferenceGrid& grid) {
    std::string text(81, '.');
    for (int i = 0; i < 81; ++i) {
        if (grid[i] >= 1) text[i] = static_cast<char>('0' + grid[i]);
    }
    return text;
}

// The patterns of about 22, 26 and 30 clues the generator tests run on.
inline const std::array<const char*, 3> kPatternCodes = {
    "01C1880314800251802307", "00285041AC2C686B041428", "00F32B218102810309A99E"};

}  // namespace cluemill::testing
