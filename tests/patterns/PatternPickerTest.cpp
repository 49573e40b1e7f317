// SPDX-License-Identifier: MIT
// The pattern picker through the window's state and its drawing surface:
// the thumbnails and the cursor pixel by pixel, every navigation rule at the
// page boundaries, the timer's blinking and key repeat, choosing and
// cancelling, and the highlighted pattern's statistics.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"
#include "output/Performance.h"

namespace cluemill {
namespace {

enum Key {
    kReturn = 13,
    kEscape = 27,
    kPageUp = 33,
    kPageDown = 34,
    kEnd = 35,
    kHome = 36,
    kLeft = 37,
    kUp = 38,
    kRight = 39,
    kDown = 40
};

// Library pattern k (from 0): the cells of the bits of k + 1, so that every
// pattern differs; pattern 0 has cell 0 alone.
Pattern NumberedPattern(int k) {
    Pattern clues{};
    for (int bit = 0; bit < 20; ++bit) clues[bit] = ((k + 1) >> bit & 1) != 0;
    return clues;
}

class PatternPickerTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    const PixelCanvas& canvas = main.Picker.Canvas();

    // A library of `count` numbered patterns; `edit` may change a record.
    void Load(int count, const std::function<void(int, PatternRecord&)>& edit = {}) {
        std::string bytes;
        for (int k = 0; k < count; ++k) {
            PatternRecord record;
            record.PatternCode = EncodePattern(NumberedPattern(k));
            if (edit) edit(k, record);
            const auto recordBytes = ToBytes(record);
            bytes.append(recordBytes.begin(), recordBytes.end());
        }
        testing::WriteBytes(folder.Path / "Patterns.rec", bytes);
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    // Opens the picker and runs `whileOpen` inside its wait; a picker still
    // open afterwards is cancelled, which fails the test.
    void Pick(const std::function<void()>& whileOpen) {
        bool ran = false;
        platform.OnDoEvents = [&](int) {
            if (!ran) {
                ran = true;
                EXPECT_TRUE(main.PickerOpen);
                EXPECT_FALSE(main.Form_QueryUnload());
                whileOpen();
            }
            if (main.Form.Picture3.Visible) {
                ADD_FAILURE() << "the picker is still open";
                main.Picture4_KeyDown(kEscape, 0);
            }
        };
        main.PickPattern_Click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(main.PickerOpen);
        EXPECT_FALSE(main.Form.Picture3.Visible);
        EXPECT_FALSE(main.Form.Timer1.Enabled());
    }
    // A key pressed once, as a fresh press (no key held before).
    void Press(int key, int shift = 0) {
        main.Picker.PickRepeat = 0;
        main.Picture4_KeyDown(key, shift);
        main.Picture4_KeyUp();
    }
    std::pair<int, int> Place() const { return {main.Picker.PickPage, main.Picker.PickSel}; }
    std::vector<std::string> Statistics() const {
        std::vector<std::string> lines;
        for (const auto& label : main.Form.Label6) lines.push_back(label.Caption);
        return lines;
    }
};

// The button release of a double click that chose a pattern on page 2, and
// a timer tick, arriving after the picker closed (at once, inside its wait,
// or late) change nothing.
TEST_F(PatternPickerTest, EventsAfterClosingChangeNothing) {
    Load(100);
    Pick([&] {
        Press(kPageDown);
        main.Picture4_MouseUp(1, 0, 60, 20);  // place 1 of page 2: pattern index 89
        main.Picture4_DblClick();
        main.Picture4_MouseUp(1, 0, 250, 20);
    });
    EXPECT_EQ(main.Library.CurrentPattern, 90);
    main.Picture4_MouseUp(1, 0, 250, 20);
    main.Timer1_Timer();
    main.Picture4_KeyDown(kRight, 0);
    EXPECT_EQ(main.Picker.PickSel, 89);
    EXPECT_FALSE(main.Form.Timer1.Enabled());
}

TEST_F(PatternPickerTest, ThumbnailIsDrawnPixelByPixel) {
    Load(20, [](int k, PatternRecord& record) {
        if (k != 12) return;
        Pattern clues{};
        for (int cell : {0, 4, 40, 80}) clues[cell] = true;
        record.PatternCode = EncodePattern(clues);
    });
    Pick([&] {
        // Thumbnail 12 lies in column 1, row 1 of the page: 541 / 11 and
        // 429 / 8 pixels per place.
        const int x = 54;
        const int y = 58;
        struct Probe {
            int Dx, Dy;
            Colour Expected;
        };
        const Probe probes[] = {
            {0, 0, kBlack},
            {40, 0, kBlack},
            {0, 40, kBlack},
            {40, 40, kBlack},  // outline
            {20, 0, kBlack},
            {1, 20, kBlack},
            {39, 20, kBlack},  // box outlines
            {13, 3, kBlack},
            {14, 3, kBlack},
            {26, 3, kBlack},
            {27, 3, kBlack},  // double lines
            {5, 3, kBlack},
            {9, 3, kBlack},
            {3, 5, kBlack},
            {3, 9, kBlack},  // cell lines
            {2, 2, kRed},
            {4, 4, kRed},
            {3, 3, kRed},  // cell 0
            {19, 2, kRed},
            {21, 4, kRed},  // cell 4
            {19, 19, kRed},
            {21, 21, kRed},  // cell 40
            {36, 36, kRed},
            {38, 38, kRed},  // cell 80
            {6, 2, kWindowBackground},
            {8, 4, kWindowBackground},  // cell 1
            {15, 15, kWindowBackground},
            {41, 20, kWindowBackground},  // cell 30; outside
        };
        for (const Probe& probe : probes) {
            EXPECT_EQ(canvas.Pixel(x + probe.Dx, y + probe.Dy), probe.Expected)
                << probe.Dx << ", " << probe.Dy;
        }
        // The page's other thumbnails read their own records: pattern 0 has
        // cell 0 alone, at (5, 5).
        EXPECT_EQ(canvas.Pixel(8, 8), kRed);
        EXPECT_EQ(canvas.Pixel(12, 8), kWindowBackground);
        // Places without a pattern stay empty.
        EXPECT_EQ(canvas.Pixel(5 + 49 * 9, 58 + 3), kWindowBackground);
        Press(kEscape);
    });
}

TEST_F(PatternPickerTest, CursorFrameLiesOnTheGridLinesAndBlinks) {
    Load(100);
    Pick([&] {
        // The grid: the outline and the lines between places.
        for (auto [x, y] : {std::pair{0, 200},
                            {540, 200},
                            {200, 0},
                            {200, 428},
                            {49, 200},
                            {98, 200},
                            {491, 200},
                            {200, 53},
                            {200, 107},
                            {200, 375}}) {
            EXPECT_EQ(canvas.Pixel(x, y), kBlack) << x << ", " << y;
        }
        // The cursor on place 0: white on the frame (0, 0) - (49, 53).
        for (auto [x, y] : {std::pair{0, 0}, {49, 20}, {20, 53}, {49, 53}, {20, 0}}) {
            EXPECT_EQ(canvas.Pixel(x, y), kWhite) << x << ", " << y;
        }
        EXPECT_TRUE(main.Form.Timer1.Enabled());
        EXPECT_EQ(main.Picker.PickCursorColor, 15);

        main.Timer1_Timer();  // blink: black
        EXPECT_EQ(canvas.Pixel(49, 20), kBlack);
        EXPECT_EQ(main.Picker.PickCursorColor, 0);
        main.Timer1_Timer();  // and white again
        EXPECT_EQ(canvas.Pixel(49, 20), kWhite);

        // A click on the last place of the page: the old frame is black
        // again, the new one, in the last column and row, white.
        main.Picture4_MouseUp(1, 0, 530.0, 420.0);
        EXPECT_EQ(main.Picker.PickSel, 87);
        EXPECT_EQ(canvas.Pixel(49, 20), kBlack);
        EXPECT_EQ(canvas.Pixel(20, 0), kBlack);
        for (auto [x, y] : {std::pair{491, 375}, {540, 428}, {491, 428}, {540, 375}, {500, 375}}) {
            EXPECT_EQ(canvas.Pixel(x, y), kWhite) << x << ", " << y;
        }
        // A click on the place to its left moves the frame onto the shared line.
        main.Picture4_MouseUp(1, 0, 480.0, 420.0);
        EXPECT_EQ(main.Picker.PickSel, 86);
        EXPECT_EQ(canvas.Pixel(491, 400), kWhite);
        EXPECT_EQ(canvas.Pixel(540, 400), kBlack);
        Press(kEscape);
    });
}

struct MoveCase {
    const char* Name;
    int Patterns;
    int Page, Sel;  // before
    int Key;        // a key code, or -1 to -4 for the paging buttons Home, PageUp, PageDown, End
    int ExpectedPage, ExpectedSel;
};

class PickerMoveTest : public PatternPickerTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(PickerMoveTest, KeyOrButtonMovesTheCursor) {
    const MoveCase& c = GetParam();
    Load(c.Patterns);
    Pick([&] {
        main.Picker.PickPage = c.Page;
        main.Picker.PickSel = c.Sel;
        switch (c.Key) {
            case -1:
                main.KnopHome_Click();
                break;
            case -2:
                main.KnopPageUp_Click();
                break;
            case -3:
                main.KnopPageDown_Click();
                break;
            case -4:
                main.KnopEnd_Click();
                break;
            default:
                Press(c.Key);
        }
        EXPECT_EQ(Place(), std::make_pair(c.ExpectedPage, c.ExpectedSel));
        EXPECT_EQ(main.Form.LabelPage.Caption, std::to_string(c.ExpectedPage + 1));
        EXPECT_TRUE(main.Form.Timer1.Enabled());
        Press(kEscape);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PickerMoveTest,
    ::testing::Values(MoveCase{"RightAcrossThePageEnd", 89, 0, 87, kRight, 1, 0},
                      MoveCase{"RightOnTheLastPattern", 89, 1, 0, kRight, 1, 0},
                      MoveCase{"LeftBackOverThePageStart", 89, 1, 0, kLeft, 0, 87},
                      MoveCase{"LeftOnTheFirstPattern", 89, 0, 0, kLeft, 0, 0},
                      MoveCase{"DownFromTheBottomRow", 100, 0, 80, kDown, 1, 3},
                      MoveCase{"DownToNoPattern", 100, 1, 10, kDown, 1, 10},
                      MoveCase{"DownInsideThePage", 100, 0, 5, kDown, 0, 16},
                      MoveCase{"UpFromTheTopRow", 100, 1, 3, kUp, 0, 80},
                      MoveCase{"UpOnTheFirstPage", 100, 0, 5, kUp, 0, 5},
                      MoveCase{"UpInsideThePage", 100, 0, 16, kUp, 0, 5},
                      MoveCase{"PageDownOntoTheLastPattern", 100, 0, 50, kPageDown, 1, 11},
                      MoveCase{"PageDownOneBehindTheLastPattern", 100, 0, 12, kPageDown, 1, 11},
                      MoveCase{"PageDownOntoTheLastPatternsPlace", 100, 0, 11, kPageDown, 1, 11},
                      MoveCase{"PageDownKeepsThePlace", 100, 0, 7, kPageDown, 1, 7},
                      MoveCase{"PageDownOnTheLastPage", 100, 1, 7, kPageDown, 1, 7},
                      MoveCase{"PageUpKeepsThePlace", 100, 1, 11, kPageUp, 0, 11},
                      MoveCase{"PageUpOnTheFirstPage", 100, 0, 11, kPageUp, 0, 11},
                      MoveCase{"EndGoesToTheLastPattern", 5000, 0, 0, kEnd, 56, 71},
                      MoveCase{"HomeGoesToTheFirstPattern", 5000, 30, 40, kHome, 0, 0},
                      MoveCase{"OtherKeysDoNothing", 100, 0, 5, 65, 0, 5},
                      MoveCase{"ButtonHome", 5000, 30, 40, -1, 0, 0},
                      MoveCase{"ButtonPageUp", 5000, 30, 40, -2, 29, 40},
                      MoveCase{"ButtonPageDown", 100, 0, 50, -3, 1, 11},
                      MoveCase{"ButtonEnd", 89, 0, 3, -4, 1, 0}),
    [](const ::testing::TestParamInfo<MoveCase>& row) { return std::string(row.param.Name); });

TEST_F(PatternPickerTest, PagingButtonsFollowThePage) {
    struct Case {
        int Patterns, Page;
        bool Home, PageUp, PageDown, End;
    };
    for (const Case& c :
         {Case{1, 0, false, false, false, false}, Case{88, 0, false, false, false, false},
          Case{89, 0, false, false, true, true}, Case{89, 1, true, true, false, false},
          Case{5000, 30, true, true, true, true}}) {
        SCOPED_TRACE(::testing::Message() << c.Patterns << " patterns, page " << c.Page);
        Load(c.Patterns);
        Pick([&] {
            EXPECT_EQ(main.Picker.PickPages, (c.Patterns + 87) / 88);
            main.Picker.PickPage = c.Page;
            main.EnablePageButtons();
            EXPECT_EQ(main.Form.KnopHome.Enabled, c.Home);
            EXPECT_EQ(main.Form.KnopPageUp.Enabled, c.PageUp);
            EXPECT_EQ(main.Form.KnopPageDown.Enabled, c.PageDown);
            EXPECT_EQ(main.Form.KnopEnd.Enabled, c.End);
            Press(kEscape);
        });
    }
}

TEST_F(PatternPickerTest, ReturnAndDoubleClickChooseTheHighlightedPattern) {
    Load(100);
    Pick([&] {
        main.Picker.PickPage = 1;
        main.Picker.PickSel = 3;
        Press(kReturn);
    });
    EXPECT_EQ(main.Library.CurrentPattern, 92);
    EXPECT_EQ(main.Picker.PickSel, 91);
    EXPECT_TRUE(main.Form.PreviousPattern.Enabled);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);
    EXPECT_EQ(main.Form.PatternName.Caption, "Pattern name: " + EncodePattern(NumberedPattern(91)));
    EXPECT_EQ(main.Form.Grid[2].BackColor, kRed);  // 92 = bits 2, 3 and 6

    // A double click comes after the mouse-up that moved the cursor.
    Pick([&] {
        main.Picture4_MouseUp(1, 0, 530.0, 420.0);
        main.Picture4_DblClick();
    });
    EXPECT_EQ(main.Library.CurrentPattern, 88);
    EXPECT_TRUE(main.Form.NextPattern.Enabled);

    Pick([&] { Press(kEnd), Press(kReturn); });
    EXPECT_EQ(main.Library.CurrentPattern, 100);
    EXPECT_FALSE(main.Form.NextPattern.Enabled);
    EXPECT_TRUE(main.Form.PreviousPattern.Enabled);
}

TEST_F(PatternPickerTest, CancellingPutsTheCurrentPatternsStatisticsBack) {
    Load(100, [](int k, PatternRecord& record) { record.NotExpanded[0] = k; });
    main.NextPattern_Click();
    main.NextPattern_Click();  // pattern 2: one count, all of it "Very Easy"
    const auto current = Statistics();
    EXPECT_EQ(current[2], "Very Easy : 100.00 %");

    Pick([&] {
        // The highlighted pattern 1 has no count at all.
        EXPECT_EQ(Statistics()[2], "Very Easy : 00,00 %");
        Press(kEscape);
    });
    EXPECT_EQ(Statistics(), current);
    EXPECT_EQ(main.Library.CurrentPattern, 2);
    EXPECT_EQ(main.Picker.PickSel, -1);

    Pick([&] {
        main.Picture4_MouseUp(2, 0, 60.0, 20.0);  // right click on place 1
    });
    EXPECT_EQ(Statistics(), current);
    EXPECT_EQ(main.Library.CurrentPattern, 2);
}

TEST_F(PatternPickerTest, ClicksOnEmptyPlacesOfTheLastPageDoNothing) {
    Load(89);
    Pick([&] {
        main.Picker.PickPage = 1;
        main.Picker.PickSel = 0;
        main.PaintPickPage();
        for (int button : {1, 2}) {
            main.Picture4_MouseUp(button, 0, 60.0, 20.0);
            EXPECT_EQ(Place(), std::make_pair(1, 0));
            EXPECT_TRUE(main.Form.Picture3.Visible);
        }
        // A button released outside the drawing area is no click.
        main.Picture4_MouseUp(2, 0, -3.0, 20.0);
        EXPECT_TRUE(main.Form.Picture3.Visible);
        Press(kEscape);
    });
}

TEST_F(PatternPickerTest, HeldKeyMovesOncePerTick) {
    Load(5000);
    Pick([&] {
        main.Picture4_KeyDown(kDown, 0);  // moves at once
        EXPECT_EQ(main.Picker.PickSel, 11);
        main.Picture4_KeyDown(kDown, 0);  // the keyboard's repeats wait for the timer
        main.Picture4_KeyDown(kDown, 0);
        EXPECT_EQ(main.Picker.PickSel, 11);
        main.Timer1_Timer();
        EXPECT_EQ(main.Picker.PickSel, 22);
        main.Picture4_KeyDown(kDown, 0);
        main.Timer1_Timer();
        EXPECT_EQ(main.Picker.PickSel, 33);
        main.Picture4_KeyUp();
        main.Timer1_Timer();  // released: the tick only blinks
        EXPECT_EQ(main.Picker.PickSel, 33);
        EXPECT_EQ(main.Picker.PickRepeat, 0);
        main.Picture4_KeyDown(kDown, 0);  // a new press moves at once again
        EXPECT_EQ(main.Picker.PickSel, 44);

        // With Shift, Ctrl or Alt held a key does nothing and stops a held one.
        main.Picture4_KeyUp();
        main.Timer1_Timer();
        for (int shift : {1, 2, 4}) {
            main.Picture4_KeyDown(kDown, shift);
            main.Picture4_KeyDown(kEscape, shift);
            EXPECT_EQ(main.Picker.PickKey, 0);
            EXPECT_EQ(main.Picker.PickSel, 44);
            EXPECT_TRUE(main.Form.Picture3.Visible);
        }
        Press(kEscape);
    });
}

TEST_F(PatternPickerTest, EmptyLibraryOpensNothing) {
    platform.Folder = folder.Path.string();
    main.Form_Load();
    main.Form.ButtonSolve.Enabled = true;
    main.PickPattern_Click();
    EXPECT_FALSE(main.Form.Picture3.Visible);
    EXPECT_FALSE(main.Form.ButtonSolve.Enabled);
    EXPECT_EQ(platform.DoEventsCalls, 0);
    main.Timer1_Timer();  // a tick with no library draws nothing
    EXPECT_EQ(canvas.Version(), 0U);
}

TEST_F(PatternPickerTest, RecordsMissingFromTheFileDrawEmpty) {
    Load(3, [](int, PatternRecord& record) { record.NotExpanded[5] = 1; });
    std::filesystem::resize_file(folder.Path / "Patterns.rec", 98 + 10);
    Pick([&] {
        Press(kRight);
        Press(kRight);  // pattern 2 is gone from the file
        EXPECT_EQ(canvas.Pixel(5 + 49 * 2 + 3, 8), kWindowBackground);
        EXPECT_EQ(Statistics()[7], "Others : 00,00 %");
        Press(kHome);
        EXPECT_EQ(Statistics()[7], "Others : 100.00 %");
        Press(kEscape);
    });
}

TEST(PickPerformanceTest, ShowsTheRecordsSharesWithZeroTextsWithAComma) {
    testing::TempFolder folder;
    testing::FakePlatform platform;
    platform.Folder = folder.Path.string();
    PatternRecord record;
    record.PatternCode = EncodePattern(NumberedPattern(0));
    record.NotExpanded = {1, 1, 0, 0, 0, 2};
    record.Minimal = {0, 1, 2, 0, 0, 0};
    const auto bytes = ToBytes(record);
    testing::WriteBytes(folder.Path / "Patterns.rec", std::string(bytes.begin(), bytes.end()));
    Main main(platform);
    main.Form_Load();
    main.Picker.PickPerPage = 88;
    for (char separator : {'.', ','}) {
        platform.Separator = separator;
        main.DisplayPickPerformance();
        const std::string p(1, separator);
        const std::vector<std::string> expected = {"Non-Minimal",
                                                   "Not Expanded",
                                                   "Very Easy : 25" + p + "00 %",
                                                   "Easy : 25" + p + "00 %",
                                                   "Medium : 00" + p + "00 %",
                                                   "Hard : 00" + p + "00 %",
                                                   "Very Hard : 00" + p + "00 %",
                                                   "Others : 50" + p + "00 %",
                                                   "Expanded",
                                                   "Very Easy : 00,00 %",
                                                   "Easy : 00,00 %",
                                                   "Medium : 00,00 %",
                                                   "Hard : 00,00 %",
                                                   "Very Hard : 00,00 %",
                                                   "Others : 00,00 %",
                                                   "Minimal",
                                                   "Very Easy : 00" + p + "00 %",
                                                   "Easy : 33" + p + "33 %",
                                                   "Medium : 66" + p + "67 %",
                                                   "Hard : 00" + p + "00 %",
                                                   "Very Hard : 00" + p + "00 %",
                                                   "Others : 00" + p + "00 %"};
        std::vector<std::string> shown;
        for (const auto& label : main.Form.Label6) shown.push_back(label.Caption);
        EXPECT_EQ(shown, expected);
    }
    // A record the file does not hold: every group shows the zero texts.
    main.Picker.PickSel = 1;
    main.DisplayPickPerformance();
    EXPECT_EQ(main.Form.Label6[2].Caption, "Very Easy : 00,00 %");
    EXPECT_EQ(main.Form.Label6[18].Caption, "Medium : 00,00 %");
}

}  // namespace
}  // namespace cluemill
