// SPDX-License-Identifier: MIT
// A file dropped onto the window: its first 81 bytes become the grid.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

using namespace cluemill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const std::string file = (fuzz::ScratchFolder() / "dropped.TXT").string();
    fuzz::WriteFile(file, bytes);
    Main& main = fuzz::Window();
    main.Form.ButtonSolve.Enabled = false;
    main.Text1_OLEDragDrop({file});
    fuzz::Expect(main.Form.ButtonSolve.Enabled, "a readable .txt file enables the test");
    fuzz::Expect(main.DropBuffer.size() == 81, "the drop buffer holds 81 characters");
    for (std::size_t i = 0; i < 81; ++i) {
        const char c = i < size ? bytes[i] : ' ';
        const bool given = c >= '1' && c <= '9';
        fuzz::Expect(main.Form.Grid[i].Caption == (given ? std::string(1, c) : "0"),
                     "a cell shows its byte");
        fuzz::Expect(main.Form.Grid[i].BackColor == (given ? kRed : kWindowBackground),
                     "a given is red");
    }
    return 0;
}
