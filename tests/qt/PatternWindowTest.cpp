// SPDX-License-Identifier: MIT
// The pattern import and the pattern picker through the real widgets: the
// question panel answered by clicks, the picker driven by keys, the mouse
// and its paging buttons inside its wait.
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QStatusBar>

#include "patterns/ImportPatterns.h"
#include "qt/WindowFixture.h"

namespace cluemill {
namespace {

class PatternWindowTest : public WindowTest {
  protected:
    // A library of `count` patterns, pattern k with the cells of the bits of
    // k + 1, as if it had been there at start.
    void WriteLibrary(int count) {
        QByteArray bytes;
        for (int k = 0; k < count; ++k) {
            Pattern clues{};
            for (int bit = 0; bit < 20; ++bit) clues[bit] = ((k + 1) >> bit & 1) != 0;
            PatternRecord record;
            record.PatternCode = EncodePattern(clues);
            const auto recordBytes = ToBytes(record);
            bytes.append(reinterpret_cast<const char*>(recordBytes.data()),
                         static_cast<qsizetype>(recordBytes.size()));
        }
        WriteFile(QStringLiteral("Patterns.rec"), bytes);
        main_.Library.Count();
        main_.Form.NextPattern.Enabled = true;
        main_.Form.PickPattern.Enabled = true;
        window_.Sync();
    }
    // Clicks `button` and calls `step` every 10 ms while the handler it
    // started waits, until `step` returns false; a wait of more than five
    // seconds fails the test.
    void ClickAndStep(const QString& button, const std::function<bool()>& step) {
        bool stepping = true;
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (stepping && ++ticks == 500) {
                ADD_FAILURE() << "the wait goes on";
                main_.CommandCancel_Click();
                main_.Picture4_KeyDown(27, 0);
                stepping = false;
                return;
            }
            if (stepping) stepping = step();
        });
        ticker.start();
        QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
        EXPECT_FALSE(stepping) << "the handler ended before its steps";
    }
    QWidget* Picker() { return Widget<QWidget>(QStringLiteral("Picture4")); }
    // The picker's drawing as shown, in its own pixels.
    QColor Shown(int x, int y) {
        const QImage image = Picker()->grab().toImage();
        return image.pixelColor(x + 2, y + 2);  // inside the two-pixel border
    }
    QString GridPattern() {
        QString line;
        for (int i = 0; i < kCells; ++i) {
            line += Cell(i)->palette().color(QPalette::Window) == kRedColour ? QLatin1Char('X')
                                                                             : QLatin1Char('.');
        }
        return line;
    }
};

