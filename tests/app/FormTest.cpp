// SPDX-License-Identifier: MIT
// The window's first state, as the program's rules rely on it.
#include <gtest/gtest.h>

#include "app/FakePlatform.h"
#include "app/Main.h"

namespace cluemill {
namespace {

TEST(Form, DesignTimeCaptionsAndStates) {
    const Form form;
    EXPECT_EQ(form.Main.Caption, "Cluemill");
    EXPECT_EQ(form.ButtonSolve.Caption, "Check  Uniqueness");
    EXPECT_FALSE(form.ButtonSolve.Enabled);
    EXPECT_FALSE(form.CommandHalt.Visible);
    EXPECT_FALSE(form.Picture1.Visible);
    EXPECT_FALSE(form.Picture3.Visible);
    EXPECT_EQ(form.Text2.Text, "");
    for (const auto& cell : form.Grid) {
        EXPECT_EQ(cell.Caption, "");
        EXPECT_EQ(cell.BackColor, kWindowBackground);
    }
    EXPECT_EQ(form.LabelRow[7].Caption, "H");
    EXPECT_EQ(form.LabelRow[8].Caption, "J");
    EXPECT_EQ(form.LabelColumn[8].Caption, "9");
    EXPECT_TRUE(form.Option1[0].Value);
    EXPECT_EQ(form.Combo1.List.size(), 8u);
    EXPECT_EQ(form.Combo2.List.size(), 7u);
    EXPECT_EQ(form.CheckLimit.Caption, "Limited to \"Very Hard\"");
    EXPECT_EQ(form.Label6[0].Caption, "Non-Minimal");
    EXPECT_EQ(form.Label6[16].Caption, "Very Easy : 00.00 %");
    EXPECT_EQ(form.Label6[21].Caption, "Others : 00.00 %");
    EXPECT_EQ(form.Timer1.Interval(), 180);
    EXPECT_FALSE(form.Timer1.Enabled());
}

TEST(Form, InstructionTextIsElevenCrLfLines) {
    const std::string text = Form().Text1.Text;
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 11);
    EXPECT_EQ(text.substr(0, 53), "Drag and Drop any sudoku text-file (*.txt) in this \r\n");
    EXPECT_EQ(text.substr(text.size() - 38), "then... press the [Check...] button.\r\n");
}

TEST(Main, LoadCentresTheWindowAndCloseIsRefusedDuringARun) {
    testing::FakePlatform platform;
    Main main(platform);
    main.Form.Main.Width = 800 * 15;
    main.Form_Load();
    EXPECT_EQ(main.Form.Main.Height, 7440);
    EXPECT_EQ(main.Form.Main.Left, (1920 - 800) * 15 / 2);
    EXPECT_EQ(main.Form.Main.Top, (1080 * 15 - 7440) / 2);
    EXPECT_TRUE(main.Form_QueryUnload());
    main.Generating = true;
    EXPECT_FALSE(main.Form_QueryUnload());
    main.ButtonExit_Click();
    EXPECT_TRUE(platform.Ended);
}

}  // namespace
}  // namespace cluemill
