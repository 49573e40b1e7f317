// SPDX-License-Identifier: MIT
// What the generator's tests share: running cluemill-cli in-process, a
// temporary program folder, and puzzles as text and as reference grids.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/TempFolder.h"
#include "cli/Cli.h"
#include "cli/CliRunner.h"
#include "generator/Generator.h"

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

// A run observed by a script: the polls counted (a run going on far longer
// than any test needs is halted), the puzzles, rejections and stages kept.
struct ScriptedRun final : RunObserver {
    std::function<bool(int)> OnPoll;  // true halts; the poll's number from 1
    std::function<void(const AcceptedPuzzle&)> OnAccepted;
    std::function<Pattern(std::int32_t)> Patterns;
    int Polls = 0;
    std::vector<AcceptedPuzzle> Puzzles;
    std::vector<std::int32_t> Rejections;
    std::vector<RunStage> Stages;

    bool Poll() override { return ++Polls > 3'000'000 || (OnPoll && OnPoll(Polls)); }
    void Accepted(const AcceptedPuzzle& puzzle) override {
        Puzzles.push_back(puzzle);
        if (OnAccepted) OnAccepted(puzzle);
    }
    void Rejected(std::int32_t invalidCount) override { Rejections.push_back(invalidCount); }
    void Working(RunStage stage) override { Stages.push_back(stage); }
    Pattern PatternOf(std::int32_t record) override { return Patterns(record); }
};

}  // namespace cluemill::testing
