// SPDX-License-Identifier: MIT
#include "output/PuzzleFormats.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "patterns/PatternLibrary.h"
#include "patterns/RecordFile.h"

namespace cluemill {

namespace {

constexpr std::array<FormatInfo, kFormatCount> kFormats = {{
    {"Tavix Sudoku", true, "Sudoku_", ".sds", 166},
    {"Simple Sudoku", false, "", ".ss", 145},
    {"Sudocue", false, "", ".sdk", 97},
    {"Into Sudoku", false, "", ".sud", 99},
    {"Sudoku Explainer", false, "", ".txt", 99},
    {"Sudoku_81_Char", true, "Sudoku_", ".txt", 83},
    {"Sudoku_81_Char_0", true, "Sudoku_", "_0.txt", 83},
}};

constexpr std::array<const char*, 6> kClassWords = {"Very_Easy", "Easy",      "Medium",
                                                    "Hard",      "Very_Hard", "Others"};

constexpr const char* kCrLf = "\r\n";

// The nine rows of an 81-character form, each followed by CR LF (the last
// one too unless lastLineEnd is false).
std::string Rows(const std::string& form, bool lastLineEnd) {
    std::string text;
    for (int row = 0; row < 9; ++row) {
        text += form.substr(row * 9, 9);
        if (row < 8 || lastLineEnd) text += kCrLf;
    }
    return text;
}

// "abc|def|ghi" rows with "-----------" between the bands, and an empty last
// line.
std::string SimpleSudokuRows(const std::string& form) {
    std::string text;
    for (int row = 0; row < 9; ++row) {
        if (row == 3 || row == 6) text += std::string("-----------") + kCrLf;
        const std::string r = form.substr(row * 9, 9);
        text += r.substr(0, 3) + "|" + r.substr(3, 3) + "|" + r.substr(6, 3) + kCrLf;
    }
    return text + kCrLf;
}

}  // namespace

const FormatInfo& Info(OutputFormat format) {
    return kFormats[static_cast<int>(format)];
}

const char* ClassWord(int difficulty) {
    return kClassWords[difficulty - 1];
}

std::string DotForm(const CellValues& puzzle, const CellValues& board) {
    std::string text(kCells, '.');
    for (int i = 0; i < kCells; ++i) {
        if (puzzle[i] >= 1) text[i] = static_cast<char>('0' + board[i]);
    }
    return text;
}

std::string ZeroForm(const std::string& text) {
    std::string form = text.substr(0, kCells);
    form.resize(kCells, ' ');
    return form;
}

std::string BuildRecord(OutputFormat format, const CellValues& puzzle, const CellValues& board,
                        const std::string& zeroForm) {
    const std::string dots = DotForm(puzzle, board);
    const std::string zeros = ZeroForm(zeroForm);
    switch (format) {
        case OutputFormat::Tavix: {
            // Givens and solution as byte values, then two 16-bit fields of 0.
            std::string bytes(166, '\0');
            for (int i = 0; i < kCells; ++i) {
                bytes[i] = static_cast<char>(puzzle[i] >= 1 ? puzzle[i] : 0);
                bytes[81 + i] = static_cast<char>(board[i]);
            }
            return bytes;
        }
        case OutputFormat::SimpleSudoku:
            return SimpleSudokuRows(zeros);
        case OutputFormat::Sudocue:
            return Rows(dots, false);
        case OutputFormat::IntoSudoku:
            return Rows(zeros, true);
        case OutputFormat::SudokuExplainer:
            return Rows(dots, true);
        case OutputFormat::Line81Dot:
            return dots + kCrLf;
        case OutputFormat::Line81Zero:
            return zeros + kCrLf;
    }
    return {};
}

std::filesystem::path OutputFile(const std::filesystem::path& appFolder, OutputFormat format,
                                 int difficulty, std::int64_t n) {
    const FormatInfo& info = Info(format);
    std::string name = std::string(info.Prefix) + ClassWord(difficulty);
    if (!info.OneFilePerClass) {
        const std::string digits = std::to_string(n + 10000);
        name += "_" + (n < 10000 ? digits.substr(digits.size() - 4) : std::to_string(n));
    }
    return appFolder / info.Folder / (name + info.Extension);
}

bool WriteRecordInPlace(const std::filesystem::path& file, std::int64_t number,
                        const std::string& bytes) {
    if (number < 1) return false;
    auto out = RecordFile::Open(file, RecordFile::Access::Write);
    return out && out->WriteWhole(static_cast<std::uint64_t>(number - 1) * bytes.size(), bytes);
}

namespace {

// A new file per puzzle from number n on, skipping the names that are taken.
std::int64_t CreatePuzzleFile(const std::filesystem::path& appFolder, OutputFormat format,
                              int difficulty, std::int64_t n, const std::string& record) {
    for (;; ++n) {
        const std::filesystem::path file = OutputFile(appFolder, format, difficulty, n);
        std::error_code error;
        if (std::filesystem::exists(file, error)) continue;
        switch (CreateWholeFile(file, record)) {
            case CreateResult::Written:
                return n;
            case CreateResult::Failed:
                return 0;
            case CreateResult::NameTaken:
                break;
        }
    }
}

}  // namespace

bool SavePuzzle(const std::filesystem::path& appFolder, OutputFormat format, int difficulty,
                std::int64_t n, const std::string& record) {
    if (Info(format).OneFilePerClass)
        return WriteRecordInPlace(OutputFile(appFolder, format, difficulty, n), n, record);
    return CreatePuzzleFile(appFolder, format, difficulty, n, record) > 0;
}

std::int64_t SaveNextPuzzle(const std::filesystem::path& appFolder, OutputFormat format,
                            int difficulty, std::int64_t n, const std::string& record) {
    if (n < 1) return 0;
    if (!Info(format).OneFilePerClass)
        return CreatePuzzleFile(appFolder, format, difficulty, n, record);
    auto file =
        RecordFile::Open(OutputFile(appFolder, format, difficulty, n), RecordFile::Access::Write);
    if (!file || record.empty()) return 0;
    // The records as the file holds them now, under the lock, counted as
    // the inventory counts them.
    const std::int64_t held = RoundedRecordCount(file->Length(), record.size());
    const std::int64_t number = std::max(n, held + 1);
    if (!file->WriteWhole(static_cast<std::uint64_t>(number - 1) * record.size(), record)) return 0;
    return number;
}

std::filesystem::path ChooseDataFolder(const std::optional<std::filesystem::path>& named,
                                       const std::filesystem::path& programFolder,
                                       bool programFolderWritable,
                                       const std::filesystem::path& userFolder) {
    if (named) return *named;
    return programFolderWritable || userFolder.empty() ? programFolder : userFolder;
}

std::filesystem::path UserDataFolder(const char* xdgDataHome, const char* home) {
    // An XDG path that is not absolute is to be ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::filesystem::path(xdgDataHome) / "cluemill";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "cluemill";
    }
    return {};
}

bool FolderWritable(const std::filesystem::path& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::error_code CreateDataFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    return error;
}

void CreateOutputFolders(const std::filesystem::path& appFolder) {
    for (const FormatInfo& format : kFormats) {
        std::error_code ignored;  // above all: the folder exists already
        std::filesystem::create_directory(appFolder / format.Folder, ignored);
    }
}

std::int64_t SaveStoredPuzzle(const std::filesystem::path& appFolder, OutputFormat format,
                              int difficulty, const std::string& record, std::int32_t& stored) {
    const std::int64_t number = SaveNextPuzzle(appFolder, format, difficulty, stored + 1, record);
    // Records another program appended to a per-class file count as stored:
    // the run's next puzzle follows this one.
    if (Info(format).OneFilePerClass && number > stored + 1) {
        stored = static_cast<std::int32_t>(std::min<std::int64_t>(number - 1, INT32_MAX - 1));
    }
    return number;
}

}  // namespace cluemill
