// SPDX-License-Identifier: MIT
// cluemill-cli patterns forecast: what a pattern will give, from a short
// sample run that writes nothing.
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/PuzzleLines.h"
#include "cli/RunOptions.h"
#include "generator/Forecast.h"

namespace cluemill {

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
    out << ForecastReport(settings.Clues, SamplePattern(settings, jobs, seed, limit));
    return kExitOk;
}

}  // namespace cluemill
