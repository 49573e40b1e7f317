// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"

namespace cluemill::testing {

// A scripted outside world: message boxes are recorded, and a script can act
// on a given call of DoEvents ("on the 3rd DoEvents, click this").
class FakePlatform : public Platform {
  public:
    struct Message {
        std::string Text;
        std::string Caption;
    };

    std::vector<Message> Messages;
    int DoEventsCalls = 0;
    int Refreshes = 0;
    bool Ended = false;
    char Separator = '.';
    // Called with the number of the DoEvents call (from 1).
    std::function<void(int)> OnDoEvents;
    std::vector<std::optional<std::string>> FilesToOpen;
    // The random numbers: 0.5 every time unless a source is given (a seeded
    // stream, or a script of values); Randomizes counts the reseeds.
    std::function<double()> RandomSource;
    int Randomizes = 0;

    void DoEvents() override {
        ++DoEventsCalls;
        if (OnDoEvents) OnDoEvents(DoEventsCalls);
    }
    void MessageBox(const std::string& text, const std::string& caption) override {
        Messages.push_back({text, caption});
    }
    void Refresh(const Control&) override { ++Refreshes; }
    std::optional<std::string> OpenFile(const std::string&) override {
        if (FilesToOpen.empty()) return std::nullopt;
        auto file = FilesToOpen.front();
        FilesToOpen.erase(FilesToOpen.begin());
        return file;
    }
    double Random() override { return RandomSource ? RandomSource() : 0.5; }
    void Randomize() override { ++Randomizes; }
    char DecimalSeparator() const override { return Separator; }
    int ScreenWidth() const override { return 1920 * 15; }
    int ScreenHeight() const override { return 1080 * 15; }
    void EndProgram() override { Ended = true; }
    std::string ProgramFolder() const override { return Folder; }

    std::string Folder = ".";
};

}  // namespace cluemill::testing
