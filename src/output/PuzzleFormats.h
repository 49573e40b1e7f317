// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "solver/Solver.h"

namespace cluemill {

// The seven output formats, in the order of the format list.
enum class OutputFormat {
    Tavix,
    SimpleSudoku,
    Sudocue,
    IntoSudoku,
    SudokuExplainer,
    Line81Dot,
    Line81Zero
};
inline constexpr int kFormatCount = 7;

struct FormatInfo {
    const char* Folder;
    // Per-class file name before the class word, after it; per-puzzle
    // formats name each file word "_" NNNN Extension.
    bool OneFilePerClass;
    const char* Prefix;
    const char* Extension;
    std::size_t RecordLength;
};

const FormatInfo& Info(OutputFormat format);
// The class word of a difficulty class 1 to 6 in file names ("Very_Easy" ...).
const char* ClassWord(int difficulty);

// A puzzle in the two textual forms: dot form (the solution's digit at a
// given, "." elsewhere) and zero form (81 characters of the puzzle text, "0"
// at an empty cell).
std::string DotForm(const CellValues& puzzle, const CellValues& board);
std::string ZeroForm(const std::string& text);

// One record of a format, byte for byte.
std::string BuildRecord(OutputFormat format, const CellValues& puzzle, const CellValues& board,
                        const std::string& zeroForm);

// The file a puzzle of class `difficulty` numbered n goes to, inside
// appFolder. Per-puzzle formats write n as four digits (0001 to 9999) and
// wider from 10 000 on.
std::filesystem::path OutputFile(const std::filesystem::path& appFolder, OutputFormat format,
                                 int difficulty, std::int64_t n);

// Writes bytes as record `number` (from 1) of a file of records of their
// length, creating the file when missing and touching nothing else. The
// record is written whole or not at all. True if written.
bool WriteRecordInPlace(const std::filesystem::path& file, std::int64_t number,
                        const std::string& bytes);

// Writes a puzzle numbered n (StoredCount + 1) of class `difficulty`. A
// per-puzzle format never overwrites a file: when the name of n is taken,
// the next free number is used.
bool SavePuzzle(const std::filesystem::path& appFolder, OutputFormat format, int difficulty,
                std::int64_t n, const std::string& record);

// As SavePuzzle, but a per-class file only ever grows: when it holds n
// records or more already (another program wrote to it meanwhile), the
// puzzle goes after its last record. The number the puzzle was written as,
// or 0 when it was not written.
std::int64_t SaveNextPuzzle(const std::filesystem::path& appFolder, OutputFormat format,
                            int difficulty, std::int64_t n, const std::string& record);

// The data folder a program uses: the one named (--data-dir); else its own
// folder when it can write there (a build in a checkout); else the user's
// data folder (an installed program, whose folder is the system's).
std::filesystem::path ChooseDataFolder(const std::optional<std::filesystem::path>& named,
                                       const std::filesystem::path& programFolder,
                                       bool programFolderWritable,
                                       const std::filesystem::path& userFolder);
// The user's data folder of Cluemill: $XDG_DATA_HOME/cluemill, or
// ~/.local/share/cluemill ($HOME), as the desktop names it; empty when
// neither is set.
std::filesystem::path UserDataFolder(const char* xdgDataHome, const char* home);
// Whether the program may write its files into the folder.
bool FolderWritable(const std::filesystem::path& folder);

// Creates the data folder (with its parents) when missing: the reason when
// it cannot be made or is no folder, nothing otherwise.
std::error_code CreateDataFolder(const std::filesystem::path& folder);
// Creates the seven output folders in the data folder, in the order of the
// formats; a folder that exists already, or cannot be made, is passed over.
void CreateOutputFolders(const std::filesystem::path& appFolder);

// Writes a puzzle of class `difficulty` as the next of the `stored` puzzles
// the format holds (SaveNextPuzzle with n = stored + 1). Records another
// program appended to a per-class file meanwhile count as stored: stored
// becomes the number before this puzzle's (the caller counts this one). The
// number written, or 0 when it was not written (errno tells why).
std::int64_t SaveStoredPuzzle(const std::filesystem::path& appFolder, OutputFormat format,
                              int difficulty, const std::string& record, std::int32_t& stored);

}  // namespace cluemill
