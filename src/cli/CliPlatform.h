// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "app/Platform.h"

namespace cluemill {

// The engine's outside world on the command line: message boxes are kept for
// the caller to read, DoEvents runs a hook of the caller's, and the random
// numbers come from a stream that a seed makes repeatable (every reseed then
// draws its seed from that stream instead of the clock).
class CliPlatform final : public Platform {
  public:
    explicit CliPlatform(std::string folder = ".", std::optional<std::uint64_t> seed = std::nullopt)
        : folder_(std::move(folder)), seeds_(seed.value_or(0)), seeded_(seed.has_value()) {
        Randomize();
    }

    std::string LastMessage;
    std::function<void()> OnDoEvents;

    void DoEvents() override {
        if (OnDoEvents) OnDoEvents();
    }
    void MessageBox(const std::string& text, const std::string&) override { LastMessage = text; }
    void Refresh(const Control&) override {}
    std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
    double Random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    void Randomize() override {
        const auto clock =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        random_.seed(seeded_ ? seeds_() : clock ^ std::random_device{}());
    }
    char DecimalSeparator() const override { return '.'; }
    int ScreenWidth() const override { return 0; }
    int ScreenHeight() const override { return 0; }
    void EndProgram() override {}
    std::string ProgramFolder() const override { return folder_; }

  private:
    std::string folder_;
    std::mt19937_64 seeds_;
    bool seeded_;
    std::mt19937_64 random_;
};

}  // namespace cluemill
