// SPDX-License-Identifier: MIT
// A native puzzle file (.sds) from outside, read by the pattern import: every
// record's pattern is shown and offered, the answers alternate between yes
// and no, and the library must end with whole records of valid codes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "ScriptedPlatform.h"
#include "app/Main.h"
#include "patterns/PatternImport.h"

using namespace cluemill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::ScratchFolder();
    const std::filesystem::path sds = folder / "puzzles.sds";
    fuzz::WriteFile(sds, std::string(reinterpret_cast<const char*>(data), size));
    std::error_code ignored;
    std::filesystem::remove(folder / "Patterns.rec", ignored);

    SdsFile file;
    fuzz::Expect(file.Open(sds), "a regular file opens");
    fuzz::Expect(file.Count() == static_cast<std::int64_t>(size) / kSdsRecordSize, "whole records are counted");
    for (std::int64_t r = file.Count(); r >= 1; r -= 3) file.Read(r);

    // One window for all runs (it is large): loaded once, the library
    // counted anew for every run.
    static fuzz::ScriptedPlatform platform;
    static Main main(platform);
    static int questions = 0;
    static const bool loaded = [&] {
        platform.Folder = folder.string();
        platform.FileToOpen = sds.string();
        main.Form_Load();
        return true;
    }();
    (void)loaded;
    questions = 0;
    platform.OnEvents = [] {
        if (!main.Form.Picture1.Visible) return;
        ++questions;
        if (questions > 64) {
            main.CommandCancel_Click();
        } else if (questions % 2 == 1) {
            main.CommandYes_Click();
        } else {
            main.CommandNo_Click();
        }
    };
    main.Library.Count();
    main.Library.CurrentPattern = 0;
    main.ImportPattern_Click();

    const std::uintmax_t length = std::filesystem::file_size(folder / "Patterns.rec", ignored);
    const std::uintmax_t stored = ignored ? 0 : length;
    fuzz::Expect(stored % kPatternRecordSize == 0, "the library holds whole records");
    fuzz::Expect(static_cast<std::uintmax_t>(main.Library.PatternCount) * kPatternRecordSize == stored,
                 "the count is what the library holds");
    for (std::int32_t k = 1; k <= main.Library.PatternCount; ++k) {
        fuzz::Expect(!CheckPatternCode(main.Library.ReadPatternRecord(k).PatternCode), "an imported code is valid");
    }
    return 0;
}
