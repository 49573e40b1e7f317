// SPDX-License-Identifier: MIT
// The tester in the window: a puzzle typed or pasted into Text2, or dropped
// onto Text1 as a text file, read onto the grid; "Check  Uniqueness" tests
// the grid and shows the verdict, and with "Check Minimal" ticked a unique
// puzzle's first given it can spare in white.
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "app/Main.h"
#include "patterns/RecordFile.h"

namespace cluemill {

namespace {

// One cell from one character: "1" to "9" a red given, anything else an
// empty cell showing "0".
void ShowCell(Label& cell, char c) {
    if (c >= '1' && c <= '9') {
        cell.BackColor = kRed;
        cell.Caption.assign(1, c);
    } else {
        cell.BackColor = kWindowBackground;
        cell.Caption.assign(1, '0');
    }
}

// The last four characters, in lower case, are ".txt".
bool EndsWithTxt(const std::string& path) {
    static constexpr char kTail[] = ".txt";
    if (path.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(path[path.size() - 4 + i]);
        if (std::tolower(c) != kTail[i]) return false;
    }
    return true;
}

// The value of a caption as the grid holds it: a digit 1 to 9, else 0.
int CellValue(const std::string& caption) {
    return caption.size() == 1 && caption[0] >= '1' && caption[0] <= '9' ? caption[0] - '0' : 0;
}

// While the minimality check lets events run, nothing may start that would
// change the grid or the tester under it, nor end the program.
class TestLock {
  public:
    explicit TestLock(Main& main) : main_(main) {
        main_.Testing = true;
        for (std::size_t i = 0; i < kButtons.size(); ++i) {
            saved_[i] = Button(i).Enabled;
            Button(i).Enabled = false;
        }
        text1_ = main_.Form.Text1.Enabled;
        main_.Form.Text1.Enabled = false;
    }
    ~TestLock() {
        for (std::size_t i = 0; i < kButtons.size(); ++i) Button(i).Enabled = saved_[i];
        main_.Form.Text1.Enabled = text1_;
        main_.Testing = false;
    }
    TestLock(const TestLock&) = delete;
    TestLock& operator=(const TestLock&) = delete;

  private:
    CommandButton& Button(std::size_t i) { return main_.Form.*kButtons[i]; }

    static constexpr std::array<CommandButton Form::*, 8> kButtons = {
        &Form::ButtonSolve,     &Form::CommandGenerate, &Form::ButtonExit,    &Form::NewPattern,
        &Form::PreviousPattern, &Form::NextPattern,     &Form::ImportPattern, &Form::PickPattern};
    Main& main_;
    std::array<bool, 8> saved_{};
    bool text1_ = true;
};

}  // namespace

void Main::Text2_Change() {
    if (Generating || !TextInputEnabled) return;
    const std::int64_t caret = Form.Text2.SelStart;
    const std::string& text = Form.Text2.Text;
    // Below 81 characters the grid keeps what it shows.
    if (text.size() <= 80) return;
    for (int i = 0; i < kCells; ++i) ShowCell(Form.Grid[i], text[i]);
    Form.Text2.SelStart = caret;
    Form.Text2.SelLength = 0;
    Form.ButtonSolve.Enabled = true;
}

void Main::Text1_OLEDragDrop(const std::vector<std::string>& files) {
    // A drop without a file name (dragged text, say) is not for us.
    if (files.empty()) return;
    if (files.size() >= 2) {
        Platform.MessageBox("Only allows 1 file at a time In beta version! Sorry!",
                            "Ooops beta version");
        return;
    }
    const std::string& path = files.front();
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        Platform.MessageBox(
            "Sorry this beta version only allows files Not directories to be installed",
            "Cluemill");
        return;
    }
    if (!EndsWithTxt(path)) {
        Platform.MessageBox("This file is not a txt-file (*.txt)", "Cluemill");
        return;
    }
    // A pipe or a device named *.txt is refused like a file that cannot be
    // read, instead of waiting for it.
    const auto file = RecordFile::Open(path, RecordFile::Access::Read);
    if (!file) {
        Platform.MessageBox("This file cannot be read:\r\n" + path, "Cluemill");
        return;
    }
    // A file shorter than 81 bytes leaves the rest of the buffer blank, and
    // blank cells are empty. A file that opens but cannot be read is no
    // puzzle: the drop is ignored, as one without a file is.
    std::string buffer(kCells, ' ');
    if (!file->ReadAt(0, buffer.data(), kCells)) return;
    DropBuffer = buffer;
    for (int i = 0; i < kCells; ++i) ShowCell(Form.Grid[i], DropBuffer[i]);
    Form.ButtonSolve.Enabled = true;
}

void Main::ButtonSolve_Click() {
    Form.CommandGenerate.Caption = "Generate Sudokus";
    CellValues givens{};
    for (int cell = 0; cell < kCells; ++cell) {
        Form.Grid[cell].ForeColor = kBlack;
        givens[cell] = static_cast<std::int8_t>(CellValue(Form.Grid[cell].Caption));
    }
    const Tester::Result result = Tester.Test(givens);
    Verdict verdict = result.Outcome;
    if (verdict == Verdict::InvalidGivens || verdict == Verdict::Complete || result.DeadCell) {
        Platform.MessageBox(VerdictText(verdict), VerdictCaption(verdict));
        if (result.DeadCell) Form.ButtonSolve.Enabled = false;
        return;
    }
    TextInputEnabled = false;
    if (verdict == Verdict::Unique && Form.TestMinimal.Value == 1) {
        Form.Main.Caption = "Cluemill - Minimal check busy";
        int redundant = -1;
        {
            TestLock lock(*this);
            redundant = Tester.FirstRedundantGiven(
                {Generating, Form.CheckLimit.Value == 1}, [this] { Platform.DoEvents(); }, this);
        }
        if (redundant >= 0) Form.Grid[redundant].ForeColor = kWhite;
        Form.Main.Caption = "Cluemill";
        verdict = redundant < 0 ? Verdict::UniqueMinimal : Verdict::UniqueNotMinimal;
    }
    Platform.MessageBox(VerdictText(verdict), VerdictCaption(verdict));
    if (result.Outcome == Verdict::Unique) {
        const CellValues& solution = Tester.Solver.Board;
        SetText2("");
        std::string text;
        for (int cell = 0; cell < kCells; ++cell) {
            Form.Grid[cell].Caption = std::to_string(solution[cell]);
            Platform.Refresh(Form.Grid[cell]);
            text += static_cast<char>('0' + solution[cell]);
            SetText2(text);
        }
        Platform.Refresh(Form.Text2);
    }
    TextInputEnabled = true;
    Form.ButtonSolve.Enabled = false;
}

void Main::ShowSolution(const CellValues& values, bool afterLogicPass) {
    SetText2("");
    std::string text;
    for (int cell = 0; cell < kCells; ++cell) {
        Form.Grid[cell].Caption = std::to_string(values[cell]);
        Platform.Refresh(Form.Grid[cell]);
        text += Form.Grid[cell].BackColor == kRed ? static_cast<char>('0' + values[cell]) : '0';
        SetText2(text);
    }
    if (afterLogicPass) Platform.Refresh(Form.Text2);
}

}  // namespace cluemill
