// SPDX-License-Identifier: MIT
// A native puzzle file (.sds) from outside, read by the pattern import: every
// record's pattern is shown and offered, the answers alternate between yes
// and no until a cancel, and the library must end with whole records of valid
// codes.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "patterns/PatternImport.h"

using namespace cluemill;

namespace {

// The import is cancelled at the question after this many: fuzz/run.sh gives
// this target up to 12 records, so a cancel is within reach.
constexpr int kMaxQuestions = 8;
int questions = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::ScratchFolder();
    const std::filesystem::path sds = folder / "puzzles.sds";
    fuzz::WriteFile(sds, std::string(reinterpret_cast<const char*>(data), size));
    std::error_code ignored;
    std::filesystem::remove(folder / "Patterns.rec", ignored);
    SdsFile file;
    fuzz::Expect(file.Open(sds), "a regular file opens");
    fuzz::Expect(file.Count() == static_cast<std::int64_t>(size) / kSdsRecordSize,
                 "whole records are counted");
    for (std::int64_t r = file.Count(); r >= 1; r -= 3) file.Read(r);

    Main& main = fuzz::Window();
    questions = 0;
    fuzz::Platform().OnDoEvents = [&main](int) {
        if (!main.Form.Picture1.Visible) return;
        ++questions;
        if (questions > kMaxQuestions) return main.CommandCancel_Click();
        questions % 2 == 1 ? main.CommandYes_Click() : main.CommandNo_Click();
    };
    main.Library.Count();
    main.Library.CurrentPattern = 0;
    fuzz::Platform().FilesToOpen = {sds.string()};
    fuzz::Platform().Messages.clear();
    main.ImportPattern_Click();
    fuzz::Expect(questions <= kMaxQuestions + 1, "a cancel ends the import");

    std::string stored;
    if (std::ifstream in(folder / "Patterns.rec", std::ios::binary); in)
        stored.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fuzz::Expect(static_cast<std::uintmax_t>(main.Library.PatternCount) * kPatternRecordSize ==
                     stored.size(),
                 "the library holds whole records, as many as counted");
    for (std::size_t at = 0; at < stored.size(); at += kPatternRecordSize) {
        fuzz::Expect(!CheckPatternCode(std::string_view(stored).substr(at, 22)),
                     "an imported code is valid");
    }
    return 0;
}
