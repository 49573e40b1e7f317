// SPDX-License-Identifier: MIT
// The pattern editor: the grid's red cells are the pattern; "New", "Next"
// and "Prev" step through the library.
#include <algorithm>

#include "app/Main.h"
#include "patterns/Symmetry.h"

namespace cluemill {

void Main::DisplayPattern() {
    for (auto& cell : Form.Grid) {
        cell.ForeColor = kBlack;
        cell.Caption.clear();
    }
    if (Library.CurrentPattern != 0) {
        Library.PatternRec = Library.ReadPatternRecord(Library.CurrentPattern);
        const std::string& code = Library.PatternRec.PatternCode;
        Form.PatternName.Caption = "Pattern name: " + code;
        const Pattern clues = DecodePattern(code);
        for (int cell = 1; cell < kCells; ++cell)
            Form.Grid[cell].BackColor = clues[cell] ? kRed : kWindowBackground;
        // Cell 0 follows the first two characters, and only "00" or "01".
        if (code.compare(0, 2, "00") == 0) Form.Grid[0].BackColor = kWindowBackground;
        if (code.compare(0, 2, "01") == 0) Form.Grid[0].BackColor = kRed;
    } else {
        for (auto& cell : Form.Grid) cell.BackColor = kWindowBackground;
        Form.PatternName.Caption = "Pattern name: ";
    }
    ShowPatternInfo();
    DisplayPerformance();
}

Pattern Main::GridPattern() const {
    Pattern clues{};
    for (int cell = 0; cell < kCells; ++cell) clues[cell] = Form.Grid[cell].BackColor == kRed;
    return clues;
}

CellValues Main::GridPuzzle() const {
    CellValues puzzle{};
    for (int cell = 0; cell < kCells; ++cell) {
        const Label& label = Form.Grid[cell];
        if (label.BackColor == kRed && label.Caption.size() == 1 && label.Caption[0] >= '1' &&
            label.Caption[0] <= '9') {
            puzzle[cell] = static_cast<std::int8_t>(label.Caption[0] - '0');
        }
    }
    return puzzle;
}

// With a symmetry chosen for drawing, the cell's images take the state the
// clicked cell takes.
void Main::Grid_Click(int index) {
    Form.ButtonSolve.Enabled = false;
    const Colour colour =
        Form.Grid[index].BackColor == kWindowBackground ? kRed : kWindowBackground;
    const int symmetry = std::clamp(Form.DrawSymmetry.ListIndex, 0, 4);
    for (const int cell : SymmetricCells(index, static_cast<cluemill::DrawSymmetry>(symmetry))) {
        Form.Grid[cell].BackColor = colour;
    }
    Form.CommandGenerate.Caption = "Generate Sudokus";
    ShowPatternInfo();
}

void Main::ShowPatternInfo() {
    const Pattern clues = GridPattern();
    const auto count = std::count(clues.begin(), clues.end(), true);
    // Every map fixes an empty grid: naming its symmetry would tell nothing.
    Form.PatternInfo.Caption = std::to_string(count) + (count == 1 ? " clue" : " clues") +
                               (count == 0 ? "" : ", symmetry " + SymmetryName(clues));
}

void Main::NewPattern_Click() {
    Form.ButtonSolve.Enabled = false;
    Library.CurrentPattern = 0;
    Form.PreviousPattern.Enabled = false;
    Form.NextPattern.Enabled = Library.PatternCount != 0;
    Form.CommandGenerate.Caption = "Generate Sudokus";
    DisplayPattern();
}

void Main::NextPattern_Click() {
    Form.ButtonSolve.Enabled = false;
    ++Library.CurrentPattern;
    if (Library.CurrentPattern == Library.PatternCount) Form.NextPattern.Enabled = false;
    if (Library.CurrentPattern > 1) Form.PreviousPattern.Enabled = true;
    Form.CommandGenerate.Caption = "Generate Sudokus";
    DisplayPattern();
}

void Main::PreviousPattern_Click() {
    Form.ButtonSolve.Enabled = false;
    --Library.CurrentPattern;
    if (Library.CurrentPattern == 1) Form.PreviousPattern.Enabled = false;
    Form.NextPattern.Enabled = true;
    Form.CommandGenerate.Caption = "Generate Sudokus";
    DisplayPattern();
}

}  // namespace cluemill