TEST_F(PatternWindowTest, ImportAsksThroughTheQuestionPanel) {
    const QString file = WriteFile(QStringLiteral("puzzles.sds"),
                                   QByteArray::fromStdString(testing::SdsFileOf(
                                       {testing::kSuitable20, testing::kSuitable20,
                                        testing::kSuitable21, testing::kSuitable22})));
    std::string filter;
    platform_.SetOpenFileHook([&](const std::string& asked) {
        filter = asked;
        return std::optional<std::string>(QFile::encodeName(file).toStdString());
    });
    auto* panel = Widget<QWidget>(QStringLiteral("Picture1"));
    std::vector<QString> shown;
    ClickAndStep(QStringLiteral("ImportPattern"), [&] {
        if (!panel->isVisible()) return true;
        shown.push_back(GridPattern());
        EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("CommandGenerate"))->isEnabled());
        EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("PickPattern"))->isEnabled());
        EXPECT_FALSE(window_.findChild<QLabel*>(QStringLiteral("Grid(0)"))->isEnabled());
        EXPECT_EQ(Widget<QLabel>(QStringLiteral("Label2"))->text(),
                  QStringLiteral("Import this pattern ?"));
        // "Yes" has the keyboard: Return says yes to the first pattern (its
        // repeat is not asked), Escape cancels at the next.
        EXPECT_EQ(window_.focusWidget(), Widget<QPushButton>(QStringLiteral("CommandYes")));
        QTest::keyClick(window_.focusWidget(), shown.size() == 1 ? Qt::Key_Return : Qt::Key_Escape);
        return shown.size() < 2;
    });
    EXPECT_EQ(filter, "Tavix Sudoku files (*.sds)|*.sds");
    ASSERT_EQ(shown.size(), 2U);
    EXPECT_EQ(shown[0], QString::fromStdString(testing::kSuitable20));
    EXPECT_EQ(shown[1], QString::fromStdString(testing::kSuitable21));
    EXPECT_EQ(main_.Library.PatternCount, 1);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("CommandGenerate"))->isEnabled());
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("PickPattern"))->isEnabled());
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("NextPattern"))->isEnabled());
    EXPECT_EQ(GridPattern(), QString(81, QLatin1Char('.')));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PatternWindowTest, ClosingTheWindowEndsAWaitingImport) {
    const QString file = WriteFile(QStringLiteral("puzzles.sds"),
                                   QByteArray::fromStdString(testing::SdsFileOf(
                                       {testing::kSuitable20, testing::kSuitable21})));
    platform_.SetOpenFileHook([&](const std::string&) {
        return std::optional<std::string>(QFile::encodeName(file).toStdString());
    });
    ClickAndStep(QStringLiteral("ImportPattern"), [&] {
        if (!main_.Form.Picture1.Visible) return true;
        EXPECT_TRUE(window_.close());
        return false;
    });
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(main_.Library.PatternCount, 0);
}

TEST_F(PatternWindowTest, PickerIsDrivenByKeysMouseAndButtons) {
    WriteLibrary(100);
    auto* pick = Widget<QPushButton>(QStringLiteral("PickPattern"));
    ASSERT_TRUE(pick->isEnabled());
    int step = 0;
    ClickAndStep(QStringLiteral("PickPattern"), [&] {
        switch (step++) {
            case 0:
                EXPECT_TRUE(Widget<QWidget>(QStringLiteral("Picture3"))->isVisible());
                // The keyboard goes to the picker (focusWidget, not hasFocus: an
                // offscreen window under load may not be active yet).
                EXPECT_EQ(window_.focusWidget(), Picker());
                EXPECT_FALSE(window_.close()) << "closing is refused while the picker is open";
                EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("KnopHome"))->isEnabled());
                EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("KnopEnd"))->isEnabled());
                // Pattern 0 has cell 0 alone; pattern 1 cell 1 alone.
                EXPECT_EQ(Shown(8, 8), kRedColour);
                EXPECT_NE(Shown(54 + 3, 5 + 3), kRedColour);
                EXPECT_EQ(Shown(54 + 7, 5 + 3), kRedColour);
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
                EXPECT_EQ(main_.Picker.PickSel, 12);
                QTest::keyClick(Picker(), Qt::Key_Down, Qt::ShiftModifier);
                EXPECT_EQ(main_.Picker.PickSel, 12);
                return true;
            case 2:
                QTest::mouseClick(Widget<QPushButton>(QStringLiteral("KnopPageDown")),
                                  Qt::LeftButton);
                EXPECT_EQ(main_.Picker.PickPage, 1);
                EXPECT_EQ(main_.Picker.PickSel, 11);
                EXPECT_EQ(Widget<QLabel>(QStringLiteral("LabelPage"))->text(), QStringLiteral("2"));
                EXPECT_EQ(window_.focusWidget(), Picker());
                QTest::mouseClick(Widget<QPushButton>(QStringLiteral("KnopHome")), Qt::LeftButton);
                // A click on place 13 (column 2 of row 1) moves the cursor.
                QTest::mouseClick(Picker(), Qt::LeftButton, {}, QPoint(2 + 110, 2 + 60));
                EXPECT_EQ(main_.Picker.PickSel, 13);
                return true;
            default:
                QTest::keyClick(Picker(), Qt::Key_Return);
                return false;
        }
    });
    EXPECT_EQ(main_.Library.CurrentPattern, 14);
    EXPECT_FALSE(Widget<QWidget>(QStringLiteral("Picture3"))->isVisible());
    EXPECT_FALSE(main_.Form.Timer1.Enabled());
    // Pattern 14 (index 13): the cells of the bits of 14.
    EXPECT_EQ(GridPattern(), QStringLiteral(".XXX") + QString(77, QLatin1Char('.')));
    EXPECT_TRUE(window_.close());
}

