// SPDX-License-Identifier: MIT
// The seven output formats: each record byte for byte, the file names, where
// a record goes in its file, and SaveModSud through the window's state.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "output/PuzzleFormats.h"

namespace cluemill {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

using testing::TempFolder;

using testing::ReadBytes;

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// One known puzzle: its givens, its solution and its zero-form text.
const std::string kZeroForm =
    "530070000600195000098000060800060003400803001700020006060000280000419005000080079";
const std::string kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

CellValues Digits(const std::string& text) {
    CellValues values{};
    for (int i = 0; i < 81; ++i) values[i] = static_cast<std::int8_t>(text[i] - '0');
    return values;
}

const CellValues kPuzzle = Digits(kZeroForm);
const CellValues kBoard = Digits(kSolution);

// The same puzzle, written out for each format.
const std::string kTavix =
    "\x05\x03\x00\x00\x07\x00\x00\x00\x00"
    "\x06\x00\x00\x01\x09\x05\x00\x00\x00"
    "\x00\x09\x08\x00\x00\x00\x00\x06\x00"
    "\x08\x00\x00\x00\x06\x00\x00\x00\x03"
    "\x04\x00\x00\x08\x00\x03\x00\x00\x01"
    "\x07\x00\x00\x00\x02\x00\x00\x00\x06"
    "\x00\x06\x00\x00\x00\x00\x02\x08\x00"
    "\x00\x00\x00\x04\x01\x09\x00\x00\x05"
    "\x00\x00\x00\x00\x08\x00\x00\x07\x09"
    "\x05\x03\x04\x06\x07\x08\x09\x01\x02"
    "\x06\x07\x02\x01\x09\x05\x03\x04\x08"
    "\x01\x09\x08\x03\x04\x02\x05\x06\x07"
    "\x08\x05\x09\x07\x06\x01\x04\x02\x03"
    "\x04\x02\x06\x08\x05\x03\x07\x09\x01"
    "\x07\x01\x03\x09\x02\x04\x08\x05\x06"
    "\x09\x06\x01\x05\x03\x07\x02\x08\x04"
    "\x02\x08\x07\x04\x01\x09\x06\x03\x05"
    "\x03\x04\x05\x02\x08\x06\x01\x07\x09"
    "\x00\x00\x00\x00"s;
const std::string kSimpleSudoku =
    "530|070|000\r\n600|195|000\r\n098|000|060\r\n-----------\r\n"
    "800|060|003\r\n400|803|001\r\n700|020|006\r\n-----------\r\n"
    "060|000|280\r\n000|419|005\r\n000|080|079\r\n\r\n";
const std::string kSudocue =
    "53..7....\r\n6..195...\r\n.98....6.\r\n8...6...3\r\n4..8.3..1\r\n7...2...6\r\n.6....28.\r\n..."
    "419..5\r\n....8..79";
const std::string kIntoSudoku =
    "530070000\r\n600195000\r\n098000060\r\n800060003\r\n400803001\r\n700020006\r\n060000280\r\n000"
    "419005\r\n"
    "000080079\r\n";
const std::string kExplainer = kSudocue + "\r\n";
const std::string kLineDots =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79\r\n";
const std::string kLineZeros = kZeroForm + "\r\n";

struct FormatCase {
    OutputFormat Format;
    const std::string* Record;
    std::size_t Length;
};

const std::vector<FormatCase> kFormats = {
    {OutputFormat::Tavix, &kTavix, 166},
    {OutputFormat::SimpleSudoku, &kSimpleSudoku, 145},
    {OutputFormat::Sudocue, &kSudocue, 97},
    {OutputFormat::IntoSudoku, &kIntoSudoku, 99},
    {OutputFormat::SudokuExplainer, &kExplainer, 99},
    {OutputFormat::Line81Dot, &kLineDots, 83},
    {OutputFormat::Line81Zero, &kLineZeros, 83},
};

TEST(PuzzleFormats, EachRecordByteForByte) {
    for (const auto& c : kFormats) {
        SCOPED_TRACE(static_cast<int>(c.Format));
        ASSERT_EQ(c.Record->size(), c.Length);
        EXPECT_EQ(BuildRecord(c.Format, kPuzzle, kBoard, kZeroForm), *c.Record);
        EXPECT_EQ(Info(c.Format).RecordLength, c.Length);
    }
}

TEST(PuzzleFormats, ZeroLineIsPaddedWithBlanksOrCutAt81) {
    const std::string shortText = kZeroForm.substr(0, 70);
    EXPECT_EQ(BuildRecord(OutputFormat::Line81Zero, kPuzzle, kBoard, shortText),
              shortText + std::string(11, ' ') + "\r\n");
    EXPECT_EQ(BuildRecord(OutputFormat::Line81Zero, kPuzzle, kBoard, kZeroForm + "123"),
              kLineZeros);
}

TEST(PuzzleFormats, FileNames) {
    const fs::path app = "/app";
    struct Case {
        OutputFormat Format;
        int Difficulty;
        std::int64_t N;
        const char* Path;
    };
    for (const Case& c : std::vector<Case>{
             {OutputFormat::SimpleSudoku, 1, 1, "/app/Simple Sudoku/Very_Easy_0001.ss"},
             {OutputFormat::Sudocue, 4, 345, "/app/Sudocue/Hard_0345.sdk"},
             {OutputFormat::IntoSudoku, 3, 9999, "/app/Into Sudoku/Medium_9999.sud"},
             {OutputFormat::SudokuExplainer, 6, 10000, "/app/Sudoku Explainer/Others_10000.txt"},
             {OutputFormat::SimpleSudoku, 1, 10000, "/app/Simple Sudoku/Very_Easy_10000.ss"},
             {OutputFormat::SimpleSudoku, 2, 123456, "/app/Simple Sudoku/Easy_123456.ss"},
             {OutputFormat::Tavix, 5, 77, "/app/Tavix Sudoku/Sudoku_Very_Hard.sds"},
             {OutputFormat::Line81Dot, 2, 3, "/app/Sudoku_81_Char/Sudoku_Easy.txt"},
             {OutputFormat::Line81Zero, 6, 3, "/app/Sudoku_81_Char_0/Sudoku_Others_0.txt"},
         }) {
        EXPECT_EQ(OutputFile(app, c.Format, c.Difficulty, c.N), fs::path(c.Path));
    }
}

class OutputFolder : public ::testing::Test {
  protected:
    TempFolder folder;
    void SetUp() override {
        for (const char* name : {"Tavix Sudoku", "Simple Sudoku", "Sudocue", "Sudoku_81_Char"}) {
            fs::create_directory(folder.Path / name);
        }
    }
};

TEST_F(OutputFolder, PerClassRecordGoesToItsNumberAndTouchesNothingElse) {
    const fs::path hard = folder.Path / "Tavix Sudoku" / "Sudoku_Hard.sds";
    const std::string before(12 * 166, '\x11');
    WriteBytes(hard, before);
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Tavix, 4, 13, kTavix));
    EXPECT_EQ(ReadBytes(hard), before + kTavix) << "the 13th goes at offset 1992";

    const std::string around(20 * 166, '\x22');
    WriteBytes(hard, around);
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Tavix, 4, 13, kTavix));
    EXPECT_EQ(ReadBytes(hard), around.substr(0, 1992) + kTavix + around.substr(1992 + 166));

    const fs::path dots = folder.Path / "Sudoku_81_Char" / "Sudoku_Very_Easy.txt";
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Line81Dot, 1, 1, kLineDots));
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Line81Dot, 1, 2, kLineDots));
    EXPECT_EQ(ReadBytes(dots), kLineDots + kLineDots);
    EXPECT_FALSE(fs::exists(folder.Path / "Sudoku_81_Char" / "Sudoku_Easy.txt"));
}

