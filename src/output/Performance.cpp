// SPDX-License-Identifier: MIT
#include "output/Performance.h"

#include <cmath>
#include <cstdio>

namespace cluemill {

namespace {

constexpr std::array<const char*, 6> kPrefixes = {
    "Very Easy : ", "Easy : ", "Medium : ", "Hard : ", "Very Hard : ", "Others : "};

// p with the pattern "#00.00": at least two digits before the separator,
// exactly two after, a half rounded away from zero, and one sign in front
// of a negative share (a damaged record's counter). A float times 100 is
// exact in a double, so an exact half is seen as one.
std::string Percent(float p, char separator) {
    const double magnitude = std::fabs(static_cast<double>(p));
    const auto hundredths = static_cast<long long>(std::floor(magnitude * 100.0 + 0.5));
    char text[40];
    std::snprintf(text, sizeof text, "%s%02lld%c%02lld", p < 0 && hundredths != 0 ? "-" : "",
                  hundredths / 100, separator, hundredths % 100);
    return text;
}

}  // namespace

std::array<std::string, 6> PerformanceLines(const std::array<std::int32_t, 6>& counters,
                                            bool zeroTexts, char separator, bool zeroComma) {
    // The sum and the shares are taken in single precision.
    float total = 0.0f;
    for (const auto k : counters) total += static_cast<float>(k);
    std::array<std::string, 6> lines;
    for (int c = 0; c < 6; ++c) {
        if (zeroTexts || total == 0.0f) {
            lines[c] = std::string(kPrefixes[c]) + (zeroComma ? "00,00 %" : "00.00 %");
        } else {
            const float p =
                static_cast<float>(static_cast<std::int64_t>(counters[c]) * 100) / total;
            lines[c] = std::string(kPrefixes[c]) + Percent(p, separator) + " %";
        }
    }
    return lines;
}

}  // namespace cluemill
