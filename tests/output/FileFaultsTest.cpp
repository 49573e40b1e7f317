// SPDX-License-Identifier: MIT
// The file system failing under the writers and readers of Patterns.rec and
// the output files: a full disk, a read-only folder, a folder or a pipe where
// a file should be, an output folder removed during a run, files that cannot
// be read. Nothing crashes or waits for ever, nothing is reported (a dropped
// file excepted), and every record on disk is whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/ChildProcess.h"
#include "app/FakePlatform.h"
#include "app/Main.h"
#include "generator/GeneratorTestSupport.h"
#include "output/PuzzleFormats.h"
#include "patterns/LibraryRecords.h"
#include "patterns/PatternImport.h"
#include "patterns/PatternLibrary.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using testing::Append;
using testing::ChildLimits;
using testing::RecordOf;
using testing::RunCommand;
using testing::RunInChild;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

std::int64_t Sum(const std::array<std::int32_t, 6>& counts) {
    return std::accumulate(counts.begin(), counts.end(), 0LL);
}

const std::string kCode = testing::kPatternCodes[2];

// Every format's record, a puzzle of class 2 ("Easy").
struct FormatCase {
    OutputFormat Format;
    std::size_t Length;
};
const FormatCase kFormats[] = {
    {OutputFormat::Tavix, 166},          {OutputFormat::SimpleSudoku, 145},
    {OutputFormat::Sudocue, 97},         {OutputFormat::IntoSudoku, 99},
    {OutputFormat::SudokuExplainer, 99}, {OutputFormat::Line81Dot, 83},
    {OutputFormat::Line81Zero, 83},
};

class FileFaults : public ::testing::Test {
  protected:
    testing::TempFolder folder;

    fs::path Library() const { return folder.Path / "Patterns.rec"; }
    std::vector<std::string> Cli(std::vector<std::string> args) const {
        args.push_back("--data-dir");
        args.push_back(folder.Path.string());
        return args;
    }
};

TEST_F(FileFaults, AFullDiskLeavesNoPartOfAPuzzle) {
    for (const auto& [format, length] : kFormats) {
        SCOPED_TRACE(Info(format).Folder);
        const fs::path output = folder.Path / Info(format).Folder;
        fs::create_directory(output);
        const std::string record(length, '7');
        const fs::path file = OutputFile(folder.Path, format, 2, 3);
        std::string before;
        if (Info(format).OneFilePerClass) {
            before = std::string(2 * length, '2');
            WriteBytes(file, before);
        }
        // Room for all but the last byte of the record.
        const ChildLimits full{before.size() + length - 1, false};
        EXPECT_EQ(
            RunInChild(
                full,
                [&] { return SaveNextPuzzle(folder.Path, format, 2, 3, record) == 0 ? 0 : 1; }),
            0);
        if (Info(format).OneFilePerClass) {
            EXPECT_EQ(ReadBytes(file), before) << "the file is as it was";
        } else {
            EXPECT_EQ(Entries(output), std::vector<std::string>{})
                << "no file, not even a partial one";
        }
        // With room, the puzzle is written where it would have been.
        EXPECT_EQ(SaveNextPuzzle(folder.Path, format, 2, 3, record), 3);
        EXPECT_EQ(ReadBytes(file), before + record);
    }
}

TEST_F(FileFaults, AFullDiskLeavesNoPartOfAPatternRecord) {
    PatternLibrary library;
    library.File = Library();
    ASSERT_TRUE(Append(library, kCode));
    ASSERT_TRUE(Append(library, testing::kPatternCodes[1]));
    const std::string before = ReadBytes(Library());
    ASSERT_EQ(before.size(), 2u * 98);

    const ChildLimits full{2 * 98 + 40, false};
    EXPECT_EQ(RunInChild(full,
                         [&] {
                             if (Append(library, testing::kPatternCodes[0])) return 1;
                             // The count is raised as if written, as the library always does.
                             if (library.PatternCount != 3) return 2;
                             PatternRecord counted = library.ReadPatternRecord(2);
                             ++counted.Minimal[0];
                             // A record in place needs no room.
                             if (!library.MergePatternRecord(2, counted)) return 3;
                             return library.WritePatternRecord(3, counted) ? 4 : 0;
                         }),
              0);
    const std::string after = ReadBytes(Library());
    ASSERT_EQ(after.size(), 2u * 98);
    EXPECT_EQ(after.substr(0, 98), before.substr(0, 98));
    PatternRecord expected = RecordOf(testing::kPatternCodes[1]);
    expected.Minimal[0] = 1;
    EXPECT_EQ(library.ReadPatternRecord(2), expected);
}

