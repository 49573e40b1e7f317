// SPDX-License-Identifier: MIT
#include "generator/Forecast.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

#include "generator/ParallelRun.h"
#include "patterns/Symmetry.h"

namespace cluemill {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kZ = 1.959964;  // two-sided 95%

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The cores this process may run on, in order; empty where they cannot be
// told or chosen.
std::vector<int> AllowedCores() {
    std::vector<int> cores;
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        for (int core = 0; core < CPU_SETSIZE; ++core) {
            if (CPU_ISSET(core, &set)) cores.push_back(core);
        }
    }
#endif
    return cores;
}

// Moves the calling thread to one core; where that cannot be done, it
// stays where the system put it.
void MoveToCore([[maybe_unused]] int core) {
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(core, &set);
    pthread_setaffinity_np(pthread_self(), sizeof set, &set);
#endif
}

// What the jobs of a sample share: the stop, and the time slice the sample
// is in, with the cores the jobs take turns on (none when every core is
// busy anyway).
struct SampleClock {
    std::atomic<bool> Stop{false};
    std::atomic<int> Slice{0};
    std::vector<int> Cores;
};

// One job of a sample: its generator's run, cut into bases. A base ends
// with an accepted puzzle (the run renews then) or with the rejection that
// makes RenewAfter (likewise).
class SampleJob final : public RunObserver {
  public:
    SampleJob(std::optional<std::uint64_t> seed, const RunSettings& settings,
              const SampleLimit& limit, const SampleClock& clock, int index)
        : random_(seed),
          generator_(random_),
          settings_(settings),
          limit_(limit),
          clock_(clock),
          index_(index) {}

    void Run() {
        start_ = Clock::now();
        generator_.Run(settings_, *this);
        CloseBase();  // the time of the last, unfinished base counts too
    }
    bool Poll() override {
        if (limit_.Candidates && generator_.CandidatesTried >= *limit_.Candidates) return true;
        const int slice = clock_.Slice.load(std::memory_order_relaxed);
        if (slice != slice_ && !clock_.Cores.empty()) {
            slice_ = slice;
            MoveToCore(
                clock_.Cores[static_cast<std::size_t>(index_ + slice) % clock_.Cores.size()]);
        }
        return clock_.Stop.load(std::memory_order_relaxed);
    }
    void Accepted(const AcceptedPuzzle& puzzle) override {
        Count();
        ++base_.Accepted[static_cast<std::size_t>(puzzle.Difficulty - 1)];
        CloseBase();
    }
    void Rejected(std::int32_t invalidCount) override {
        Count();
        if (invalidCount + 1 == settings_.RenewAfter) CloseBase();
    }
    const std::vector<ForecastSample::Base>& Bases() const { return bases_; }
    std::int64_t Candidates() const { return candidates_.load(std::memory_order_relaxed); }

  private:
    void Count() {
        ++base_.Candidates;
        candidates_.store(candidates_.load(std::memory_order_relaxed) + 1,
                          std::memory_order_relaxed);
    }
    void CloseBase() {
        const Clock::time_point now = Clock::now();
        base_.Seconds = std::chrono::duration<double>(now - start_).count();
        bases_.push_back(base_);
        base_ = {};
        start_ = now;
    }

    StreamRandom random_;
    Generator generator_;
    const RunSettings& settings_;
    const SampleLimit& limit_;
    const SampleClock& clock_;
    const int index_;
    int slice_ = -1;
    Clock::time_point start_;
    ForecastSample::Base base_;
    std::vector<ForecastSample::Base> bases_;
    std::atomic<std::int64_t> candidates_{0};
};

// The 95% interval of a Poisson mean from a count (Wilson and Hilferty's
// cube roots, close to the exact one from a few counts on).
Estimate PoissonInterval(double k) {
    if (k <= 0) return {0, 0, 3};  // the rule of three
    const auto cube = [](double x) { return x * x * x; };
    const double k1 = k + 1;
    return {k, k * cube(1 - 1 / (9 * k) - kZ / (3 * std::sqrt(k))),
            k1 * cube(1 - 1 / (9 * k1) + kZ / (3 * std::sqrt(k1)))};
}