TEST_F(OutputFolder, PerPuzzleFileIsNeverOverwritten) {
    const fs::path simple = folder.Path / "Simple Sudoku";
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 1, kSimpleSudoku));
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0001.ss"), kSimpleSudoku);

    WriteBytes(simple / "Very_Easy_0003.ss", "keep 3");
    WriteBytes(simple / "Very_Easy_0004.ss", "keep 4");
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 3, kSimpleSudoku));
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0003.ss"), "keep 3");
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0004.ss"), "keep 4");
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_0005.ss"), kSimpleSudoku);

    WriteBytes(simple / "Very_Easy_9999.ss", "keep 9999");
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::SimpleSudoku, 1, 9999, kSimpleSudoku));
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_9999.ss"), "keep 9999");
    EXPECT_EQ(ReadBytes(simple / "Very_Easy_10000.ss"), kSimpleSudoku);

    fs::create_directory(folder.Path / "Sudocue" / "Hard_0001.sdk");
    ASSERT_TRUE(SavePuzzle(folder.Path, OutputFormat::Sudocue, 4, 1, kSudocue));
    EXPECT_EQ(ReadBytes(folder.Path / "Sudocue" / "Hard_0002.sdk"), kSudocue);
    EXPECT_EQ(fs::file_size(folder.Path / "Sudocue" / "Hard_0002.sdk"), 97u);
}

class SaveModSudTest : public ::testing::Test {
  protected:
    TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    AcceptedPuzzle puzzle;

    // Patterns.rec with two records, the test's own bytes: code, then 19
    // little-endian counters.
    static std::string Record(const std::string& code, char counterByte) {
        std::string bytes = code;
        for (int i = 0; i < 19; ++i) bytes += std::string{counterByte, 0, 0, 0};
        return bytes;
    }
    const std::string kFirst = Record(std::string(22, '0'), 1);
    const std::string kSecond = Record("01" + std::string(20, 'F'), 2);

