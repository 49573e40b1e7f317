// SPDX-License-Identifier: MIT
// The pattern import's question and the pattern picker through the real
// widgets, while their handlers wait: answers by keys; the picker's keys,
// mouse, paging buttons and timer.
#include "patterns/ImportPatterns.h"
#include "qt/WindowFixture.h"

namespace cluemill {
namespace {

class PatternWindowTest : public WindowTest {
  protected:
    // A library of `count` patterns, pattern k with the cells of the bits of
    // k + 1, as if it had been there at start.
    void WriteLibrary(int count) {
        for (int k = 0; k < count; ++k) {
            PatternRecord record;
            Pattern clues{};
            for (int bit = 0; bit < 20; ++bit) clues[bit] = ((k + 1) >> bit & 1) != 0;
            record.PatternCode = EncodePattern(clues);
            main_.Library.AppendPattern(record);
        }
        main_.Form.PickPattern.Enabled = true;
        window_.Sync();
    }
    QWidget* Picker() { return Widget("Picture4"); }
    // The picker's drawing as shown, in its own pixels (inside the border).
    QColor Shown(int x, int y) { return Picker()->grab().toImage().pixelColor(x + 2, y + 2); }
};

// "Yes" has the keyboard when the question comes: Return says yes, Escape
// cancels; closing the window ends a waiting import.
TEST_F(PatternWindowTest, ImportIsAnsweredByKeysAndEndsWithTheWindow) {
    const QString file = WriteFile(
        "puzzles.sds", QByteArray::fromStdString(testing::SdsFileOf(
                           {testing::kSuitable20, testing::kSuitable21, testing::kSuitable22})));
    platform_.SetOpenFileHook([&](const std::string&) { return file.toStdString(); });
    int asked = 0;
    ClickAndStep("ImportPattern", [&] {
        if (!main_.Form.Picture1.Visible) return true;
        EXPECT_EQ(window_.focusWidget(), Widget("CommandYes"));
        QTest::keyClick(window_.focusWidget(), ++asked == 1 ? Qt::Key_Return : Qt::Key_Escape);
        return asked < 2;
    });
    EXPECT_EQ(main_.Library.PatternCount, 1);
    EXPECT_FALSE(Widget("Picture1")->isVisible());
    ClickAndStep("ImportPattern", [&] { return !main_.Form.Picture1.Visible || !window_.close(); });
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(main_.Library.PatternCount, 1);
}

TEST_F(PatternWindowTest, PickerIsDrivenByKeysMouseButtonsAndTimer) {
    WriteLibrary(100);
    // A key pressed just before the timer's tick and released 70 ms later
    // moves the cursor once: the press starts the timer's period afresh.
    auto* timer = Widget<QTimer>("Timer1");
    QElapsedTimer held;
    int step = 0;
    ClickAndStep("PickPattern", [&] {
        if (step == 0 && main_.Picker.PickRepeat == 0 && timer->remainingTime() <= 30) {
            QTest::keyPress(Picker(), Qt::Key_Right);
            held.start();
            step = 1;
        } else if (step == 1 && held.elapsed() >= 70) {
            QTest::keyRelease(Picker(), Qt::Key_Right);
            step = 2;
        } else if (step == 2 && held.elapsed() >= 500) {
            EXPECT_EQ(main_.Picker.PickSel, 1);
            QTest::keyClick(Picker(), Qt::Key_Escape);
            return false;
        }
        return true;
    });
    step = 0;
    ClickAndStep("PickPattern", [&] {
        switch (step++) {
            case 0:
                // The status bar gives way to the help line, the keyboard goes
                // to the drawing, closing is refused.
                EXPECT_FALSE(window_.statusBar()->isVisible());
                EXPECT_EQ(window_.focusWidget(), Picker());
                EXPECT_FALSE(window_.close());
                // Pattern 0 has cell 0 alone; pattern 1 cell 1 alone.
                EXPECT_EQ(Shown(8, 8), QColor(Qt::red));
                EXPECT_EQ(Shown(61, 8), QColor(Qt::red));
                QTest::keyClick(Picker(), Qt::Key_Down);
                EXPECT_EQ(main_.Picker.PickSel, 11);
                return true;
            case 1:
                // A key moves at once again after the timer's next blink.
                if (main_.Picker.PickRepeat != 0) {
                    --step;
                    return true;
                }
                QTest::keyClick(Picker(), Qt::Key_Right);
                QTest::keyClick(Picker(), Qt::Key_Down, Qt::ShiftModifier);
                EXPECT_EQ(main_.Picker.PickSel, 12);
                return true;
            case 2:
                QTest::mouseClick(Widget("KnopPageDown"), Qt::LeftButton);
                EXPECT_EQ(Widget<QLabel>("LabelPage")->text(), "2");
                QTest::mouseClick(Widget("KnopHome"), Qt::LeftButton);
                EXPECT_EQ(window_.focusWidget(), Picker());
                // A click on place 13 (column 2 of row 1) moves the cursor.
                QTest::mouseClick(Picker(), Qt::LeftButton, {}, QPoint(2 + 110, 2 + 60));
                EXPECT_EQ(main_.Picker.PickSel, 13);
                return true;
            default:
                QTest::keyClick(Picker(), Qt::Key_Return);
                return false;
        }
    });
    // Pattern 14: the cells of the bits of 14.
    EXPECT_EQ(Grid().left(5), " XXX ");
    EXPECT_TRUE(window_.statusBar()->isVisible());
    // A double click on page 2 chooses the pattern clicked; a right click
    // cancels.
    const QPoint place(2 + 110, 2 + 20);  // place 2
    ClickAndStep("PickPattern", [&] {
        QTest::mouseClick(Widget("KnopPageDown"), Qt::LeftButton);
        QTest::mouseClick(Picker(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(Picker(), Qt::LeftButton, {}, place);
        return false;
    });
    EXPECT_EQ(main_.Library.CurrentPattern, 88 + 2 + 1);
    ClickAndStep("PickPattern", [&] {
        QTest::mouseClick(Picker(), Qt::RightButton, {}, place);
        return false;
    });
    EXPECT_EQ(main_.Library.CurrentPattern, 88 + 2 + 1);
    EXPECT_FALSE(main_.Form.Timer1.Enabled());
}

}  // namespace
}  // namespace cluemill
