// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace cluemill {

// The six class lines of one statistics block, computed from its counters
// in single precision: "Easy : 25.00 %" with the locale's separator, or the
// fixed zero texts ("Easy : 00.00 %", always with ".") when zeroTexts is set
// or the counters add up to 0. zeroComma: the zero texts are written with a
// comma instead.
std::array<std::string, 6> PerformanceLines(const std::array<std::int32_t, 6>& counters,
                                            bool zeroTexts, char separator, bool zeroComma = false);

}  // namespace cluemill