TEST_F(FileFaults, AGenerationRunOnAFullDiskKeepsEveryRecordWhole) {
    // Room for one record per class file: later puzzles of a class are lost.
    const ChildLimits full{166 + 100, false};
    EXPECT_EQ(RunInChild(full,
                         [&] {
                             return RunCommand(Cli({"generate", "--pattern", kCode, "--count", "6",
                                                    "--seed", "5", "--format", "0"}))
                                 .Status;
                         }),
              1)
        << "the lost puzzles are reported";
    int records = 0;
    for (int c = 1; c <= 6; ++c) {
        std::error_code error;
        const auto size = fs::file_size(OutputFile(folder.Path, OutputFormat::Tavix, c, 1), error);
        if (error) continue;
        EXPECT_EQ(size, 166u) << "class " << c;
        ++records;
    }
    EXPECT_GE(records, 1);
    PatternLibrary library;
    library.File = Library();
    library.Count();
    ASSERT_EQ(library.PatternCount, 1);
    const PatternRecord record = library.ReadPatternRecord(1);
    EXPECT_EQ(record.PatternCode, kCode);
    EXPECT_EQ(Sum(record.NotExpanded), 6) << "every accepted puzzle counts, written or not";
}

TEST_F(FileFaults, AReadOnlyFolderIsLeftAlone) {
    for (const char* name : {"Sudoku_81_Char", "Simple Sudoku"})
        fs::create_directory(folder.Path / name);
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::remove);
    }
    fs::permissions(folder.Path, fs::perms::owner_write, fs::perm_options::remove);
    const ChildLimits readOnly{std::nullopt, true};
    for (const char* format : {"5", "1"}) {
        EXPECT_EQ(RunInChild(readOnly,
                             [&] {
                                 return RunCommand(Cli({"generate", "--pattern", kCode, "--count",
                                                        "2", "--seed", "3", "--format", format}))
                                     .Status;
                             }),
                  1)
            << "the files that cannot be written are reported";
    }
    EXPECT_EQ(RunInChild(readOnly,
                         [&] {
                             return RunCommand(Cli({"patterns", "add", kCode})).Status;
                         }),
              1)
        << "the command line says it could not add";
    fs::permissions(folder.Path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(fs::exists(Library()));
    EXPECT_EQ(Entries(folder.Path / "Sudoku_81_Char"), std::vector<std::string>{});
    EXPECT_EQ(Entries(folder.Path / "Simple Sudoku"), std::vector<std::string>{});
}

TEST_F(FileFaults, PatternsRecAsAFolderReadsAsAnEmptyLibrary) {
    fs::create_directory(Library());
    PatternLibrary library;
    library.File = Library();
    library.Count();
    EXPECT_EQ(library.PatternCount, 0);
    EXPECT_EQ(library.ReadPatternRecord(1), PatternRecord{});
    EXPECT_EQ(library.FindPattern(std::string(22, ' ')), 0);
    EXPECT_FALSE(Append(library, kCode));
    EXPECT_EQ(library.PatternCount, 1);
    PatternRecord record = RecordOf(kCode);
    EXPECT_FALSE(library.MergePatternRecord(1, record));

    const auto list = RunCommand(Cli({"patterns", "list"}));
    EXPECT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out, "");
    EXPECT_EQ(RunCommand(Cli({"patterns", "add", kCode})).Status, 1);
    // A run still writes its puzzles, and says once that the library
    // could not be written.
    const auto run = RunCommand(
        Cli({"generate", "--pattern", kCode, "--count", "3", "--seed", "1", "--format", "5"}));
    EXPECT_EQ(run.Status, 1) << run.Err;
    EXPECT_TRUE(run.Err.starts_with("cluemill-cli generate: cannot write " + Library().string() +
                                    ": Is a directory\nGenerator halted\n"))
        << run.Err;
    std::uintmax_t written = 0;
    for (int c = 1; c <= 6; ++c) {
        std::error_code error;
        const auto size =
            fs::file_size(OutputFile(folder.Path, OutputFormat::Line81Dot, c, 1), error);
        if (!error) written += size;
    }
    EXPECT_EQ(written, 3u * 83);
    EXPECT_TRUE(fs::is_directory(Library()));
}

