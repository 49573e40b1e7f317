// SPDX-License-Identifier: MIT
// rate, test and grade over the puzzle lines of tests/data/verdicts.txt and
// expansions.txt: every printed line must say what the line's record says
// (the files explain their fields), print the puzzle as read, and carry
// solutions that solve what they belong to. The records were checked once
// against literal second implementations of the solver, the test and the
// acceptance; this keeps every later version to them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "tester/PuzzleText.h"

namespace cluemill {
namespace {

using Fields = std::vector<std::string>;

// A complete grid without a conflict that keeps every given of puzzle.
bool Solves(const std::string& grid, const std::string& puzzle) {
    const CellValues cells = ReadPuzzleText(grid);
    const CellValues givens = ReadPuzzleText(puzzle);
    for (int i = 0; i < kCells; ++i) {
        if (givens[i] != 0 && givens[i] != cells[i]) return false;
    }
    return grid.size() == kCells && CountEmptyCells(cells) == 0 && !GivensConflict(cells);
}

// What the record says of a printed line, checked on the way for what the
// record leaves out: solutions and boards.
std::string RateRecord(const Fields& f, const std::string& puzzle) {
    EXPECT_EQ(f[1] == "unique", f[3] != "-");
    // Solved by logic, the board is the solution; after the search it is
    // the logic pass's state; with several solutions the second one found.
    EXPECT_TRUE(f[1] != "unique" || (Solves(f[3], puzzle) && (f[4] == f[3]) == (f[2] != "6")));
    EXPECT_TRUE(f[1] != "multiple" || Solves(f[4], puzzle));
    EXPECT_TRUE((f[1] != "invalid" && f[1] != "complete") || f[4] == puzzle);
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(puzzle[i] == '.' || f[4][i] == puzzle[i]);
    return f[1].substr(0, 1) + f[2];
}

std::string TestRecord(const Fields& f, const std::string& puzzle) {
    const Fields verdicts = {"Invalid given(s) found !!!",
                             "The sudoku you want to test is complete allready !!!",
                             "This Sudoku has no solution",
                             "This Sudoku has more than one solution",
                             "This Sudoku has one unique solution and is minimal",
                             "This Sudoku has one unique solution but is non-minimal"};
    std::size_t v = 0;
    while (v < verdicts.size() && f[1] != verdicts[v]) ++v;
    EXPECT_EQ(f[2] != "-", v >= 4);
    EXPECT_TRUE(v < 4 || (Solves(f[2], puzzle) && f[2].find('0') == std::string::npos));
    return std::string(1, "IC02MN?"[v]) + (f[3] == "-" ? "" : f[3]);
}

std::string GradeRecord(const Fields& f, const std::string& puzzle) {
    if (f[1] == "0") {
        EXPECT_EQ(f[2] + f[3] + f[4] + f[5], "0---");
        return "-";
    }
    EXPECT_TRUE(Solves(f[5], f[4]));
    std::string record = f[2] + f[3].substr(0, 1);
    for (int i = 0, added = 0; i < kCells; ++i) {
        if (puzzle[i] == f[4][i]) continue;
        EXPECT_EQ(puzzle[i], '.');
        record += (added++ > 0 ? "," : "") + std::to_string(i);
    }
    return record;
}

struct Column {
    const char* Name;
    const char* File;
    const char* Args;
    std::size_t Field;  // the record's field after the puzzle, from 0
};

void PrintTo(const Column& column, std::ostream* os) {
    *os << column.Args;
}

class Recorded : public ::testing::TestWithParam<Column> {};

TEST_P(Recorded, EveryLineAsRecorded) {
    const Column& c = GetParam();
    const std::string path = std::string(CLUEMILL_TEST_DATA) + "/" + c.File;
    Fields args = testing::Split(c.Args, ' ');
    args.push_back(path);
    const testing::CliRun run = testing::RunCommand(args);
    ASSERT_EQ(run.Status, 0) << run.Err;
    const Fields printed = testing::Split(run.Out, '\n');
    std::ifstream in(path);
    std::size_t n = 0;
    int mismatches = 0;
    for (std::string line; std::getline(in, line);) {
        if (line[0] == '#') continue;
        ASSERT_LT(n, printed.size()) << "a line is missing";
        const Fields f = testing::Split(printed[n++], '\t');
        ASSERT_EQ(f.size(), args[0] == "grade"  ? 6u
                            : args[0] == "rate" ? 5u
                                                : 4u)
            << printed[n - 1];
        std::string puzzle = line.substr(0, kCells);
        for (char& ch : puzzle) ch = ch >= '1' && ch <= '9' ? ch : '.';
        EXPECT_EQ(f[0], puzzle);
        const std::string got = args[0] == "rate"   ? RateRecord(f, puzzle)
                                : args[0] == "test" ? TestRecord(f, puzzle)
                                                    : GradeRecord(f, puzzle);
        const std::string recorded = testing::Split(line.substr(kCells), ' ', true).at(c.Field);
        if (got != recorded && ++mismatches <= 5) {
            ADD_FAILURE() << line << "\n  printed " << printed[n - 1] << "\n  that is " << got;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(n, printed.size()) << "more lines than puzzles";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Recorded,
    ::testing::Values(
        Column{"Rate", "verdicts.txt", "rate --jobs 3", 0},
        Column{"TestMinimal", "verdicts.txt", "test --minimal", 1},
        Column{"Grade", "verdicts.txt", "grade --jobs 3", 2},
        Column{"GradeLimit", "verdicts.txt", "grade --jobs 3 --limit", 3},
        Column{"GradeMinimal", "verdicts.txt", "grade --jobs 3 --minimal", 4},
        Column{"GradeMinimalLimit", "verdicts.txt", "grade --jobs 3 --minimal --limit", 5},
        Column{"GradeExpandOne", "verdicts.txt", "grade --jobs 3 --expand 1 --seed 5", 6},
        Column{"GradeExpandOneLimit", "verdicts.txt", "grade --jobs 3 --expand 1 --seed 5 --limit",
               7},
        Column{"GradeExpandOneMinimal", "verdicts.txt",
               "grade --jobs 3 --expand 1 --seed 5 --minimal", 8},
        Column{"GradeExpandOneMinimalLimit", "verdicts.txt",
               "grade --jobs 3 --expand 1 --seed 5 --minimal --limit", 9},
        Column{"GradeExpandTwo", "expansions.txt", "grade --expand 2 --seed 3", 0},
        Column{"GradeExpandTwoLimit", "expansions.txt", "grade --expand 2 --seed 3 --limit", 1},
        Column{"GradeExpandTwoMinimal", "expansions.txt", "grade --expand 2 --seed 3 --minimal", 2},
        Column{"GradeExpandThree", "expansions.txt", "grade --expand 3 --seed 3", 3}),
    [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace cluemill
