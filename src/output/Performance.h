// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/Form.h"

namespace cluemill {

// The six class lines of one statistics block, computed from its counters
// in single precision: "Easy : 25.00 %" with the locale's separator, or the
// fixed zero texts ("Easy : 00.00 %", always with ".") when zeroTexts is set
// or the counters add up to 0. zeroComma: the zero texts are written with a
// comma instead.
std::array<std::string, 6> PerformanceLines(const std::array<std::int32_t, 6>& counters,
                                            bool zeroTexts, char separator, bool zeroComma = false);

// Writes the three blocks into Label6(2..7), Label6(9..14), Label6(16..21).
void ShowPerformance(Form& form, const std::array<std::int32_t, 6>& notExpanded,
                     const std::array<std::int32_t, 6>& expanded,
                     const std::array<std::int32_t, 6>& minimal, bool zeroTexts, char separator,
                     bool zeroComma = false);

}  // namespace cluemill
