// SPDX-License-Identifier: MIT
// Reading a puzzle typed or pasted into Text2, or dropped onto Text1 as a
// text file, onto the grid.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/Main.h"
#include "app/RecordFile.h"
#include "tester/PuzzleText.h"

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

}  // namespace cluemill
