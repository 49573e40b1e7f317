// SPDX-License-Identifier: MIT
// What the generator's tests share: running cluemill-cli in-process, a
// temporary program folder, three patterns and a scripted observer.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/TempFolder.h"
#include "cli/Cli.h"
#include "cli/CliRunner.h"
#include "generator/Generator.h"

namespace cluemill::testing {

// The patterns of about 22, 26 and 30 clues the generator tests run on.
inline const std::array<const char*, 3> kPatternCodes = {
    "01C1880314800251802307", "00285041AC2C686B041428", "00F32B218102810309A99E"};

// A run observed by a script: the polls counted (a run going on far longer
// than any test needs is halted), the puzzles and stages kept.
struct ScriptedRun final : RunObserver {
    std::function<bool(int)> OnPoll;  // true halts; the poll's number from 1
    std::function<Pattern(std::int32_t)> Patterns;
    int Polls = 0;
    std::vector<AcceptedPuzzle> Puzzles;
    std::vector<RunStage> Stages;

    bool Poll() override { return ++Polls > 3'000'000 || (OnPoll && OnPoll(Polls)); }
    void Accepted(const AcceptedPuzzle& puzzle) override { Puzzles.push_back(puzzle); }
    void Working(RunStage stage) override { Stages.push_back(stage); }
    Pattern PatternOf(std::int32_t record) override { return Patterns(record); }
};

}  // namespace cluemill::testing