TEST_F(FileFaults, PipesAreNotWaitedFor) {
    ASSERT_EQ(mkfifo(Library().c_str(), 0666), 0);
    PatternLibrary library;
    library.File = Library();
    library.Count();
    EXPECT_EQ(library.PatternCount, 0);
    EXPECT_EQ(library.ReadPatternRecord(1), PatternRecord{});
    EXPECT_EQ(library.FindPattern(kCode), 0);
    EXPECT_FALSE(Append(library, kCode));
    EXPECT_EQ(library.PatternCount, 1);
    EXPECT_TRUE(LibraryCodes(library).empty());
    EXPECT_EQ(RunCommand(Cli({"patterns", "list"})).Status, 0);

    const fs::path dropped = folder.Path / "pipe.txt";
    ASSERT_EQ(mkfifo(dropped.c_str(), 0666), 0);
    testing::FakePlatform platform;
    Main main{platform};
    main.Text1_OLEDragDrop({dropped.string()});
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "This file cannot be read:\r\n" + dropped.string());
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
}

TEST_F(FileFaults, UnreadableFilesReadAsBlank) {
    PatternLibrary library;
    library.File = Library();
    ASSERT_TRUE(Append(library, kCode));
    const fs::path dropped = folder.Path / "puzzle.txt";
    WriteBytes(dropped, std::string(81, '5'));
    fs::permissions(Library(), fs::perms::none);
    fs::permissions(dropped, fs::perms::none);
    const std::string before = ReadBytes(Library());

    EXPECT_EQ(RunInChild({std::nullopt, true},
                         [&] {
                             PatternLibrary other;
                             other.File = Library();
                             other.Count();
                             if (other.PatternCount != 1) return 1;
                             if (other.ReadPatternRecord(1) != PatternRecord{}) return 2;
                             if (other.FindPattern(kCode) != 0) return 3;
                             if (Append(other, kCode)) return 4;
                             const auto list = RunCommand(Cli({"patterns", "list"}));
                             if (list.Status != 0 || list.Out.substr(0, 2) != "1\t") return 5;
                             testing::FakePlatform platform;
                             Main main{platform};
                             main.Text1_OLEDragDrop({dropped.string()});
                             if (platform.Messages.size() != 1 || main.Form.ButtonSolve.Enabled)
                                 return 6;
                             return 0;
                         }),
              0);
    fs::permissions(Library(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadBytes(Library()), before);
}

TEST_F(FileFaults, AnOutputFolderRemovedDuringARunLosesOnlyLaterPuzzles) {
    testing::FakePlatform platform;
    platform.Folder = folder.Path.string();
    std::mt19937 random{7};
    platform.RandomSource = [&] { return static_cast<double>(random()) / 4294967296.0; };
    Main main{platform};
    main.Form_Load();
    main.Form.Combo2.ListIndex = 5;
    main.Combo2_Click();
    const Pattern clues = DecodePattern(kCode);
    for (int i = 0; i < 81; ++i) main.Form.Grid[i].BackColor = clues[i] ? kRed : kWindowBackground;
    const fs::path output = folder.Path / "Sudoku_81_Char";
    bool removed = false;
    platform.OnDoEvents = [&](int n) {
        const auto accepted = Sum(main.Generator.NewCount);
        if (accepted == 2 && !removed) removed = fs::remove_all(output) > 0;
        if (accepted == 4 || n > 200'000) main.CommandHalt_Click();
    };
    main.CommandGenerate_Click();

    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "Generator halted");
    EXPECT_FALSE(fs::exists(output)) << "the folder is not made again";
    EXPECT_EQ(Sum(main.Generator.NewCount), 4);
    EXPECT_EQ(Sum(main.StoredCount), 4)
        << "lost puzzles still count, as the run always counts them";
    EXPECT_EQ(Sum(main.Library.ReadPatternRecord(main.Library.CurrentPattern).NotExpanded), 4);
}

}  // namespace
}  // namespace cluemill
