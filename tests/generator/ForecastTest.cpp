// SPDX-License-Identifier: MIT
// The forecast: a seeded sample is the same every time, and the figures
// follow from the sample with intervals that hold their estimates. The
// command and list --long are in tests/data/transcripts/Patterns.txt.
#include <gtest/gtest.h>

#include <string>

#include "generator/Forecast.h"
#include "generator/GeneratorTestSupport.h"

namespace cluemill {
namespace {

TEST(Forecast, ASeededSampleIsTheSameEveryTime) {
    RunSettings settings;
    settings.Clues = DecodePattern(testing::kPatternCodes[1]);
    SampleLimit limit;
    limit.Candidates = 3000;
    const auto first = SamplePattern(settings, 2, 7, limit);
    const auto second = SamplePattern(settings, 2, 7, limit);
    ASSERT_EQ(first.Bases.size(), second.Bases.size());
    std::int64_t candidates = 0;
    int accepted = 0;
    for (std::size_t b = 0; b < first.Bases.size(); ++b) {
        EXPECT_EQ(first.Bases[b].Candidates, second.Bases[b].Candidates) << b;
        EXPECT_EQ(first.Bases[b].Accepted, second.Bases[b].Accepted) << b;
        candidates += first.Bases[b].Candidates;
        for (const int n : first.Bases[b].Accepted) accepted += n;
    }
    EXPECT_EQ(candidates, 2 * 3000);
    EXPECT_GT(accepted, 0);
    // A base ends with its accepted puzzle, or after 250 rejections; only
    // each job's last base is cut short by the end of the sample.
    int cut = 0;
    for (const auto& base : first.Bases) {
        int n = 0;
        for (const int a : base.Accepted) n += a;
        cut += n == 0 && base.Candidates != 250 ? 1 : 0;
    }
    EXPECT_LE(cut, 2);
}

TEST(Forecast, FiguresFollowTheSample) {
    ForecastSample sample;
    sample.Jobs = 2;
    // Ten bases of a second each, of 100 candidates: an Easy puzzle in two,
    // a Hard one in one, nothing in the others.
    for (int b = 0; b < 10; ++b) {
        ForecastSample::Base base{1.0, 100, {}};
        if (b < 2) base.Accepted[1] = 1;
        if (b == 2) base.Accepted[3] = 1;
        sample.Bases.push_back(base);
    }
    const Forecast forecast = EstimateForecast(sample);
    EXPECT_DOUBLE_EQ(forecast.CandidatesPerSecond, 200);
    EXPECT_DOUBLE_EQ(forecast.Share[1].Value, 0.002);
    EXPECT_DOUBLE_EQ(forecast.PerHour[1].Value, 2 * 3600.0 * 2 / 10);
    EXPECT_DOUBLE_EQ(forecast.TotalPerHour.Value, 3 * 3600.0 * 2 / 10);
    EXPECT_DOUBLE_EQ(*forecast.FirstSeconds[3], 3600.0 / forecast.PerHour[3].Value);
    for (const Estimate& e : {forecast.Share[1], forecast.PerHour[1], forecast.TotalPerHour}) {
        EXPECT_LE(e.Low, e.Value);
        EXPECT_GT(e.High, e.Value);
    }
    // No Very Easy puzzle: the estimate and its low end are 0, the high end
    // the rule of three over the sample's hours of work.
    EXPECT_EQ(forecast.PerHour[0].Value, 0);
    EXPECT_EQ(forecast.PerHour[0].Low, 0);
    EXPECT_DOUBLE_EQ(forecast.PerHour[0].High, 3 * 3600.0 * 2 / 10);
    EXPECT_FALSE(forecast.FirstSeconds[0]);
    // Slices of the sample at half and one and a half times the average
    // speed widen every interval an hour by those factors, no estimate.
    sample.SliceSpeeds = {100, 300};
    const Forecast swung = EstimateForecast(sample);
    EXPECT_DOUBLE_EQ(swung.TotalPerHour.Value, forecast.TotalPerHour.Value);
    EXPECT_DOUBLE_EQ(swung.TotalPerHour.Low, forecast.TotalPerHour.Low * 0.5);
    EXPECT_DOUBLE_EQ(swung.PerHour[0].High, forecast.PerHour[0].High * 1.5);
}

}  // namespace
}  // namespace cluemill
