// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

namespace cluemill {

// Where the generator's random numbers come from: uniform numbers in [0, 1)
// and reseeding from the clock, as the run and the expansion use them.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double Random() = 0;
    virtual void Randomize() = 0;
};

// A random stream for runs without a window. Unseeded, every reseed takes the
// clock; seeded, every reseed draws its seed from a stream the seed starts,
// so that the same seed gives the same numbers every time.
class StreamRandom final : public RandomSource {
  public:
    explicit StreamRandom(std::optional<std::uint64_t> seed = std::nullopt)
        : seeds_(seed.value_or(0)), seeded_(seed.has_value()) {
        Randomize();
    }

    double Random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    void Randomize() override {
        const auto clock =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        random_.seed(seeded_ ? seeds_() : clock ^ std::random_device{}());
    }

  private:
    std::mt19937_64 seeds_;
    bool seeded_;
    std::mt19937_64 random_;
};

}  // namespace cluemill