Estimate Wilson(double successes, double trials) {
    if (trials <= 0) return {0, 0, 1};
    const double p = successes / trials;
    const double z2 = kZ * kZ;
    const double centre = (p + z2 / (2 * trials)) / (1 + z2 / trials);
    const double half =
        kZ * std::sqrt(p * (1 - p) / trials + z2 / (4 * trials * trials)) / (1 + z2 / trials);
    return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

// Accepted puzzles an hour from the bases' accepted counts (of one class,
// or all when difficulty is 0): the share of candidates accepted, with its
// spread from the bases' differences, times the candidates an hour; never
// narrower than the Poisson interval of the count. The bases are weighed
// by their candidates, not their time, so that a moment in which the
// machine stood still shows in the swing of its speed only.
Estimate PerHour(const ForecastSample& sample, int difficulty) {
    double accepted = 0;
    double candidates = 0;
    double seconds = 0;
    const auto count = [difficulty](const ForecastSample::Base& base) {
        double n = 0;
        for (int c = 0; c < 6; ++c)
            n += difficulty == 0 || c == difficulty - 1 ? base.Accepted[c] : 0;
        return n;
    };
    for (const auto& base : sample.Bases) {
        accepted += count(base);
        candidates += static_cast<double>(base.Candidates);
        seconds += base.Seconds;
    }
    if (seconds <= 0 || candidates <= 0) return {};
    // The jobs ran side by side: an hour of the run is Jobs hours of bases.
    const double scale = 3600.0 * sample.Jobs / seconds;
    Estimate poisson = PoissonInterval(accepted);
    Estimate estimate{accepted * scale, poisson.Low * scale, poisson.High * scale};
    const double n = static_cast<double>(sample.Bases.size());
    if (accepted > 0 && n >= 2) {
        const double share = accepted / candidates;
        double squares = 0;
        for (const auto& base : sample.Bases) {
            const double residual = count(base) - share * static_cast<double>(base.Candidates);
            squares += residual * residual;
        }
        const double spread = std::sqrt(squares / (n * (n - 1))) * n * scale;
        estimate.Low = std::max(0.0, std::min(estimate.Low, estimate.Value - kZ * spread));
        estimate.High = std::max(estimate.High, estimate.Value + kZ * spread);
    }
    return estimate;
}

// The slowest and the fastest slice of a sample against the average one:
// how far the machine's speed swung while the sample ran. 1 and 1 with
// fewer than two slices, or fewer than a hundred candidates a slice: then
// the slices differ by chance more than by speed, and the spread between
// the bases holds that chance already.
std::pair<double, double> SpeedSwing(const std::vector<double>& speeds, double candidates) {
    if (speeds.size() < 2 || candidates < 100.0 * static_cast<double>(speeds.size())) {
        return {1, 1};
    }
    double sum = 0;
    for (const double speed : speeds) sum += speed;
    const double mean = sum / static_cast<double>(speeds.size());
    if (mean <= 0) return {1, 1};
    const auto [low, high] = std::minmax_element(speeds.begin(), speeds.end());
    return {*low / mean, *high / mean};
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Whole(double value) {
    return std::to_string(static_cast<std::int64_t>(std::llround(value)));
}

// A wait in the largest unit that keeps it readable.
std::string Wait(double seconds) {
    if (seconds < 1) return Whole(seconds * 1000) + " ms";
    if (seconds < 120) return Fixed(seconds, 1) + " s";
    if (seconds < 2 * 3600) return Fixed(seconds / 60, 1) + " min";
    if (seconds < 2 * 86400) return Fixed(seconds / 3600, 1) + " h";
    return Fixed(seconds / 86400, 1) + " days";
}

}  // namespace

std::string ForecastReport(const Pattern& clues, const ForecastSample& sample) {
    std::ostringstream out;
    const Forecast forecast = EstimateForecast(sample);
    std::int64_t candidates = 0;
    for (const auto& base : sample.Bases) candidates += base.Candidates;
    const PatternSymmetry symmetry(clues);
    out << "clues " << std::count(clues.begin(), clues.end(), true) << ", symmetry "
        << SymmetryName(clues) << ", automorphisms " << symmetry.GroupSize() << '\n'
        << "sample " << Fixed(sample.Seconds, 1) << " s, " << sample.Jobs
        << (sample.Jobs == 1 ? " job, " : " jobs, ") << candidates << " candidates in "
        << sample.Bases.size() << " bases, " << Whole(forecast.CandidatesPerSecond)
        << " candidates per second";
    if (sample.SliceSpeeds.size() >= 2) {
        const auto [low, high] =
            std::minmax_element(sample.SliceSpeeds.begin(), sample.SliceSpeeds.end());
        out << " (" << Whole(*low) << " to " << Whole(*high) << " by time slice)";
    }
    out << '\n' << "class\tshare of candidates % (95%)\taccepted per hour (95%)\tfirst one in\n";
    for (int c = 0; c < 6; ++c) {
        const Estimate& share = forecast.Share[c];
        const Estimate& hour = forecast.PerHour[c];
        out << kClassNames[c] << '\t' << Fixed(share.Value * 100, 4) << " ("
            << Fixed(share.Low * 100, 4) << "-" << Fixed(share.High * 100, 4) << ")\t"
            << Whole(hour.Value) << " (" << Whole(hour.Low) << "-" << Whole(hour.High) << ")\t"
            << (forecast.FirstSeconds[c] ? Wait(*forecast.FirstSeconds[c])
                                         : "over " + Wait(forecast.FirstAtLeast[c]))
            << '\n';
    }
    const Estimate& total = forecast.TotalPerHour;
    out << "accepted-per-hour " << Whole(total.Value) << ' ' << Whole(total.Low) << ' '
        << Whole(total.High) << '\n';
    return out.str();
}

ForecastSample SamplePattern(const RunSettings& settings, int jobs,
                             std::optional<std::uint64_t> seed, const SampleLimit& limit,
                             const std::function<bool(double)>& poll) {
    SampleClock clock;
    if (const std::vector<int> cores = AllowedCores(); jobs < static_cast<int>(cores.size())) {
        clock.Cores = cores;
    }
    std::vector<std::unique_ptr<SampleJob>> all;
    for (int k = 0; k < jobs; ++k) {
        all.push_back(std::make_unique<SampleJob>(
            seed ? std::optional<std::uint64_t>(JobSeed(*seed, k)) : std::nullopt, settings, limit,
            clock, k));
    }
    const Clock::time_point start = Clock::now();
    std::atomic<int> running{jobs};
    std::vector<std::thread> threads;
    for (auto& job : all) {
        threads.emplace_back([&job, &running] {
            job->Run();
            --running;
        });
    }
    const auto candidates = [&all] {
        std::int64_t n = 0;
        for (const auto& job : all) n += job->Candidates();
        return n;
    };
    ForecastSample sample;
    sample.Jobs = jobs;
    // The time limit, the caller's cancel and the slices are looked at every
    // few milliseconds, here: the jobs only read the flags.
    const double slice = limit.Seconds ? std::max(0.1, *limit.Seconds / 16) : 0.25;
    double sliceStart = 0;
    std::int64_t sliceCandidates = 0;
    while (running > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const double elapsed = SecondsSince(start);
        if (elapsed - sliceStart >= slice) {
            const std::int64_t now = candidates();
            sample.SliceSpeeds.push_back(static_cast<double>(now - sliceCandidates) /
                                         (elapsed - sliceStart));
            sliceStart = elapsed;
            sliceCandidates = now;
            ++clock.Slice;
        }
        const double progress = limit.Seconds ? std::min(1.0, elapsed / *limit.Seconds) : 0;
        if ((limit.Seconds && elapsed >= *limit.Seconds) || (poll && poll(progress))) {
            clock.Stop = true;
        }
    }
    for (auto& thread : threads) thread.join();
    sample.Seconds = SecondsSince(start);
    for (const auto& job : all) {
        sample.Bases.insert(sample.Bases.end(), job->Bases().begin(), job->Bases().end());
    }
    return sample;
}

Forecast EstimateForecast(const ForecastSample& sample) {
    Forecast forecast;
    double candidates = 0;
    double seconds = 0;
    std::array<double, 6> accepted{};
    for (const auto& base : sample.Bases) {
        candidates += static_cast<double>(base.Candidates);
        seconds += base.Seconds;
        for (int c = 0; c < 6; ++c) accepted[c] += base.Accepted[c];
    }
    if (seconds > 0) forecast.CandidatesPerSecond = candidates * sample.Jobs / seconds;
    const auto [slowest, fastest] = SpeedSwing(sample.SliceSpeeds, candidates);
    const auto widen = [slowest = slowest, fastest = fastest](Estimate estimate) {
        estimate.Low *= slowest;
        estimate.High *= fastest;
        return estimate;
    };
    for (int c = 0; c < 6; ++c) {
        forecast.Share[c] = Wilson(accepted[c], candidates);
        forecast.PerHour[c] = widen(PerHour(sample, c + 1));
        if (forecast.PerHour[c].Value > 0) {
            forecast.FirstSeconds[c] = 3600.0 / forecast.PerHour[c].Value;
        }
        forecast.FirstAtLeast[c] =
            forecast.PerHour[c].High > 0 ? 3600.0 / forecast.PerHour[c].High : 0;
    }
    forecast.TotalPerHour = widen(PerHour(sample, 0));
    return forecast;
}

}  // namespace cluemill
