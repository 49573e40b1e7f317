// SPDX-License-Identifier: MIT
// The pattern's statistics as percentages in the three blocks of Frame3.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "output/Performance.h"

namespace cluemill {
namespace {

using Counters = std::array<std::int32_t, 6>;
using Lines = std::array<std::string, 6>;

const Lines kZeroLines = {"Very Easy : 00.00 %", "Easy : 00.00 %",      "Medium : 00.00 %",
                          "Hard : 00.00 %",      "Very Hard : 00.00 %", "Others : 00.00 %"};

// The six lines of a block from the six numbers between prefix and " %".
Lines Block(const std::array<const char*, 6>& percents) {
    static constexpr std::array<const char*, 6> kPrefixes = {
        "Very Easy : ", "Easy : ", "Medium : ", "Hard : ", "Very Hard : ", "Others : "};
    Lines lines;
    for (int c = 0; c < 6; ++c) lines[c] = std::string(kPrefixes[c]) + percents[c] + " %";
    return lines;
}

struct LinesCase {
    const char* Name;
    Counters Counts;
    char Separator;
    Lines Expected;
};

TEST(PerformanceLines, PercentagesOfTheSixClasses) {
    const std::vector<LinesCase> cases = {
        {"three and one",
         {3, 1, 0, 0, 0, 0},
         '.',
         Block({"75.00", "25.00", "00.00", "00.00", "00.00", "00.00"})},
        {"one puzzle",
         {0, 0, 0, 1, 0, 0},
         '.',
         Block({"00.00", "00.00", "00.00", "100.00", "00.00", "00.00"})},
        {"thirds",
         {0, 0, 1, 0, 2, 0},
         '.',
         Block({"00.00", "00.00", "33.33", "00.00", "66.67", "00.00"})},
        {"sixths",
         {1, 1, 1, 1, 1, 1},
         '.',
         Block({"16.67", "16.67", "16.67", "16.67", "16.67", "16.67"})},
        {"below ten",
         {1, 0, 0, 0, 0, 19},
         '.',
         Block({"05.00", "00.00", "00.00", "00.00", "00.00", "95.00"})},
        {"large counters",
         {2000000000, 0, 0, 0, 0, 2000000000},
         '.',
         Block({"50.00", "00.00", "00.00", "00.00", "00.00", "50.00"})},
        {"decimal comma",
         {3, 1, 0, 0, 0, 0},
         ',',
         Block({"75,00", "25,00", "00,00", "00,00", "00,00", "00,00"})},
        {"damaged record",
         {-1, 4, 0, 0, 0, 0},
         '.',
         Block({"-33.33", "133.33", "00.00", "00.00", "00.00", "00.00"})},
        {"no puzzles", {0, 0, 0, 0, 0, 0}, ',', kZeroLines},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PerformanceLines(c.Counts, false, c.Separator), c.Expected);
        EXPECT_EQ(PerformanceLines(c.Counts, true, c.Separator), kZeroLines)
            << "zero texts asked for";
    }
}

// 1 of 160 is exactly 0.625 %, a half in the third decimal even in single
// precision: rounding takes it up, as it does 99.375 %.
TEST(PerformanceLines, HalfInTheThirdDecimalRoundsUp) {
    const Lines lines = PerformanceLines({1, 0, 0, 0, 0, 159}, false, '.');
    EXPECT_EQ(lines[0], "Very Easy : 00.63 %");
    EXPECT_EQ(lines[5], "Others : 99.38 %");
    EXPECT_EQ(PerformanceLines({0, 0, 5, 0, 0, 795}, false, '.')[2], "Medium : 00.63 %");
}

class DisplayPerformanceTest : public ::testing::Test {
  protected:
    testing::FakePlatform platform;
    Main main{platform};

    Lines Shown(int first) const {
        Lines lines;
        for (int c = 0; c < 6; ++c) lines[c] = main.Form.Label6[first + c].Caption;
        return lines;
    }
};

TEST_F(DisplayPerformanceTest, BlocksAreIndependent) {
    main.Library.CurrentPattern = 4;
    main.Library.PatternRec.NotExpanded = {3, 1, 0, 0, 0, 0};
    main.Library.PatternRec.Expanded = {0, 0, 0, 0, 0, 0};
    main.Library.PatternRec.Minimal = {0, 0, 0, 0, 0, 7};
    main.DisplayPerformance();
    EXPECT_EQ(Shown(2)[0], "Very Easy : 75.00 %");
    EXPECT_EQ(Shown(2)[1], "Easy : 25.00 %");
    EXPECT_EQ(Shown(9), kZeroLines);
    EXPECT_EQ(Shown(16)[5], "Others : 100.00 %");
    EXPECT_EQ(Shown(16)[0], "Very Easy : 00.00 %");
    EXPECT_EQ(main.Form.Label6[1].Caption, "Not Expanded");
    EXPECT_EQ(main.Form.Label6[8].Caption, "Expanded");
    EXPECT_EQ(main.Form.Label6[15].Caption, "Minimal");

    main.Library.PatternRec.Expanded = {0, 1, 0, 0, 0, 0};
    main.Library.PatternRec.Minimal = {};
    main.DisplayPerformance();
    EXPECT_EQ(Shown(9)[1], "Easy : 100.00 %");
    EXPECT_EQ(Shown(16), kZeroLines) << "a block going back to 0";
}

TEST_F(DisplayPerformanceTest, NewPatternShowsZeroTextsWhateverTheRecord) {
    main.Library.CurrentPattern = 0;
    main.Library.PatternRec.NotExpanded = {3, 1, 0, 0, 0, 0};
    main.Library.PatternRec.Expanded = {1, 1, 1, 1, 1, 1};
    main.Library.PatternRec.Minimal = {0, 0, 0, 0, 0, 7};
    main.DisplayPerformance();
    for (int first : {2, 9, 16}) EXPECT_EQ(Shown(first), kZeroLines) << first;
}

TEST_F(DisplayPerformanceTest, LocaleSeparatorOnlyInComputedLines) {
    platform.Separator = ',';
    main.Library.CurrentPattern = 1;
    main.Library.PatternRec.NotExpanded = {3, 1, 0, 0, 0, 0};
    main.DisplayPerformance();
    EXPECT_EQ(Shown(2)[1], "Easy : 25,00 %");
    EXPECT_EQ(Shown(2)[2], "Medium : 00,00 %") << "computed, though 0";
    EXPECT_EQ(Shown(9)[1], "Easy : 00.00 %") << "the fixed zero text";
}

}  // namespace
}  // namespace cluemill
