// SPDX-License-Identifier: MIT
// The output files: each format's record byte for byte (tests/data/records),
// file names, where a record goes, the count of stored puzzles, the
// statistics as percentages (tests/data/performance.txt), SaveModSud
// through the window's state, and the data folder. Then the file system
// failing under the writers and readers of Patterns.rec and the output
// files: a full disk, a folder or a pipe where a file should be. Nothing
// crashes or waits for ever, nothing is reported (a dropped file excepted),
// and every record on disk is whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "app/ChildProcess.h"
#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "output/Inventory.h"
#include "output/Performance.h"
#include "patterns/ImportPatterns.h"
#include "patterns/PatternImport.h"

namespace cluemill {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using testing::Append;
using testing::ReadBytes;
using testing::RunInChild;
using testing::WriteBytes;
using Counts = std::array<std::int32_t, 6>;
using Lines = std::array<std::string, 6>;

const std::string kZeroForm =
    "530070000600195000098000060800060003400803001700020006060000280000419005000080079";
CellValues Digits(const std::string& text) {
    CellValues values{};
    for (int i = 0; i < 81; ++i) values[i] = static_cast<std::int8_t>(text[i] - '0');
    return values;
}
const CellValues kPuzzle = Digits(kZeroForm);
const CellValues kBoard =
    Digits("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

// The puzzle's record in each format, in the order of the format list, and
// the file a "Very Easy" puzzle numbered 1 goes to.
std::string Record(int format) {
    const char* const files[] = {
        "puzzle.sds",           "puzzle.ss",       "puzzle.sdk",      "puzzle.sud",
        "puzzle-explainer.txt", "puzzle-dots.txt", "puzzle-zeros.txt"};
    return ReadBytes(std::string(CLUEMILL_TEST_DATA "/records/") + files[format]);
}
const char* const kFirstFiles[] = {"Tavix Sudoku/Sudoku_Very_Easy.sds",
                                   "Simple Sudoku/Very_Easy_0001.ss",
                                   "Sudocue/Very_Easy_0001.sdk",
                                   "Into Sudoku/Very_Easy_0001.sud",
                                   "Sudoku Explainer/Very_Easy_0001.txt",
                                   "Sudoku_81_Char/Sudoku_Very_Easy.txt",
                                   "Sudoku_81_Char_0/Sudoku_Very_Easy_0.txt"};

TEST(PuzzleFormats, RecordsAndFileNames) {
    for (int format = 0; format < kFormatCount; ++format) {
        const auto f = static_cast<OutputFormat>(format);
        EXPECT_EQ(BuildRecord(f, kPuzzle, kBoard, kZeroForm), Record(format)) << format;
        EXPECT_EQ(Info(f).RecordLength, Record(format).size()) << format;
        EXPECT_EQ(OutputFile("/a", f, 1, 1), fs::path("/a") / kFirstFiles[format]);
    }
    // The zero form is the first 81 characters of the text, blank padded.
    EXPECT_EQ(BuildRecord(OutputFormat::Line81Zero, kPuzzle, kBoard, kZeroForm.substr(0, 70)),
              kZeroForm.substr(0, 70) + std::string(11, ' ') + "\r\n");
    EXPECT_EQ(BuildRecord(OutputFormat::Line81Zero, kPuzzle, kBoard, kZeroForm + "1"), Record(6));
    EXPECT_EQ(OutputFile("/a", OutputFormat::Sudocue, 4, 345), "/a/Sudocue/Hard_0345.sdk");
    EXPECT_EQ(OutputFile("/a", OutputFormat::IntoSudoku, 6, 10000),
              "/a/Into Sudoku/Others_10000.sud");
    EXPECT_EQ(OutputFile("/a", OutputFormat::Tavix, 5, 77), "/a/Tavix Sudoku/Sudoku_Very_Hard.sds");
}

TEST(PuzzleFormats, RecordsGoToTheirNumberAndNoFileIsOverwritten) {
    testing::TempFolder folder;
    CreateOutputFolders(folder.Path);
    const fs::path hard = OutputFile(folder.Path, OutputFormat::Tavix, 4, 1);
    const std::string around(20 * 166, '\x22');
    WriteBytes(hard, around);
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Tavix, 4, 13, Record(0)));
    EXPECT_EQ(ReadBytes(hard), around.substr(0, 1992) + Record(0) + around.substr(1992 + 166));
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Line81Dot, 1, 2, Record(5)));
    EXPECT_EQ(ReadBytes(folder.Path / kFirstFiles[5]), std::string(83, '\0') + Record(5));

    const fs::path simple = folder.Path / "Simple Sudoku";
    WriteBytes(simple / "Very_Easy_0003.ss", "keep 3");
    fs::create_directory(simple / "Very_Easy_0004.ss");
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 3, Record(1)));
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0003.ss") + ReadBytes(simple / "Very_Easy_0005.ss"),
              "keep 3" + Record(1));
    WriteBytes(simple / "Very_Easy_9999.ss", "keep 9999");
    EXPECT_EQ(SaveNextPuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 9999, Record(1)), 10000);
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_9999.ss") + ReadBytes(simple / "Very_Easy_10000.ss"),
              "keep 9999" + Record(1));
    EXPECT_EQ(SaveNextPuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 0, Record(1)), 0);
    EXPECT_FALSE(fs::exists(simple / "Very_Easy_0000.ss"));
}

