// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generator/Generator.h"

namespace cluemill {

// What a sample run of a pattern saw, base by base: a base of the run ends
// with an accepted puzzle, after RenewAfter rejected candidates, or when the
// sample stops. Nothing is written while sampling.
struct ForecastSample {
    struct Base {
        double Seconds = 0;
        std::int64_t Candidates = 0;
        std::array<std::int32_t, 6> Accepted{};  // per class, index class - 1
    };
    std::vector<Base> Bases;
    // Candidates a second of all jobs together in each whole time slice of
    // the sample. With fewer jobs than cores the jobs move to the next core
    // with every slice, so that each core the run may land on is timed.
    std::vector<double> SliceSpeeds;
    int Jobs = 1;
    // Wall-clock seconds the sample took.
    double Seconds = 0;
};

// When a sample stops: after so many seconds, or (a sample that must come
// out the same every time, under a seed) after so many candidates per job.
struct SampleLimit {
    std::optional<double> Seconds;
    std::optional<std::int64_t> Candidates;
};

// Runs the generator's enumeration and acceptance on settings.Clues in
// `jobs` runs side by side (each with its own random stream: JobSeed of
// seed, or the clock) until the limit, writing nothing. cancel, when given,
// is polled from time to time and stops the sample early; progress (0 to 1
// of the time limit) is told on the calling thread.
ForecastSample SamplePattern(const RunSettings& settings, int jobs,
                             std::optional<std::uint64_t> seed, const SampleLimit& limit,
                             const std::function<bool(double progress)>& poll = {});

// An estimate with its 95% interval.
struct Estimate {
    double Value = 0;
    double Low = 0;
    double High = 0;
};

// What a pattern will give: candidates a second, and per class the share of
// candidates accepted (Wilson interval), the accepted puzzles an hour, and
// the expected wait for the first one (nothing when none was seen: then
// FirstAtLeast gives the shortest wait the sample allows).
struct Forecast {
    double CandidatesPerSecond = 0;
    std::array<Estimate, 6> Share{};
    std::array<Estimate, 6> PerHour{};
    std::array<std::optional<double>, 6> FirstSeconds{};
    std::array<double, 6> FirstAtLeast{};
    Estimate TotalPerHour;
};

// The figures of a sample. Accepted puzzles an hour are the share of
// candidates accepted times the candidates an hour. The share follows the
// sample's bases as cycles of a renewal process (accepted puzzles over the
// candidates the bases tried, with the spread between bases in the
// interval), never narrower than the Poisson interval of the count; with
// none accepted the estimate is 0 and the upper bound the rule of three.
// The machine's own swings in speed widen each interval of puzzles an
// hour: its low end by the slowest slice against the average one, its high
// end by the fastest.
Forecast EstimateForecast(const ForecastSample& sample);

// The forecast as a setter reads it: the clue count and the symmetry, the
// sample, a line per class (share of candidates, puzzles an hour, the wait
// for the first), and last "accepted-per-hour EST LOW HIGH".
std::string ForecastReport(const Pattern& clues, const ForecastSample& sample);

}  // namespace cluemill
