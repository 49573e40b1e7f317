// SPDX-License-Identifier: MIT
// The pattern picker through the window's state: the navigation rules, the
// pages they paint and the closing actions (tests/data/picker_moves.txt), a
// thumbnail pixel by pixel (tests/data/thumbnail.txt), the timer, and the
// highlighted pattern's statistics.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/FakePlatform.h"
#include "app/Main.h"
#include "app/TempFolder.h"

namespace cluemill {
namespace {

enum Key { kEscape = 27, kEnd = 35, kRight = 39, kDown = 40 };

class PickerTest : public ::testing::Test {
  protected:
    testing::TempFolder folder;
    testing::FakePlatform platform;
    Main main{platform};
    const PixelCanvas& canvas = main.Picker.Canvas();

    // A library of `count` patterns, pattern k the cells of the bits of
    // k + 1; `edit` may change a record.
    void Load(int count, const std::function<void(int, PatternRecord&)>& edit = {}) {
        std::string bytes;
        for (int k = 0; k < count; ++k) {
            Pattern clues{};
            for (int bit = 0; bit < 20; ++bit) clues[bit] = ((k + 1) >> bit & 1) != 0;
            PatternRecord record;
            record.PatternCode = EncodePattern(clues);
            if (edit) edit(k, record);
            const auto recordBytes = ToBytes(record);
            bytes.append(recordBytes.begin(), recordBytes.end());
        }
        testing::WriteBytes(folder.Path / "Patterns.rec", bytes);
        platform.Folder = folder.Path.string();
        main.Form_Load();
    }
    // Opens the picker and runs `whileOpen` inside its wait; a picker left
    // open is cancelled.
    void Pick(const std::function<void()>& whileOpen) {
        bool ran = false;
        platform.OnDoEvents = [&](int) {
            if (!ran) {
                ran = true;
                EXPECT_TRUE(main.PickerOpen);
                EXPECT_FALSE(main.Form_QueryUnload());
                whileOpen();
            }
            if (main.Form.Picture3.Visible) main.Picture4_KeyDown(kEscape, 0);
        };
        main.PickPattern_Click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(main.PickerOpen);
        EXPECT_FALSE(main.Form.Timer1.Enabled());
    }
    // A key pressed once, as a fresh press (no key held before).
    void Press(int key, int shift = 0) {
        main.Picker.PickRepeat = 0;
        main.Picture4_KeyDown(key, shift);
        main.Picture4_KeyUp();
    }
    // A key code, a paging button (H, U, D, E), a double click (W), or a left
    // or right click at x,y (Lx,y, Rx,y).
    void Act(const std::string& action) {
        const std::string buttons = "HUDE";
        void (Main::*const knops[])() = {&Main::KnopHome_Click, &Main::KnopPageUp_Click,
                                         &Main::KnopPageDown_Click, &Main::KnopEnd_Click};
        double x = 0;
        double y = 0;
        if (std::isdigit(action[0])) {
            Press(std::stoi(action));
        } else if (buttons.find(action[0]) != std::string::npos) {
            (main.*knops[buttons.find(action[0])])();
        } else if (action == "W") {
            main.Picture4_DblClick();
        } else {
            ASSERT_EQ(std::sscanf(action.c_str() + 1, "%lf,%lf", &x, &y), 2) << action;
            main.Picture4_MouseUp(action[0] == 'R' ? 2 : 1, 0, x, y);
        }
    }
    // The captions of Label6(0..21), joined by "|".
    std::string Statistics() const {
        std::string text;
        for (const auto& label : main.Form.Label6) text += label.Caption + "|";
        return text;
    }
};

// FNV-1a over the colour numbers of every pixel, row by row: a page in one number.
std::string Fingerprint(const PixelCanvas& canvas) {
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < canvas.ScaleHeight(); ++y) {
        for (int x = 0; x < canvas.ScaleWidth(); ++x)
            hash = (hash ^ canvas.Row(y)[x]) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

TEST_F(PickerTest, EveryRuleMovesTheCursorAndPaintsItsPage) {
    std::ifstream in(CLUEMILL_TEST_DATA "/picker_moves.txt");
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        std::istringstream row(line);
        int count, page, place, toPage, toPlace, chosen;
        std::string action, buttons, picture;
        row >> count >> page >> place >> action >> toPage >> toPlace >> buttons >> picture >>
            chosen;
        if (rows++ == 0 || count != main.Library.PatternCount) Load(count);
        main.NewPattern_Click();
        const auto& f = main.Form;
        Pick([&] {
            main.Picker.PickPage = page;
            main.Picker.PickSel = place;
            main.PaintPickPage();
            main.EnablePageButtons();
            Act(action);
            EXPECT_EQ(main.Picker.PickPage, toPage);
            EXPECT_EQ(main.Picker.PickSel, toPlace);
            EXPECT_EQ(Fingerprint(canvas), picture);
            std::string enabled;
            for (const auto* knop : {&f.KnopHome, &f.KnopPageUp, &f.KnopPageDown, &f.KnopEnd})
                enabled += knop->Enabled ? '1' : '0';
            EXPECT_EQ(enabled, buttons.substr(0, 4));
            if (!f.Picture3.Visible) return;
            EXPECT_EQ(f.LabelPage.Caption, std::to_string(toPage + 1));
            EXPECT_TRUE(f.Timer1.Enabled());
        });
        EXPECT_EQ(main.Library.CurrentPattern, chosen);
        EXPECT_EQ(std::string(1, "01"[f.PreviousPattern.Enabled]) + "01"[f.NextPattern.Enabled],
                  buttons.substr(4));
    }
    EXPECT_EQ(rows, 43);
}

// A thumbnail against its drawing: '#' black, 'r' red, '.' background.
TEST(Thumbnail, IsDrawnPixelByPixel) {
    std::ifstream in(CLUEMILL_TEST_DATA "/thumbnail.txt");
    Pattern clues{};
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        std::istringstream cells(line.starts_with("cells") ? line.substr(5) : "");
        for (int cell; cells >> cell;) clues[cell] = true;
        if (line.starts_with(".")) rows.push_back(line);
    }
    Picker picker;
    picker.PaintPattern(clues, 1, 1);
    ASSERT_EQ(rows.size(), 43u);
    for (int y = 0; y < 43; ++y) {
        std::string seen;
        for (int x = 0; x < 43; ++x) {
            const Colour c = picker.Canvas().Pixel(x, y);
            seen += c == kBlack ? '#' : c == kRed ? 'r' : c == kWindowBackground ? '.' : '?';
        }
        EXPECT_EQ(seen, rows[y]) << "row " << y;
    }
}

// The button release of a double click that chose a pattern, and a timer
// tick, arriving after the picker closed change nothing.
TEST_F(PickerTest, EventsAfterClosingChangeNothing) {
    Load(100);
    Pick([&] {
        Press(34);
        main.Picture4_MouseUp(1, 0, 60, 20);  // place 1 of page 2: pattern index 89
        main.Picture4_DblClick();
        main.Picture4_MouseUp(1, 0, 250, 20);
        main.Picture4_DblClick();
    });
    EXPECT_EQ(main.Library.CurrentPattern, 90);
    main.Picture4_MouseUp(1, 0, 250, 20);
    main.Timer1_Timer();
    main.Picture4_KeyDown(kRight, 0);
    main.KnopHome_Click();
    EXPECT_EQ(main.Picker.PickSel, 89);
    EXPECT_FALSE(main.Form.Timer1.Enabled());
}

// Every 180 ms the cursor blinks, or a held key moves it once more.
TEST_F(PickerTest, TimerBlinksTheCursorAndRepeatsAHeldKey) {
    Load(5000);
    EXPECT_EQ(main.Form.Timer1.Interval(), 180);
    Pick([&] {
        EXPECT_EQ(canvas.Pixel(49, 20), kWhite);
        main.Timer1_Timer();
        EXPECT_EQ(canvas.Pixel(49, 20), kBlack);
        main.Timer1_Timer();
        EXPECT_EQ(canvas.Pixel(49, 20), kWhite);
        main.Picture4_KeyDown(kDown, 0);  // moves at once
        main.Picture4_KeyDown(kDown, 0);  // the keyboard's repeats wait for the timer
        EXPECT_EQ(main.Picker.PickSel, 11);
        main.Timer1_Timer();
        main.Picture4_KeyDown(kDown, 0);
        main.Timer1_Timer();
        EXPECT_EQ(main.Picker.PickSel, 33);
        main.Picture4_KeyUp();
        main.Timer1_Timer();  // released: the tick only blinks
        EXPECT_EQ(main.Picker.PickSel, 33);
        // A new press moves at once; with Shift, Ctrl or Alt held a key
        // does nothing and stops a held one.
        for (int shift : {1, 2, 4}) {
            main.Picture4_KeyDown(kDown, 0);
            main.Picture4_KeyDown(kDown, shift);
            main.Picture4_KeyDown(kEscape, shift);
            main.Timer1_Timer();
            EXPECT_TRUE(main.Form.Picture3.Visible);
        }
        EXPECT_EQ(main.Picker.PickSel, 66);
    });
}

// The highlighted pattern's statistics: the locale's separator in computed
// shares, zero texts with a comma, a record the file lacks drawn empty; the
// current pattern's come back when the picker is cancelled.
TEST_F(PickerTest, HighlightedPatternsStatistics) {
    Load(0);
    main.PickPattern_Click();  // an empty library opens nothing
    EXPECT_FALSE(main.Form.Picture3.Visible);
    EXPECT_EQ(platform.DoEventsCalls, 0);
    main.Timer1_Timer();
    EXPECT_EQ(canvas.Version(), 0U);

    Load(3, [](int, PatternRecord& record) {
        record.NotExpanded = {1, 1, 0, 0, 0, 2};
        record.Minimal = {0, 1, 2, 0, 0, 0};
    });
    std::filesystem::resize_file(folder.Path / "Patterns.rec", 2 * 98 + 1);
    const std::string current = Statistics();
    const auto& label = main.Form.Label6;
    for (const std::string p : {".", ","}) {
        platform.Separator = p[0];
        Pick([&] {
            EXPECT_EQ(label[2].Caption + label[7].Caption,
                      "Very Easy : 25" + p + "00 %Others : 50" + p + "00 %");
            EXPECT_EQ(label[9].Caption + label[14].Caption, "Very Easy : 00,00 %Others : 00,00 %");
            EXPECT_EQ(label[17].Caption + label[18].Caption,
                      "Easy : 33" + p + "33 %Medium : 66" + p + "67 %");
            Press(kEnd);  // pattern 3 holds one byte of its code
            EXPECT_EQ(label[7].Caption + label[18].Caption, "Others : 00,00 %Medium : 00,00 %");
            EXPECT_EQ(canvas.Pixel(5 + 98 + 3, 8), kWindowBackground);
            EXPECT_EQ(canvas.Pixel(8, 8), kRed);
        });
        EXPECT_EQ(Statistics(), current);
    }
}

}  // namespace
}  // namespace cluemill
