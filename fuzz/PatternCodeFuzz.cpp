// SPDX-License-Identifier: MIT
// A pattern code or pattern line from outside: the check, the decoding and
// the encoding must agree.
#include <cctype>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "cli/PuzzleLines.h"

using namespace cluemill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Pattern clues = DecodePattern(text);
    const std::string code = EncodePattern(clues);
    fuzz::Expect(!CheckPatternCode(code), "an encoded pattern is a valid code");
    fuzz::Expect(DecodePattern(code) == clues, "decoding an encoded pattern gives it back");
    if (!CheckPatternCode(text)) {
        std::string upper = text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        fuzz::Expect(code == upper, "a valid code survives a round trip");
    }
    std::string why;
    const std::string named = PatternCodeOf(text, why);
    fuzz::Expect(named.empty() != why.empty(), "a pattern text gives a code or a reason");
    fuzz::Expect(named.empty() || !CheckPatternCode(named), "the code of a pattern text is valid");
    if (size >= 81) {
        Pattern cells{};
        for (int i = 0; i < 81; ++i) cells[i] = (data[i] & 1) != 0;
        fuzz::Expect(DecodePattern(EncodePattern(cells)) == cells,
                     "every pattern survives a round trip");
    }
    return 0;
}
