// SPDX-License-Identifier: MIT
// A Patterns.rec from outside, drawn by the pattern picker: the pages of
// thumbnails are painted, the cursor moved with every key and the paging
// buttons, and a pattern chosen or the picker cancelled.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

using namespace cluemill;

namespace {

// Escape, Return, PageUp, PageDown, End, Home, Left, Up, Right, Down.
constexpr int kKeys[] = {27, 13, 33, 34, 35, 36, 37, 38, 39, 40};
// Most steps paint the whole page again. Eight steps make eight different
// choices: each advances the choice by 5 of 14, which share no factor.
constexpr int kMaxSteps = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last byte steers the user; the rest is the library. With the two
    // top bits of the steering byte set, the library is the rest written
    // over and over (up to three pages of 88 records; an input holds at
    // most 41), so that paging has pages to go to.
    const unsigned steer = size > 0 ? data[size - 1] : 0;
    const std::string records(reinterpret_cast<const char*>(data), size > 0 ? size - 1 : 0);
    const unsigned copies = steer >= 0xC0 ? 1 + (steer & 0x3F) * 4 : 1;
    std::string file = records;
    for (unsigned k = 1; k < copies && file.size() + records.size() <= 3 * 88 * 98; ++k)
        file += records;
    fuzz::WriteFile(fuzz::ScratchFolder() / "Patterns.rec", file);

    Main& main = fuzz::Window();
    int step = 0;
    fuzz::Platform().OnDoEvents = [&](int) {
        if (!main.PickerOpen) return;
        const unsigned choice = (steer + static_cast<unsigned>(++step) * 5) % 14;
        if (step > kMaxSteps) {
            main.Picture4_KeyDown(27, 0);
        } else if (choice < 10) {
            main.Picture4_KeyDown(kKeys[choice < 2 ? 9 : choice], static_cast<int>(steer & 1));
            main.Picture4_KeyUp();
        } else if (choice == 10) {
            main.KnopPageDown_Click();
        } else if (choice == 11) {
            main.KnopEnd_Click();
        } else if (choice == 12) {
            main.Timer1_Timer();
        } else {
            main.Picture4_MouseUp(1, 0, (steer * 13) % 541, (steer * 29) % 429);
        }
        if (step == kMaxSteps / 2 && (steer & 2) != 0) main.Picture4_KeyDown(13, 0);
    };
    main.Library.Count();
    main.Library.CurrentPattern = 0;
    main.PickPattern_Click();
    fuzz::Expect(!main.PickerOpen, "the picker closes");
    fuzz::Expect(main.Library.CurrentPattern >= 0 &&
                     main.Library.CurrentPattern <= main.Library.PatternCount,
                 "the chosen pattern is in the library");
    return 0;
}
