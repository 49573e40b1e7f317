// SPDX-License-Identifier: MIT
// A puzzle line from outside: the text-input reading of the window (Text2)
// and the line rules of the command line, then the uniqueness test of what
// the grid shows.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "cli/PuzzleLines.h"
#include "tester/PuzzleText.h"

using namespace cluemill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CellValues cells = ReadPuzzleText(text);
    for (std::size_t i = 0; i < 81; ++i) {
        const char c = i < size ? text[i] : ' ';
        fuzz::Expect(cells[i] == (c >= '1' && c <= '9' ? c - '0' : 0),
                     "a cell reads its own character");
    }
    fuzz::Expect(ReadPuzzleText(WritePuzzleText(cells, '.')) == cells, "a written line reads back");
    GivensConflict(cells);
    std::istringstream in(text);
    std::ostringstream err;
    const int status = ForEachPuzzleLine(in, err, "rate", [&](const std::string& line) {
        fuzz::Expect(line.size() >= 81, "a puzzle line has 81 characters");
    });
    fuzz::Expect(status == 0 || status == 1, "a string stream reads without error");

    Main& main = fuzz::Window();
    main.Form.Text2.SelStart = static_cast<std::int64_t>(size);
    main.SetText2(text);
    if (size > 80) {
        fuzz::Expect(main.Form.ButtonSolve.Enabled, "81 characters enable the test");
        // The test of what the grid shows: invalid givens, a complete grid,
        // no, one or several solutions.
        main.Form.TestMinimal.Value = 0;
        main.ButtonSolve_Click();
    }
    main.Form.ButtonSolve.Enabled = false;
    fuzz::Platform().Messages.clear();
    return 0;
}