// "?" is exactly one character (of one or more bytes), case does not matter,
// the whole name must match.
TEST(CountStored, MatchingNamesAndRoundedLengths) {
    for (const auto& [name, matches] :
         std::vector<std::pair<std::string, bool>>{{"Very_Easy_0001.ss", true},
                                                   {"very_easy_a?.d.SS", true},
                                                   {"Very_Easy_00\xC3\xA9\xC3\xA9.ss", true},
                                                   {"Very_Easy_00\xC3\xA9.ss", false},
                                                   {"Very_Easy_00001.ss", false},
                                                   {"Very_Easy_001.ss", false},
                                                   {"Very_Easy_0001.ss.bak", false},
                                                   {"xVery_Easy_0001.ss", false},
                                                   {"", false}}) {
        EXPECT_EQ(MatchesFilePattern(name, "VERY_Easy_????.ss"), matches) << name;
    }
    testing::TempFolder folder;
    for (const OutputFormat format : {OutputFormat::Tavix, OutputFormat::Line81Zero}) {
        EXPECT_EQ(CountStored(folder.Path, format), Counts{}) << "missing folder";
        const std::size_t r = Info(format).RecordLength;
        const auto file = [&](int c) { return OutputFile(folder.Path, format, c, 1); };
        fs::create_directories(file(1).parent_path());
        // Lengths are rounded, a half to the even neighbour.
        for (const auto& [c, length] : std::vector<std::pair<int, std::size_t>>{
                 {1, 12 * r}, {2, 12 * r + r / 2}, {3, 0}, {4, 13 * r + (r + 1) / 2}, {6, r - 1}})
            WriteBytes(file(c), std::string(length, 'x'));
        fs::create_directories(file(5));
        WriteBytes(file(6).string() + ".bak", std::string(40 * r, 'x'));
        EXPECT_EQ(CountStored(folder.Path, format), (Counts{12, 12, 0, 14, 0, 1})) << r;
    }
    for (const OutputFormat format : {OutputFormat::SimpleSudoku, OutputFormat::SudokuExplainer}) {
        const fs::path dir = folder.Path / Info(format).Folder;
        const std::string ext = Info(format).Extension;
        fs::create_directories(dir / ("Easy_0003" + ext));
        ASSERT_EQ(mkfifo((dir / ("Easy_0004" + ext)).c_str(), 0666), 0);
        for (const std::string name : {"Very_Easy_0001", "Very_Easy_abcd", "Very_Easy_00001",
                                       "Easy_0001", "EASY_0002", "Others_9999", "Others_10000"})
            WriteBytes(dir / (name + ext), "x");
        WriteBytes(dir / ("Very_Easy_0001" + ext + ".bak"), "x");
        WriteBytes(dir / "Hard_0001.sds", "x");
        WriteBytes(folder.Path / Info(OutputFormat::Tavix).Folder / ("Medium_0001" + ext), "x");
        EXPECT_EQ(CountStored(folder.Path, format), (Counts{2, 2, 0, 0, 0, 1})) << ext;
    }
}

