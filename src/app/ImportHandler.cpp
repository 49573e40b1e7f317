// SPDX-License-Identifier: MIT
// The pattern import in the window: the clue cells of each puzzle of a
// native puzzle file are shown on the grid and, when the pattern suits the
// generator and is new, offered for the library through the question panel.
#include <system_error>

#include "app/Main.h"
#include "patterns/PatternImport.h"

namespace cluemill {

namespace {

constexpr const char* kOpenError = "An error occured while trying to open file ";
constexpr const char* kReadError = "An error occured while trying to read file ";

}  // namespace

void Main::ImportPattern_Click() {
    const std::optional<std::string> chosen = Platform.OpenFile("Tavix Sudoku files (*.sds)|*.sds");
    if (!chosen) return;
    // The file is measured before it is opened: an empty file is reported
    // as such even when it could not be read.
    std::error_code error;
    const auto length = std::filesystem::file_size(*chosen, error);
    if (error) {
        Platform.MessageBox(kOpenError + *chosen, "File error");
        return;
    }
    if (length < static_cast<std::uintmax_t>(kSdsRecordSize)) {
        Platform.MessageBox("File does not contain sudokus", "Empty or invalid file");
        return;
    }
    SdsFile file;
    if (!file.Open(*chosen)) {
        Platform.MessageBox(kOpenError + *chosen, "File error");
        return;
    }

    SaveGUI();
    DisableGUI();
    Form.CommandGenerate.Enabled = false;
    for (auto& cell : Form.Grid) {
        cell.Caption.clear();
        cell.BackColor = kWindowBackground;
        cell.ForeColor = kBlack;
        Platform.Refresh(cell);
    }

    for (std::int64_t r = 1; r <= file.Count() && !Unloading; ++r) {
        Platform.DoEvents();
        if (Unloading) break;
        const std::optional<Pattern> clues = file.Read(r);
        if (!clues) {
            Platform.MessageBox(kReadError + *chosen, "File error");
            break;
        }
        for (int cell = 0; cell < kCells; ++cell) {
            Form.Grid[cell].BackColor = (*clues)[cell] ? kRed : kWindowBackground;
            Platform.Refresh(Form.Grid[cell]);
        }
        ShowPatternInfo();
        if (CheckImportable(*clues) != ImportRefusal::None) continue;

        const std::string code = EncodeGrid();
        Form.PatternName.Caption = "Pattern name: " + code;
        Library.PatternRec = PatternRecord{};
        Library.PatternRec.PatternCode = code;
        if (Library.FindPattern(code) != 0) continue;

        ImportAnswer = 0;
        Form.Picture1.Visible = true;
        Platform.SetFocus(Form.CommandYes);
        while (ImportAnswer == 0 && !Unloading) Platform.WaitEvents();
        Form.Picture1.Visible = false;
        if (ImportAnswer == 1) Library.AppendPattern(Library.PatternRec);
        if (ImportAnswer == 3 || Unloading) break;
    }

    RestoreGUI();
    Form.PreviousPattern.Enabled = Library.CurrentPattern > 1;
    Form.NextPattern.Enabled = Library.CurrentPattern < Library.PatternCount;
    if (Library.PatternCount > 0) Form.PickPattern.Enabled = true;
    for (auto& cell : Form.Grid) {
        cell.Caption.clear();
        cell.BackColor = kWindowBackground;
        Platform.Refresh(cell);
    }
    Form.CommandGenerate.Enabled = true;
    DisplayPattern();
}

void Main::CommandYes_Click() {
    ImportAnswer = 1;
}
void Main::CommandNo_Click() {
    ImportAnswer = 2;
}
void Main::CommandCancel_Click() {
    ImportAnswer = 3;
}

}  // namespace cluemill