    void SetUp() override {
        WriteBytes(folder.Path / "Patterns.rec", kFirst + kSecond);
        platform.Folder = folder.Path.string();
        main.Form_Load();
        main.Library.CurrentPattern = 2;
        main.Library.PatternRec = main.Library.ReadPatternRecord(2);
        main.Library.PatternRec.NotExpanded = {3, 1, 0, 0, 0, 0};
        main.Library.PatternRec.Expanded = {};
        main.Library.PatternRec.Minimal = {0, 0, 0, 0, 0, 0x0102};
        puzzle.Givens = kPuzzle;
        puzzle.Solution = kBoard;
        puzzle.Difficulty = 4;
        main.Form.Text2.Text = kZeroForm;
        main.StoredCount = {0, 0, 0, 12, 0, 0};
    }
};

TEST_F(SaveModSudTest, WritesThePuzzleAndThePatternRecord) {
    main.Form.Combo2.ListIndex = 0;
    main.SaveModSud(puzzle);
    // NotExpanded 3, 1, 0...; Expanded all 0; Minimal 0... 0x0102; Reserved 2 as the file had it.
    const std::string rewritten = "01" + std::string(20, 'F') + "\x03\0\0\0\x01\0\0\0"s +
                                  std::string(16, '\0') + std::string(24, '\0') +
                                  std::string(20, '\0') + "\x02\x01\0\0"s + "\x02\0\0\0"s;
    ASSERT_EQ(rewritten.size(), 98u);
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec"), kFirst + rewritten);
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 75.00 %");
    EXPECT_EQ(main.Form.Label6[3].Caption, "Easy : 25.00 %");
    EXPECT_EQ(main.Form.Label6[21].Caption, "Others : 100.00 %");

    const std::string hard = ReadBytes(folder.Path / "Tavix Sudoku" / "Sudoku_Hard.sds");
    ASSERT_EQ(hard.size(), 13u * 166);
    EXPECT_EQ(hard.substr(1992), kTavix);
    EXPECT_EQ(hard.substr(0, 1992), std::string(1992, '\0'));
    EXPECT_EQ(main.StoredCount[3], 12) << "the caller counts the puzzle";
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(SaveModSudTest, EveryFormatGoesToItsFolder) {
    puzzle.Difficulty = 1;
    main.StoredCount = {0, 0, 0, 0, 0, 0};
    const std::vector<std::pair<int, const char*>> files = {
        {0, "Tavix Sudoku/Sudoku_Very_Easy.sds"},
        {1, "Simple Sudoku/Very_Easy_0001.ss"},
        {2, "Sudocue/Very_Easy_0001.sdk"},
        {3, "Into Sudoku/Very_Easy_0001.sud"},
        {4, "Sudoku Explainer/Very_Easy_0001.txt"},
        {5, "Sudoku_81_Char/Sudoku_Very_Easy.txt"},
        {6, "Sudoku_81_Char_0/Sudoku_Very_Easy_0.txt"},
    };
    for (const auto& [index, file] : files) {
        main.Form.Combo2.ListIndex = index;
        main.SaveModSud(puzzle);
        EXPECT_EQ(ReadBytes(folder.Path / file), *kFormats[index].Record) << file;
    }
}

TEST_F(SaveModSudTest, NoFormatOrNoFolderWritesNoPuzzle) {
    main.Form.Combo2.ListIndex = -1;
    main.SaveModSud(puzzle);
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec").substr(98 + 22, 4), "\x03\0\0\0"s)
        << "the record still is";
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path)) {
        EXPECT_TRUE(!entry.is_regular_file() || entry.path().filename() == "Patterns.rec")
            << entry.path();
    }

    fs::remove_all(folder.Path / "Sudocue");
    main.Form.Combo2.ListIndex = 2;
    main.SaveModSud(puzzle);
    EXPECT_FALSE(fs::exists(folder.Path / "Sudocue"));
    EXPECT_TRUE(platform.Messages.empty());

    main.Library.CurrentPattern = 0;
    main.Form.Combo2.ListIndex = 5;
    main.SaveModSud(puzzle);
    EXPECT_EQ(fs::file_size(folder.Path / "Patterns.rec"), 2u * 98) << "record 0 is not written";
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 00.00 %");
    EXPECT_EQ(ReadBytes(folder.Path / "Sudoku_81_Char" / "Sudoku_Hard.txt").substr(12 * 83),
              kLineDots);
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
    EXPECT_EQ(UserDataFolder(nullptr, "/h"), "/h/.local/share/cluemill");
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), "");
}

}  // namespace
}  // namespace cluemill