// The six lines of a block from the six shares between prefix and " %".
Lines Block(std::istream& shares) {
    Lines lines;
    const char* const names[] = {"Very Easy", "Easy", "Medium", "Hard", "Very Hard", "Others"};
    for (int c = 0; c < 6; ++c) {
        std::string share;
        shares >> share;
        lines[c] = std::string(names[c]) + " : " + share + " %";
    }
    return lines;
}
Lines Block(const std::string& shares) {
    std::istringstream in(shares);
    return Block(in);
}
const Lines kZeroLines = Block("00.00 00.00 00.00 00.00 00.00 00.00");

TEST(PerformanceLines, SharesFromTheTable) {
    std::ifstream in(CLUEMILL_TEST_DATA "/performance.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Counts counters{};
        char separator = 0;
        for (auto& counter : counters) fields >> counter;
        fields >> separator;
        EXPECT_EQ(PerformanceLines(counters, false, separator), Block(fields)) << line;
        EXPECT_EQ(PerformanceLines(counters, true, separator), kZeroLines) << line;
        ++cases;
    }
    EXPECT_EQ(cases, 11);
    // No puzzles: the fixed zero texts, with a point or, asked for, a comma.
    EXPECT_EQ(PerformanceLines({}, false, ','), kZeroLines);
    EXPECT_EQ(PerformanceLines({}, false, '.', true)[5], "Others : 00,00 %");
}

class SaveModSudTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    AcceptedPuzzle puzzle;
    // Two records of the test's own bytes: a code, then 19 counters.
    const std::string kFirst = std::string(22, '0') + std::string(76, '\x01');
    const std::string kSecond = "01" + std::string(20, 'F') + std::string(76, '\x02');
    const fs::path kLibrary = folder.Path / "Patterns.rec";

    Lines Shown(int first) const {
        Lines lines;
        for (int c = 0; c < 6; ++c) lines[c] = main.Form.Label6[first + c].Caption;
        return lines;
    }
    void SetUp() override {
        WriteBytes(kLibrary, kFirst + kSecond);
        platform.Folder = folder.Path.string();
        platform.Separator = ',';
        main.Form_Load();
        main.Library.CurrentPattern = 2;
        main.Library.PatternRec = main.Library.ReadPatternRecord(2);
        main.Library.PatternRec.NotExpanded = {3, 1, 0, 0, 0, 0};
        main.Library.PatternRec.Expanded = {};
        main.Library.PatternRec.Minimal = {0, 0, 0, 0, 0, 0x0102};
        main.Library.PatternRec.Reserved = 5;
        main.Form.Text2.Text = kZeroForm;
        main.StoredCount = {0, 0, 0, 12, 0, 0};
        puzzle.Givens = kPuzzle;
        puzzle.Solution = kBoard;
        puzzle.Difficulty = 4;
    }
};

// Another program added to the record and to the class's file meanwhile:
// the counts are merged, the puzzle goes after its records and they count.
TEST_F(SaveModSudTest, WritesThePuzzleAndThePatternRecordAndShowsItsStatistics) {
    main.Library.PatternRec.Expanded[2] = 7;
    WriteBytes(kLibrary, kFirst + kSecond.substr(0, 42) + '\x03' + kSecond.substr(43));
    const fs::path hard = OutputFile(folder.Path, OutputFormat::Tavix, 4, 1);
    WriteBytes(hard, std::string(13 * 166 + 100, 'z'));  // rounds to 14 records
    main.SaveModSud(puzzle);
    EXPECT_EQ(ReadBytes(kLibrary), kFirst + kSecond.substr(0, 22) + "\x03\0\0\0\x01\0\0\0"s +
                                       std::string(12, '\0') + "\x01\0\0\0"s +
                                       std::string(8, '\0') + "\x07\0\0\0"s +
                                       std::string(32, '\0') + "\x02\x01\0\0\x02\x02\x02\x02"s);
    EXPECT_EQ(Shown(2), Block("60,00 20,00 00,00 00,00 00,00 20,00"));
    EXPECT_EQ(Shown(9), Block("00,00 00,00 100,00 00,00 00,00 00,00"));
    EXPECT_EQ(Shown(16), Block("00,00 00,00 00,00 00,00 00,00 100,00"));
    EXPECT_EQ(main.Form.Label6[15].Caption, "Minimal");
    EXPECT_EQ(ReadBytes(hard),
              std::string(13 * 166 + 100, 'z') + std::string(66, '\0') + Record(0));
    EXPECT_EQ(main.StoredCount[3], 14) << "the caller counts the puzzle";
    puzzle.Difficulty = 1;
    for (int format = 0; format < kFormatCount; ++format) {
        main.Form.Combo2.ListIndex = format;
        main.SaveModSud(puzzle);
        EXPECT_EQ(ReadBytes(folder.Path / kFirstFiles[format]), Record(format)) << format;
    }
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(SaveModSudTest, NoFormatOrNoFolderWritesNoPuzzleAndNoPatternNoRecord) {
    main.Form.Combo2.ListIndex = -1;
    main.SaveModSud(puzzle);
    EXPECT_EQ(ReadBytes(kLibrary).substr(98 + 22, 4), "\x03\0\0\0"s) << "the record still is";
    fs::remove_all(folder.Path / "Sudocue");
    main.Form.Combo2.ListIndex = 2;
    main.SaveModSud(puzzle);
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path))
        EXPECT_TRUE(!entry.is_regular_file() || entry.path() == kLibrary) << entry.path();
    EXPECT_FALSE(fs::exists(folder.Path / "Sudocue")) << "the folder is not made again";
    main.Library.CurrentPattern = 0;
    main.SaveModSud(puzzle);
    EXPECT_EQ(fs::file_size(kLibrary), 2u * 98) << "record 0 is not written";
    for (int first : {2, 9, 16}) EXPECT_EQ(Shown(first), kZeroLines) << "a new pattern's";
}

