// SPDX-License-Identifier: MIT
// Pattern insight in the window's engine: drawing with a symmetry, the clue
// count and symmetry beside the pattern's name, and the forecast button.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"

namespace cluemill {
namespace {

class InsightTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    InsightTest() {
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    int Red() const {
        int n = 0;
        for (const auto& cell : main.Form.Grid) n += cell.BackColor == kRed ? 1 : 0;
        return n;
    }
};

TEST_F(InsightTest, AClickSetsOrClearsTheCellAndItsImages) {
    struct Case {
        int Symmetry;
        int Cell;
        std::vector<int> Set;
        const char* Info;
    };
    const Case cases[] = {
        {0, 1, {1}, "1 clue, symmetry none"},
        {1, 1, {1, 79}, "2 clues, symmetry half turn"},
        {2, 0, {0, 8, 80, 72}, "4 clues, symmetry quarter turn + mirror + diagonal"},
        {3, 10, {10, 16}, "2 clues, symmetry mirror"},
        {4, 1, {1, 9}, "2 clues, symmetry diagonal"},
    };
    for (const Case& c : cases) {
        main.Form.DrawSymmetry.ListIndex = c.Symmetry;
        main.Grid_Click(c.Cell);
        for (const int cell : c.Set) EXPECT_EQ(main.Form.Grid[cell].BackColor, kRed) << cell;
        EXPECT_EQ(Red(), static_cast<int>(c.Set.size())) << c.Info;
        EXPECT_EQ(main.Form.PatternInfo.Caption, c.Info);
        main.Grid_Click(c.Cell);
        EXPECT_EQ(Red(), 0) << c.Info;
        EXPECT_EQ(main.Form.PatternInfo.Caption, "0 clues");
    }
}

// The forecast locks the window while it samples, shows its report, writes
// nothing, and gives the window back; a halt cancels it without a report.
TEST_F(InsightTest, ForecastReportsAndWritesNothing) {
    const Pattern clues = DecodePattern("00285041AC2C686B041428");
    for (int i = 0; i < kCells; ++i)
        main.Form.Grid[i].BackColor = clues[i] ? kRed : kWindowBackground;
    main.ForecastSeconds = 0.3;
    bool locked = false;
    platform.OnDoEvents = [&](int) {
        locked =
            !main.Form.Grid[0].Enabled && main.Form.CommandHalt.Visible && !main.Form_QueryUnload();
    };
    main.CommandForecast_Click();
    EXPECT_TRUE(locked);
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Caption, "Forecast");
    EXPECT_NE(platform.Messages[0].Text.find("\naccepted-per-hour "), std::string::npos);
    EXPECT_TRUE(main.Form.Grid[0].Enabled);
    EXPECT_TRUE(main.Form.CommandGenerate.Visible);
    EXPECT_FALSE(std::filesystem::exists(folder.Path / "Patterns.rec"));

    platform.OnDoEvents = [&](int) { main.CommandHalt_Click(); };
    main.CommandForecast_Click();
    EXPECT_EQ(platform.Messages.size(), 1u) << "a cancelled forecast tells nothing";
}

}  // namespace
}  // namespace cluemill
