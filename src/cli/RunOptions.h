// SPDX-License-Identifier: MIT
#pragma once

#include <array>

#include "cli/Options.h"
#include "generator/Generator.h"

namespace cluemill {

// The generator's options of grade and generate, as the window names them.
inline constexpr Option kMinimalOption = {"--minimal", nullptr,
                                          "\"Check Minimal\": accept only minimal puzzles"};
inline constexpr Option kLimitOption = {
    "--limit", nullptr, "\"Limited to Very Hard\": accept only puzzles logic solves"};
inline constexpr Option kExpandOption = {
    "--expand", "N", "add up to N givens (0 to 3) to make a candidate unique", 0, 3};

// The acceptance's choices from --minimal, --limit and --expand.
inline RunSettings AcceptanceSettings(const Arguments& arguments) {
    RunSettings settings;
    settings.Minimal = arguments.Has("--minimal");
    settings.Limit = arguments.Has("--limit");
    settings.ExpandLevel = static_cast<int>(arguments.Number("--expand", 0));
    return settings;
}

// The counter's name as the command line prints it.
inline const char* CounterName(PatternCounter counter) {
    static constexpr std::array<const char*, 3> kNames = {"NotExpanded", "Minimal", "Expanded"};
    return kNames[static_cast<std::size_t>(counter)];
}

}  // namespace cluemill
