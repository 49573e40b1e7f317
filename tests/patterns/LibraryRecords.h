// SPDX-License-Identifier: MIT
// Records for tests that write a pattern library.
#pragma once

#include <cstdint>
#include <string>

#include "patterns/PatternLibrary.h"

namespace cluemill::testing {

// A record of code with every count 0.
inline PatternRecord RecordOf(const std::string& code) {
    PatternRecord record;
    record.PatternCode = code;
    return record;
}

// Registers a pattern with zero counts; its record number, 0 on failure.
inline std::int32_t Append(PatternLibrary& library, const std::string& code) {
    PatternRecord record = RecordOf(code);
    return library.AppendPattern(record);
}

}  // namespace cluemill::testing
