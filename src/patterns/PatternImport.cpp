// SPDX-License-Identifier: MIT
// The pattern import: the clue cells of each puzzle of a native puzzle file
// are shown on the grid and, when the pattern suits the generator and is new,
// offered for the library.
#include "patterns/PatternImport.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "app/Main.h"
#include "app/RecordFile.h"

namespace cluemill {

ImportRefusal CheckImportable(const Pattern& clues) {
    int count = 0;
    for (const bool clue : clues) count += clue ? 1 : 0;
    if (count < 20) return ImportRefusal::TooFewClues;
    if (clues[40] != (count % 2 == 1)) return ImportRefusal::Centre;
    for (int cell = 0; cell < 40; ++cell) {
        if (clues[cell] != clues[80 - cell]) return ImportRefusal::NotSymmetric;
    }
    for (int b = 0; b < 3; ++b) {
        int rows = 0;
        int columns = 0;
        for (int line = 3 * b; line < 3 * b + 3; ++line) {
            bool inRow = false;
            bool inColumn = false;
            for (int i = 0; i < 9; ++i) {
                inRow = inRow || clues[9 * line + i];
                inColumn = inColumn || clues[9 * i + line];
            }
            rows += inRow ? 1 : 0;
            columns += inColumn ? 1 : 0;
        }
        if (rows < 2 || columns < 2) return ImportRefusal::OneLine;
    }
    int emptyBoxes = 0;
    for (int box = 0; box < 9; ++box) {
        bool any = false;
        for (int i = 0; i < 9; ++i)
            any = any || clues[(box / 3 * 3 + i / 3) * 9 + box % 3 * 3 + i % 3];
        emptyBoxes += any ? 0 : 1;
    }
    return emptyBoxes > 4 ? ImportRefusal::EmptyBoxes : ImportRefusal::None;
}

Pattern RecordPattern(const unsigned char* cells) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = cells[cell] != 0;
    return clues;
}

std::unordered_set<std::string> LibraryCodes(const PatternLibrary& library) {
    std::unordered_set<std::string> codes;
    // Not a stream: a pipe in the library's place is refused, not waited for.
    const auto file = RecordFile::Open(library.File, RecordFile::Access::Read);
    if (!file) return codes;
    std::vector<unsigned char> chunk(kPatternRecordSize * 1024);
    for (std::int64_t first = 1; first <= library.PatternCount; first += 1024) {
        const std::size_t read =
            file->ReadAt(static_cast<std::uint64_t>(first - 1) * kPatternRecordSize, chunk.data(),
                         chunk.size())
                .value_or(0);
        const std::int64_t records = std::min<std::int64_t>(library.PatternCount - first + 1, 1024);
        for (std::int64_t k = 0; k < records; ++k) {
            // A last record the file holds only in part still has its code.
            const std::size_t at = static_cast<std::size_t>(k) * kPatternRecordSize;
            if (at + 22 > read) return codes;
            codes.emplace(reinterpret_cast<const char*>(chunk.data() + at), 22);
        }
        if (read < chunk.size()) break;
    }
    return codes;
}

bool SdsFile::Open(const std::filesystem::path& file) {
    std::error_code error;
    const auto length = std::filesystem::file_size(file, error);
    if (error) return false;
    count_ = static_cast<std::int64_t>(length / kSdsRecordSize);
    file_.open(file, std::ios::binary);
    next_ = 1;
    return file_.is_open();
}

std::optional<Pattern> SdsFile::Read(std::int64_t r) {
    // Records are mostly read in order: then the stream's own buffer serves
    // them without a seek.
    std::array<unsigned char, kSdsRecordSize> record{};
    if (r < 1) return std::nullopt;
    if (r != next_) {
        file_.clear();
        if (!file_.seekg((r - 1) * kSdsRecordSize)) return std::nullopt;
    }
    next_ = 0;
    if (!file_.read(reinterpret_cast<char*>(record.data()), record.size())) return std::nullopt;
    next_ = r + 1;
    return RecordPattern(record.data());
}

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