TEST_F(SaveModSudTest, StatusBarCountsTheSelectedFormat) {
    const fs::path simple = folder.Path / "Simple Sudoku";
    WriteBytes(folder.Path / "Tavix Sudoku" / "Sudoku_Others.sds", std::string(1234 * 166, 'x'));
    for (const char* name : {"Very_Easy_0001.ss", "Very_Easy_0002.ss", "Very_Hard_0001.ss"})
        WriteBytes(simple / name, "x");
    main.Form_Load();
    EXPECT_EQ(main.Form.StatusBar.Panels, (Lines{"Very Easy: 0", "Easy: 0", "Medium: 0", "Hard: 0",
                                                 "Very Hard: 0", "Others: 1234"}));
    main.Form.Combo2.ListIndex = 1;
    main.Combo2_Click();
    EXPECT_EQ(main.StoredCount, (Counts{2, 0, 0, 0, 1, 0}));
    EXPECT_EQ(main.Form.StatusBar.Panels[4], "Very Hard: 1");
    puzzle.Difficulty = 1;  // the next puzzle follows the counted ones
    main.SaveModSud(puzzle);
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0003.ss"), Record(1));
    main.Combo2_Click();
    EXPECT_EQ(main.StoredCount[0], 3) << "selecting again recounts";
    main.Form.Combo2.ListIndex = -1;
    main.StoredCount[0] = 99;
    main.Combo2_Click();
    EXPECT_EQ(main.Form.StatusBar.Panels[0], "Very Easy: 99") << "no entry keeps the counts";
}

// The folder named wins; else the program's own folder when it can be
// written (a build), else the user's data folder (an installed program).
TEST(DataFolder, NamedElseWritableProgramFolderElseTheUsers) {
    const std::optional<fs::path> none;
    EXPECT_EQ(ChooseDataFolder(fs::path("/d"), "/p", false, "/u"), "/d");
    EXPECT_EQ(ChooseDataFolder(none, "/p", true, "/u"), "/p");
    EXPECT_EQ(ChooseDataFolder(none, "/p", false, "/u"), "/u");
    EXPECT_EQ(ChooseDataFolder(none, "/p", false, ""), "/p");
    EXPECT_EQ(UserDataFolder("/x", "/h"), "/x/cluemill");
    EXPECT_EQ(UserDataFolder("x", "/h"), "/h/.local/share/cluemill") << "a relative XDG path";
    EXPECT_EQ(UserDataFolder(nullptr, ""), "");
}

const std::string kCode = "00F32B218102810309A99E";

class FileFaults : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    PatternLibrary library;
    void SetUp() override { library.File = folder.Path / "Patterns.rec"; }
};

