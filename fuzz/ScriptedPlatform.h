// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/Platform.h"

namespace cluemill::fuzz {

// A silent outside world whose file dialog names one file and whose event
// loop runs a script (the user's answers and keys).
class ScriptedPlatform final : public Platform {
  public:
    std::string Folder;
    std::optional<std::string> FileToOpen;
    std::function<void()> OnEvents;
    int Messages = 0;

    void DoEvents() override {
        if (OnEvents) OnEvents();
    }
    void MessageBox(const std::string&, const std::string&) override { ++Messages; }
    void Refresh(const Control&) override {}
    std::optional<std::string> OpenFile(const std::string&) override { return FileToOpen; }
    double Random() override { return 0.5; }
    void Randomize() override {}
    char DecimalSeparator() const override { return '.'; }
    int ScreenWidth() const override { return 1920 * 15; }
    int ScreenHeight() const override { return 1080 * 15; }
    std::string ProgramFolder() const override { return Folder; }
    void EndProgram() override {}
};

}  // namespace cluemill::fuzz
