// SPDX-License-Identifier: MIT
// cluemill-cli patterns forecast: what a pattern will give, from a short
// sample run that writes nothing.
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/PuzzleLines.h"
#include "cli/RunOptions.h"
#include "generator/Forecast.h"
#include "patterns/Symmetry.h"

namespace cluemill {

namespace {

constexpr std::array<const char*, 6> kClasses = {"Very Easy", "Easy",      "Medium",
                                                 "Hard",      "Very Hard", "Others"};

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

void Print(const Pattern& clues, const ForecastSample& sample, std::ostream& out) {
    const Forecast forecast = EstimateForecast(sample);
    std::int64_t candidates = 0;
    for (const auto& base : sample.Bases) candidates += base.Candidates;
    const PatternSymmetry symmetry(clues);
    out << "clues " << std::count(clues.begin(), clues.end(), true) << ", symmetry "
        << SymmetryName(clues) << ", automorphisms " << symmetry.GroupSize() << '\n'
        << "sample " << Fixed(sample.Seconds, 1) << " s, " << sample.Jobs
        << (sample.Jobs == 1 ? " job, " : " jobs, ") << candidates << " candidates in "
        << sample.Bases.size() << " bases, " << Whole(forecast.CandidatesPerSecond)
        << " candidates per second\n"
        << "class\tshare of candidates % (95%)\taccepted per hour (95%)\tfirst one in\n";
    for (int c = 0; c < 6; ++c) {
        const Estimate& share = forecast.Share[c];
        const Estimate& hour = forecast.PerHour[c];
        out << kClasses[c] << '\t' << Fixed(share.Value * 100, 4) << " ("
            << Fixed(share.Low * 100, 4) << "-" << Fixed(share.High * 100, 4) << ")\t"
            << Whole(hour.Value) << " (" << Whole(hour.Low) << "-" << Whole(hour.High) << ")\t"
            << (forecast.FirstSeconds[c] ? Wait(*forecast.FirstSeconds[c])
                                         : "over " + Wait(forecast.FirstAtLeast[c]))
            << '\n';
    }
    const Estimate& total = forecast.TotalPerHour;
    out << "accepted-per-hour " << Whole(total.Value) << ' ' << Whole(total.Low) << ' '
        << Whole(total.High) << '\n';
}

}  // namespace

int ForecastPattern(const std::string& pattern, const Arguments& arguments, std::ostream& out,
                    std::ostream& err) {
    std::string why;
    const std::string code = PatternCodeOf(pattern, why);
    if (code.empty()) {
        err << "cluemill-cli patterns: " << why << '\n';
        return kExitUsage;
    }
    RunSettings settings = AcceptanceSettings(arguments);
    settings.Clues = DecodePattern(code);
    if (const PatternProblem problem = CheckPattern(settings.Clues);
        problem != PatternProblem::None) {
        err << "cluemill-cli patterns: " << PatternProblemText(problem) << '\n';
        return kExitUsage;
    }
    std::optional<std::uint64_t> seed;
    if (arguments.Has("--seed")) seed = static_cast<std::uint64_t>(arguments.Number("--seed", 0));
    SampleLimit limit;
    if (arguments.Has("--candidates")) {
        limit.Candidates = arguments.Number("--candidates", 1);
    } else {
        limit.Seconds = static_cast<double>(arguments.Number("--seconds", 5));
    }
    const int jobs = static_cast<int>(arguments.Number("--jobs", DefaultJobs()));
    Print(settings.Clues, SamplePattern(settings, jobs, seed, limit), out);
    return kExitOk;
}

}  // namespace cluemill