TEST_F(FileFaults, AFullDiskLeavesNoPartOfAPuzzle) {
    CreateOutputFolders(folder.Path);
    for (int f = 0; f < kFormatCount; ++f) {
        const auto format = static_cast<OutputFormat>(f);
        const std::size_t length = Info(format).RecordLength;
        const std::string record(length, '7');
        const fs::path file = OutputFile(folder.Path, format, 2, 3);
        const std::string before(Info(format).OneFilePerClass ? 2 * length : 0, '2');
        if (!before.empty()) testing::WriteBytes(file, before);
        // Room for all but the last byte of the record.
        EXPECT_EQ(RunInChild(before.size() + length - 1,
                             [&] {
                                 return static_cast<int>(
                                     SaveNextPuzzle(folder.Path, format, 2, 3, record));
                             }),
                  0);
        EXPECT_EQ(ReadBytes(file), before) << "the file is as it was, or none";
        EXPECT_EQ(
            std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator{}),
            before.empty() ? 0 : 1)
            << "no partial file is left";
        // With room, the puzzle is written where it would have been.
        EXPECT_EQ(SaveNextPuzzle(folder.Path, format, 2, 3, record), 3);
        EXPECT_EQ(ReadBytes(file), before + record);
    }
}

TEST_F(FileFaults, AFullDiskLeavesNoPartOfAPatternRecord) {
    ASSERT_TRUE(Append(library, std::string(22, '1')));
    ASSERT_TRUE(Append(library, kCode));
    const std::string before = ReadBytes(library.File);
    EXPECT_EQ(RunInChild(2 * 98 + 40,
                         [&] {
                             if (Append(library, std::string(22, '2'))) return 1;
                             // The count is raised as if written, as the library always does.
                             if (library.PatternCount != 3) return 2;
                             PatternRecord counted = library.ReadPatternRecord(2);
                             ++counted.Minimal[0];
                             // A record in place needs no room.
                             if (!library.MergePatternRecord(2, counted)) return 3;
                             return library.WritePatternRecord(3, counted) ? 4 : 0;
                         }),
              0);
    EXPECT_EQ(ReadBytes(library.File), before.substr(0, 98 + 70) + '\x01' + before.substr(169));
}

// A folder or a pipe named Patterns.rec reads as an empty library and is
// neither written nor waited for; a pipe dropped as a puzzle is refused.
TEST_F(FileFaults, PatternsRecThatIsNoFileIsAnEmptyLibrary) {
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "pipe" : "folder");
        fs::remove_all(library.File);
        if (pipe) {
            ASSERT_EQ(mkfifo(library.File.c_str(), 0666), 0);
        } else {
            fs::create_directory(library.File);
        }
        library.Count();
        EXPECT_EQ(library.PatternCount, 0);
        EXPECT_EQ(library.ReadPatternRecord(1), PatternRecord{});
        EXPECT_EQ(library.FindPattern(std::string(22, ' ')), 0);
        EXPECT_EQ(Append(library, kCode), 0);
        EXPECT_EQ(library.PatternCount, 1);
        PatternRecord record = testing::RecordOf(kCode);
        EXPECT_FALSE(library.MergePatternRecord(1, record));
        EXPECT_TRUE(LibraryCodes(library).empty());
    }
    const fs::path dropped = folder.Path / "pipe.txt";
    ASSERT_EQ(mkfifo(dropped.c_str(), 0666), 0);
    testing::FakePlatform platform;
    Main main{platform};
    main.Text1_OLEDragDrop({dropped.string()});
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "This file cannot be read:\r\n" + dropped.string());
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
}

// A last record the file holds only in part still gives its code.
TEST_F(FileFaults, LibraryCodesReadEveryRecordOnce) {
    std::string bytes;
    for (int k = 0; k < 1030; ++k) {
        const auto record = ToBytes(testing::RecordOf(std::to_string(k + 100000)));
        bytes.append(record.begin(), record.end());
    }
    testing::WriteBytes(library.File, bytes + "0000000000000000000001" + std::string(38, '\0'));
    library.Count();
    const auto codes = LibraryCodes(library);
    EXPECT_EQ(codes.size(), 1031u);
    EXPECT_TRUE(codes.contains("101029" + std::string(16, ' ')));
    EXPECT_TRUE(codes.contains("0000000000000000000001"));
}

}  // namespace
}  // namespace cluemill
