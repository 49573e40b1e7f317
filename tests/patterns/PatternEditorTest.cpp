// SPDX-License-Identifier: MIT
// The start-up, the pattern editor and the pattern import through the
// window's state: what Form_Load finds and makes on disk, clicking cells and
// stepping through the library, the import's rules (tests/data/
// import_rules.txt) and its walk through a file, answered by a script.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "output/PuzzleFormats.h"
#include "patterns/ImportPatterns.h"
#include "patterns/PatternImport.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using Patterns = std::vector<std::string>;

// A record: the code, then 19 little-endian counters, the first one given.
std::string Record(const std::string& code, char notExpandedVeryEasy = 0) {
    return code + std::string(1, notExpandedVeryEasy) + std::string(75, '\0');
}
const std::string kOnlyCell0 = "01" + std::string(20, '0');
const std::string kCells1And80 = "0080" + std::string(16, '0') + "01";
const std::string kAllCells = "01" + std::string(20, 'F');

class PatternEditorTest : public ::testing::Test {
  protected:
    TempFolder folder;
    FakePlatform platform;
    Main main{platform};

    void Load(const std::string& library) {
        WriteBytes(folder.Path / "Patterns.rec", library);
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    // The grid as a pattern line, X for a red cell.
    std::string Grid() const {
        std::string line;
        for (const auto& cell : main.Form.Grid) line += cell.BackColor == kRed ? 'X' : '.';
        return line;
    }
};

TEST_F(PatternEditorTest, StartUpMakesTheFoldersAndCountsTheLibrary) {
    main.Form.Main.Width = 800 * 15;
    Load("");
    for (int format = 0; format < kFormatCount; ++format) {
        const char* name = Info(static_cast<OutputFormat>(format)).Folder;
        EXPECT_TRUE(fs::is_directory(folder.Path / name)) << name;
    }
    EXPECT_EQ(main.Form.Main.Left, (1920 - 800) * 15 / 2);
    EXPECT_EQ(main.Form.Main.Top, (1080 * 15 - 7440) / 2);
    EXPECT_EQ(main.Form.LabelRow[8].Caption, "J") << "rows are A to H and J";
    EXPECT_FALSE(main.Form.NextPattern.Enabled);
    EXPECT_FALSE(main.Form.PickPattern.Enabled);
    EXPECT_TRUE(main.Form_QueryUnload());
    main.ButtonExit_Click();
    EXPECT_TRUE(platform.Ended);

    // Again, with five records and a puzzle on disk: both are kept.
    const fs::path puzzle = folder.Path / "Simple Sudoku" / "Easy_0001.ss";
    WriteBytes(puzzle, "kept");
    std::string library;
    for (int k = 0; k < 5; ++k) library += Record(kAllCells, 1);
    Main again(platform);
    WriteBytes(folder.Path / "Patterns.rec", library);
    again.Form_Load();
    EXPECT_EQ(ReadBytes(puzzle) + ReadBytes(folder.Path / "Patterns.rec"), "kept" + library);
    EXPECT_EQ(again.Library.PatternCount, 5);
    EXPECT_TRUE(again.Form.NextPattern.Enabled);
    EXPECT_TRUE(again.Form.PickPattern.Enabled);
    EXPECT_FALSE(again.Form.PreviousPattern.Enabled);
    EXPECT_EQ(again.Form.Label6[2].Caption, "Very Easy : 00.00 %") << "no pattern shown yet";
}

// Next, Prev and New step through the library; each shows its pattern and
// statistics, clears the grid's digits and what the last test left.
TEST_F(PatternEditorTest, WalkingAThreePatternLibrary) {
    const std::string library = Record(kOnlyCell0, 2) + Record(kCells1And80) + Record(kAllCells);
    Load(library);
    const std::string codes[] = {"", kOnlyCell0, kCells1And80, kAllCells};
    const std::map<char, void (Main::*)()> clicks = {{'N', &Main::NextPattern_Click},
                                                     {'P', &Main::PreviousPattern_Click},
                                                     {'0', &Main::NewPattern_Click}};
    for (const auto& [click, pattern] :
         {std::pair{'N', 1}, {'N', 2}, {'N', 3}, {'P', 2}, {'P', 1}, {'0', 0}, {'N', 1}}) {
        main.Form.ButtonSolve.Enabled = true;
        main.Form.CommandGenerate.Caption = "something else";
        main.Form.Grid[40].Caption = "7";
        main.Form.Grid[40].ForeColor = kWhite;
        (main.*clicks.at(click))();
        EXPECT_EQ(main.Library.CurrentPattern, pattern);
        EXPECT_EQ(main.Form.PreviousPattern.Enabled, pattern > 1) << pattern;
        EXPECT_EQ(main.Form.NextPattern.Enabled, pattern < 3) << pattern;
        EXPECT_EQ(main.GridPattern(), DecodePattern(codes[pattern])) << pattern;
        EXPECT_EQ(main.Form.PatternName.Caption, "Pattern name: " + codes[pattern]);
        EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
        EXPECT_EQ(main.Form.CommandGenerate.Caption, "Generate Sudokus");
        EXPECT_EQ(main.Form.Grid[40].Caption + std::to_string(main.Form.Grid[40].ForeColor), "0");
    }
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 100.00 %") << "pattern 1's statistics";
    EXPECT_EQ(ReadBytes(folder.Path / "Patterns.rec"), library) << "navigation never writes";
}

// A click toggles one cell; only red is a clue, any other colour empties.
TEST_F(PatternEditorTest, GridClickTogglesACellOnly) {
    Load(Record(kOnlyCell0) + Record(kCells1And80));
    main.NextPattern_Click();
    main.NextPattern_Click();
    for (const int cell : {1, 1, 0, 9, 17, 40, 40}) {
        main.Form.ButtonSolve.Enabled = true;
        main.Grid_Click(cell);
        EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
    }
    EXPECT_EQ(main.Form.PatternName.Caption, "Pattern name: " + kCells1And80);
    main.Form.Grid[5].BackColor = kWhite;
    EXPECT_EQ(main.EncodeGrid(), "0180808000000000000001");
    main.Grid_Click(5);
    EXPECT_EQ(main.Form.Grid[5].BackColor, kWindowBackground);
}

TEST(ImportRules, FirstBrokenRuleIsReported) {
    const Patterns names = {"None",         "TooFewClues", "Centre",
                            "NotSymmetric", "OneLine",     "EmptyBoxes"};
    std::ifstream in(CLUEMILL_TEST_DATA "/import_rules.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line); cases += line[0] != '#') {
        if (line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, rows;
        fields >> name >> rows;
        std::erase(rows, '/');
        EXPECT_EQ(static_cast<int>(CheckImportable(PatternOf(rows))),
                  std::find(names.begin(), names.end(), name) - names.begin())
            << line;
    }
    EXPECT_EQ(cases, 11);
}

class PatternImportTest : public PatternEditorTest {
  protected:
    // The answers still to give (1 Yes, 2 No, 3 Cancel), and the patterns
    // shown when each question was asked.
    std::vector<int> answers;
    Patterns asked;
    fs::path file = folder.Path / "puzzles.sds";

    void SetUp() override {
        platform.OnDoEvents = [this](int) {
            if (!main.Form.Picture1.Visible) return;
            ASSERT_FALSE(answers.empty()) << "a question too many";
            asked.push_back(Grid());
            const int answer = answers.front();
            answers.erase(answers.begin());
            (main.*(answer == 1   ? &Main::CommandYes_Click
                    : answer == 2 ? &Main::CommandNo_Click
                                  : &Main::CommandCancel_Click))();
        };
    }
    void Import(const std::string& bytes, std::vector<int> script) {
        WriteBytes(file, bytes);
        answers = std::move(script);
        platform.FilesToOpen = {file.string()};
        main.ImportPattern_Click();
        EXPECT_TRUE(answers.empty()) << answers.size() << " answers not asked for";
    }
    Patterns Library() {
        main.Library.Count();
        Patterns patterns;
        for (std::int32_t k = 1; k <= main.Library.PatternCount; ++k) {
            std::string line;
            for (const bool clue : DecodePattern(main.Library.ReadPatternRecord(k).PatternCode))
                line += clue ? 'X' : '.';
            patterns.push_back(line);
        }
        return patterns;
    }
};

// Unsuitable and known patterns are skipped silently; a new one is asked
// for as it is shown, again after No, not after Yes; Cancel ends the walk.
TEST_F(PatternImportTest, EachNewPatternIsOffered) {
    Load("");
    const std::string nineteen = std::string(19, 'X') + std::string(62, '.');
    Import(SdsFileOf({nineteen, kSuitable21, kSuitable21, kSuitable22, kSuitable22, kSuitable26,
                      kSuitable20}),
           {1, 2, 2, 3});
    EXPECT_EQ(asked, Patterns({kSuitable21, kSuitable22, kSuitable22, kSuitable26}));
    EXPECT_EQ(Library(), Patterns({kSuitable21}));
    // The first pattern of an empty library enables the picker; the grid is
    // empty again and CurrentPattern 0 lies before record 1.
    EXPECT_TRUE(main.Form.PickPattern.Enabled);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);
    EXPECT_EQ(main.Library.CurrentPattern, 0);
    EXPECT_EQ(Grid(), std::string(81, '.'));
    // A file's bytes after its last whole record are not read.
    Import(SdsFileOf({kSuitable20, kSuitable26}) + std::string(165, '\x01'), {1, 2});
    EXPECT_EQ(Library(), Patterns({kSuitable21, kSuitable20}));
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(PatternImportTest, WindowIsLockedDuringTheWalkAndRestoredAfterIt) {
    Load(Record(EncodePattern(PatternOf(kSuitable20))) +
         Record(EncodePattern(PatternOf(kSuitable21))));
    main.NextPattern_Click();  // pattern 1 of 2
    main.Form.Text2.Locked = false;
    const Form& f = main.Form;
    const std::vector<const Control*> locked = {
        &f.CommandGenerate, &f.ImportPattern, &f.PickPattern, &f.NextPattern,
        &f.ButtonExit,      &f.Combo2,        &f.Grid[0]};
    platform.OnDoEvents = [&](int) {
        if (!f.Picture1.Visible) return;
        for (const Control* control : locked) EXPECT_FALSE(control->Enabled);
        EXPECT_TRUE(f.Text2.Locked);
        EXPECT_EQ(Grid(), kSuitable22);
        EXPECT_EQ(f.PatternName.Caption, "Pattern name: " + EncodePattern(PatternOf(kSuitable22)));
        asked.push_back(Grid());
        main.CommandYes_Click();
    };
    Import(SdsFileOf({kSuitable22}), {});
    EXPECT_EQ(asked.size(), 1u);
    // The pattern shown before stays current; the appended one lies behind it.
    EXPECT_EQ(main.Library.CurrentPattern, 1);
    EXPECT_EQ(main.Library.PatternCount, 3);
    EXPECT_EQ(Grid(), kSuitable20);
    EXPECT_FALSE(f.Picture1.Visible);
    EXPECT_FALSE(f.PreviousPattern.Enabled);
    for (const Control* control : locked) EXPECT_TRUE(control->Enabled);
    EXPECT_FALSE(f.Text2.Locked);
}

TEST_F(PatternImportTest, FileProblemsAreReported) {
    Load(Record(EncodePattern(PatternOf(kSuitable20))));
    main.Form.Grid[5].BackColor = kRed;
    platform.FilesToOpen = {std::nullopt};  // the dialog cancelled
    main.ImportPattern_Click();
    EXPECT_EQ(main.Form.Grid[5].BackColor, kRed);
    Import(std::string(165, '\x01'), {});
    // A folder can be chosen by name but not measured or read.
    fs::create_directory(folder.Path / "folder.sds");
    platform.FilesToOpen = {(folder.Path / "folder.sds").string()};
    main.ImportPattern_Click();
    // The file shrinks under the walk: a record that is gone cannot be read.
    platform.OnDoEvents = [&](int) {
        if (!main.Form.Picture1.Visible) return;
        fs::resize_file(file, 166);
        main.CommandYes_Click();
    };
    Import(SdsFileOf(Patterns(200, kSuitable21)), {});
    std::string messages;
    for (const auto& message : platform.Messages)
        messages += message.Caption + ": " + message.Text + "\n";
    EXPECT_EQ(messages,
              "Empty or invalid file: File does not contain sudokus\n"
              "File error: An error occured while trying to open file " +
                  (folder.Path / "folder.sds").string() +
                  "\nFile error: An error occured while trying to read file " + file.string() +
                  "\n");
    EXPECT_EQ(Library(), Patterns({kSuitable20, kSuitable21}));
    EXPECT_TRUE(main.Form.CommandGenerate.Enabled);
    EXPECT_TRUE(main.Form.ImportPattern.Enabled);
}

}  // namespace
}  // namespace cluemill