// A key pressed just before the timer's tick and released 70 ms later moves
// the cursor once: the press starts the timer's period afresh.
TEST_F(PatternWindowTest, AShortKeyPressMovesTheCursorOnce) {
    WriteLibrary(30);
    auto* timer = Widget<QTimer>(QStringLiteral("Timer1"));
    QElapsedTimer held;
    int step = 0;
    ClickAndStep(QStringLiteral("PickPattern"), [&] {
        if (step == 0) {
            if (main_.Picker.PickRepeat != 0 || timer->remainingTime() > 30) return true;
            QTest::keyPress(Picker(), Qt::Key_Right);
            EXPECT_GT(timer->remainingTime(), 120);
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
}

// A double click on page 2 (press, release, double click, release) chooses
// the pattern clicked, whenever the last release arrives.
TEST_F(PatternWindowTest, DoubleClickOnTheSecondPageChoosesThatPattern) {
    WriteLibrary(100);
    const QPoint place(2 + 110, 2 + 20);  // place 2
    ClickAndStep(QStringLiteral("PickPattern"), [&] {
        QTest::mouseClick(Widget<QPushButton>(QStringLiteral("KnopPageDown")), Qt::LeftButton);
        QTest::mouseClick(Picker(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(Picker(), Qt::LeftButton, {}, place);
        QTest::mouseRelease(Picker(), Qt::LeftButton, {}, place);
        return false;
    });
    EXPECT_EQ(main_.Library.CurrentPattern, 88 + 2 + 1);
    QTest::mouseRelease(Picker(), Qt::LeftButton, {}, place);
    EXPECT_EQ(main_.Library.CurrentPattern, 88 + 2 + 1);
    EXPECT_FALSE(main_.Form.Timer1.Enabled());
}

TEST_F(PatternWindowTest, PickerBlinksAndIsCancelledByARightClick) {
    WriteLibrary(3);
    main_.NextPattern_Click();
    window_.Sync();
    int ticks = 0;
    std::vector<QColor> corner;
    ClickAndStep(QStringLiteral("PickPattern"), [&] {
        if (ticks == 0) {
            // Drawn on the window's colour, where the white cursor shows;
            // the help line runs across the bottom of the panel, over the
            // status bar, which gives way to it.
            EXPECT_EQ(Shown(2, 2), WindowColour());
            const QRect help = Widget<QLabel>(QStringLiteral("Label5"))->geometry();
            const QRect panel = Widget<QWidget>(QStringLiteral("Picture3"))->rect();
            EXPECT_TRUE(Widget<QLabel>(QStringLiteral("Label5"))->isVisible());
            EXPECT_GT(help.top(), Picker()->geometry().bottom());
            EXPECT_GE(help.width(), panel.width() - 20);
            EXPECT_FALSE(window_.statusBar()->isVisible());
        }
        corner.push_back(Shown(0, 0));
        if (++ticks < 60) return true;
        QTest::mouseClick(Picker(), Qt::RightButton, {}, QPoint(2 + 60, 2 + 20));
        return false;
    });
    // The frame was shown white and black in turn.
    EXPECT_NE(std::count(corner.begin(), corner.end(), kWhiteColour), 0);
    EXPECT_NE(std::count(corner.begin(), corner.end(), kBlackColour), 0);
    EXPECT_EQ(main_.Library.CurrentPattern, 1);
    EXPECT_EQ(main_.Picker.PickSel, -1);
    EXPECT_EQ(GridPattern(), QStringLiteral("X") + QString(80, QLatin1Char('.')));
    EXPECT_TRUE(window_.statusBar()->isVisible());
}

}  // namespace
}  // namespace cluemill
