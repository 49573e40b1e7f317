// SPDX-License-Identifier: MIT
// The window through its real widgets, on Qt's offscreen platform: typing and
// dropping puzzles, the uniqueness test, the designed controls and layout,
// the user's choices, generation runs halted by a click, and closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Main.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"
#include "qt/WindowFixture.h"

namespace cluemill {
namespace {

constexpr const char* kUnique =
    "..47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..";
constexpr const char* kSolution =
    "824763519651289374379451286763145892142938765598672431417326958286597143935814627";
// kUnique with its solution's digit added in the top-left cell: still unique,
// and that given is the first in cell order that it can spare.
constexpr const char* kNonMinimal =
    "8.47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..";

// Clue patterns, a clue marked X: 30 clues (code 00F32B218102810309A99E),
// whose candidates are mostly unique and quickly decided, and 22 clues
// (01C1880314800251802307), whose candidates mostly have several solutions.
constexpr const char* kPattern30 =
    ".XXXX..XX..X.X.XX..X....XX......X......X.X......X......XX....X..XX.X.X..XX..XXXX.";
constexpr const char* kPattern22 =
    "XXX.....XX...X.........XX...X.X..X.............X..X.X...XX.........X...XX.....XXX";

// The controls a run disables (all but Text2, which it locks).
const std::vector<QString> kLockedDuringRun = {
    "NewPattern",    "PreviousPattern", "NextPattern",
    "ImportPattern", "PickPattern",     "ButtonSolve",
    "ButtonExit",    "Text1",           "CheckLimit",
    "Option1(0)",    "Option1(1)",      "Option1(2)",
    "Option1(3)",    "Combo1",          "CheckMinimal",
    "Combo2",        "TestMinimal",     "CheckRandomPattern"};

// The caption or title a widget shows.
QString CaptionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
    throw std::runtime_error("no caption: " + widget->objectName().toStdString());
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

TEST_F(WindowTest, ShowsEveryControlWithItsDesignedCaption) {
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Cluemill"));
    const std::vector<std::pair<QString, QString>> captions = {
        {"PatternName", "Pattern name:"},
        {"NewPattern", "New"},
        {"PreviousPattern", "Prev"},
        {"NextPattern", "Next"},
        {"ImportPattern", "Import"},
        {"PickPattern", "Pick"},
        {"CommandGenerate", "Generate Sudokus"},
        {"CommandHalt", "Halt Generator"},
        {"Frame1", "Generator Modifications"},
        {"CheckRandomPattern", "Random patterns"},
        {"CheckMinimal", "Check Minimal"},
        {"Label3(0)", "Renew base givens after"},
        {"Label3(1)", "invalid grids"},
        {"Frame2", "To gain uniqueness, expand pattern with..."},
        {"Option1(0)", "Don't expand, seek sequential"},
        {"Option1(1)", "1 Cell (don't take long)"},
        {"Option1(2)", "2 Cells (can take long)"},
        {"Option1(3)", "3 Cells (will take very long)"},
        {"CheckLimit", "Limited to \"Very Hard\""},
        {"Label4", "Select output file-type =>"},
        {"Frame3", "Pattern Performance"},
        {"Label6(0)", "Non-Minimal"},
        {"Label6(1)", "Not Expanded"},
        {"Label6(2)", "Very Easy : 00.00 %"},
        {"Label6(7)", "Others : 00.00 %"},
        {"Label6(8)", "Expanded"},
        {"Label6(13)", "Very Hard : 00.00 %"},
        {"Label6(15)", "Minimal"},
        {"Label6(18)", "Medium : 00.00 %"},
        {"Label6(21)", "Others : 00.00 %"},
        {"ButtonSolve", "Check  Uniqueness"},
        {"TestMinimal", "Check Minimal"},
        {"Label1", "QUESTION"},
        {"Label2", "Import this pattern ?"},
        {"CommandYes", "Yes"},
        {"CommandNo", "No"},
        {"CommandCancel", "Cancel"},
        {"Label7", "Page"},
        {"Label5",
         "You can navigate with cursor keys, press [Return] or DoubleClick to select pattern, "
         "[Escape] or "
         "RightClick to cancel"},
        {"ButtonExit", "Exit"},
        {"LabelRow(0)", "A"},
        {"LabelRow(7)", "H"},
        {"LabelRow(8)", "J"},
        {"LabelColumn(0)", "1"},
        {"LabelColumn(8)", "9"},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(CaptionOf(Widget<QWidget>(name)), caption) << name.toStdString();
    }
    for (const char* name :
         {"Line1(0)", "Line1(1)", "Line2(0)", "Line2(1)", "Line3", "Picture2", "Picture4",
          "KnopHome", "KnopPageUp", "KnopPageDown", "KnopEnd", "LabelPage"}) {
        EXPECT_NE(window_.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    }
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->isVisible()) << i;

    EXPECT_EQ(Items(Widget<QComboBox>(QStringLiteral("Combo1"))),
              QStringList({"250", "500", "1000", "2500", "5000", "10000", "25000", "50000"}));
    EXPECT_EQ(Items(Widget<QComboBox>(QStringLiteral("Combo2"))),
              QStringList({"Tavix Sudoku", "Simple Sudoku", "Sudocue", "Into Sudoku",
                           "Sudoku Explainer", "81 char $ (.)", "81 char $ (0)"}));
    EXPECT_TRUE(Widget<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
    const QString instructions = Widget<QPlainTextEdit>(QStringLiteral("Text1"))->toPlainText();
    EXPECT_TRUE(instructions.startsWith(
        QStringLiteral("Drag and Drop any sudoku text-file (*.txt) in this \n"
                       "rectangle.")));
    EXPECT_TRUE(instructions.contains(QStringLiteral("\nthen... press the [Check...] button.")));
    EXPECT_TRUE(Widget<QPlainTextEdit>(QStringLiteral("Text1"))->isReadOnly());
    EXPECT_EQ(Widget<QStatusBar>(QStringLiteral("StatusBar"))->findChildren<QLabel*>().size(), 6);
    EXPECT_EQ(Widget<QTimer>(QStringLiteral("Timer1"))->interval(), 180);

    EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("CommandGenerate"))->isVisible());
    for (const char* hidden : {"CommandHalt", "Picture1", "Picture3"}) {
        EXPECT_FALSE(Widget<QWidget>(QLatin1String(hidden))->isVisible()) << hidden;
    }
}

// The window is laid out by hand: every caption must be readable, and no
// two controls may cover each other or stick out of their frame.
TEST_F(WindowTest, ControlsFitTheirCaptionsAndDoNotOverlap) {
    QList<QWidget*> controls;
    for (QWidget* widget : window_.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_")) && !widget->isHidden() &&
            widget->parentWidget() != window_.statusBar()) {
            controls << widget;
        }
    }
    for (QWidget* widget : controls) {
        const std::string name = widget->objectName().toStdString();
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << name;
        const QFontMetrics metrics = widget->fontMetrics();
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            } else {
                EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
                    << name;
            }
        } else if (qobject_cast<QPushButton*>(widget) != nullptr) {
            EXPECT_LE(metrics.horizontalAdvance(CaptionOf(widget)) + 8, widget->width()) << name;
        } else if (qobject_cast<QAbstractButton*>(widget) != nullptr ||
                   qobject_cast<QComboBox*>(widget) != nullptr) {
            EXPECT_LE(widget->sizeHint().width(), widget->width()) << name;
        } else if (const auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(frame->title()) + 16, frame->width()) << name;
        }
        for (QWidget* other : controls) {
            if (other != widget && other->parentWidget() == widget->parentWidget() &&
                other->objectName() < widget->objectName()) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << name << " covers " << other->objectName().toStdString();
            }
        }
    }
    const int lineWidth = QFontMetrics(Widget<QLineEdit>(QStringLiteral("Text2"))->font())
                              .horizontalAdvance(QString(81, QLatin1Char('8')));
    EXPECT_LT(lineWidth, Widget<QLineEdit>(QStringLiteral("Text2"))->width() - 8);
    EXPECT_EQ(Widget<QWidget>(QStringLiteral("Picture4"))->contentsRect().size(), QSize(541, 429));
}

TEST_F(WindowTest, TypedPuzzleAppearsOnTheGridWithItsEightyFirstCharacter) {
    auto* text2 = Widget<QLineEdit>(QStringLiteral("Text2"));
    auto* solve = Widget<QPushButton>(QStringLiteral("ButtonSolve"));
    const QString puzzle = QString::fromLatin1(kUnique);

    Type(puzzle.left(80));
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->text().isEmpty()) << i;
    EXPECT_FALSE(solve->isEnabled());

    Type(puzzle.right(1));
    ExpectGridShows(kUnique);
    for (int i = 0; i < kCells; ++i)
        EXPECT_EQ(Cell(i)->palette().color(QPalette::WindowText), kBlackColour) << i;
    EXPECT_TRUE(solve->isEnabled());
    EXPECT_EQ(text2->text(), puzzle);
    EXPECT_EQ(text2->cursorPosition(), 81);

    // Typing on keeps the user's text; the grid re-reads its first 81
    // characters and the caret stays where the user typed.
    text2->setCursorPosition(0);
    Type(QStringLiteral("5"));
    EXPECT_EQ(text2->text(), QStringLiteral("5") + puzzle);
    EXPECT_EQ(text2->cursorPosition(), 1);
    EXPECT_EQ(Cell(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(Cell(2)->text(), QStringLiteral("0"));
    EXPECT_EQ(Cell(3)->text(), QStringLiteral("4"));

    // Deleting down to 80 characters leaves the grid as it was.
    text2->setCursorPosition(3);
    for (int i = 0; i < 3; ++i) QTest::keyClick(text2, Qt::Key_Backspace);
    EXPECT_EQ(text2->text().size(), 79);
    EXPECT_EQ(Cell(0)->text(), QStringLiteral("5"));
}

TEST_F(WindowTest, TextSetByTheProgramIsShownWithoutBeingReadAgain) {
    main_.Form.Text2.Text = kUnique;
    window_.Sync();
    EXPECT_EQ(Widget<QLineEdit>(QStringLiteral("Text2"))->text(), QString::fromLatin1(kUnique));
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->text().isEmpty()) << i;
    EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());
}

TEST_F(WindowTest, DroppedTextFileIsReadOntoTheGrid) {
    const QString puzzle =
        WriteFile(QStringLiteral("puzzle.txt"), QByteArray(kNonMinimal) + "\r\n");
    EXPECT_TRUE(DropFiles({puzzle}));
    EXPECT_TRUE(messages_.empty());
    ExpectGridShows(kNonMinimal);
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());
    EXPECT_TRUE(Widget<QLineEdit>(QStringLiteral("Text2"))->text().isEmpty());
}

TEST_F(WindowTest, RefusedDropsAreExplained) {
    const QString puzzle = WriteFile(QStringLiteral("puzzle.txt"), kUnique);
    const QString data = WriteFile(QStringLiteral("puzzle.dat"), kUnique);

    EXPECT_TRUE(DropFiles({puzzle, data}));
    EXPECT_TRUE(DropFiles({data}));
    EXPECT_TRUE(DropFiles({folder_.path()}));
    QMimeData text;
    text.setText(QString::fromLatin1(kUnique));
    EXPECT_TRUE(Drop(text));

    const std::vector<Message> expected = {
        {"Only allows 1 file at a time In beta version! Sorry!", "Ooops beta version"},
        {"This file is not a txt-file (*.txt)", "Cluemill"},
        {"Sorry this beta version only allows files Not directories to be installed", "Cluemill"},
    };
    EXPECT_EQ(messages_, expected);
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->text().isEmpty()) << i;
    EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());
}

TEST_F(WindowTest, UniquePuzzleIsShownSolved) {
    Type(QString::fromLatin1(kUnique));
    Click(QStringLiteral("ButtonSolve"));

    EXPECT_EQ(messages_,
              std::vector<Message>({{"This Sudoku has one unique solution", "Valid Sudoku"}}));
    for (int i = 0; i < kCells; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Cell(i)->text(), QString(QLatin1Char(kSolution[i])));
        EXPECT_EQ(Cell(i)->palette().color(QPalette::Window),
                  kUnique[i] == '.' ? WindowColour() : kRedColour);
    }
    EXPECT_EQ(Widget<QLineEdit>(QStringLiteral("Text2"))->text(), QString::fromLatin1(kSolution));
    EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());

    // The solved text reads as the next puzzle once the user edits it.
    Type(QStringLiteral("x"));
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());
}

TEST_F(WindowTest, RedundantGivenIsShownInWhite) {
    Click(QStringLiteral("TestMinimal"));
    EXPECT_EQ(main_.Form.TestMinimal.Value, 1);
    Type(QString::fromLatin1(kNonMinimal));
    Click(QStringLiteral("ButtonSolve"));

    EXPECT_EQ(messages_,
              std::vector<Message>(
                  {{"This Sudoku has one unique solution but is non-minimal", "Valid Sudoku"}}));
    EXPECT_EQ(Cell(0)->palette().color(QPalette::WindowText), kWhiteColour);
    EXPECT_EQ(Cell(0)->palette().color(QPalette::Window), kRedColour);
    for (int i = 1; i < kCells; ++i)
        EXPECT_EQ(Cell(i)->palette().color(QPalette::WindowText), kBlackColour) << i;
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Cluemill"));
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("ButtonExit"))->isEnabled());
}

TEST_F(WindowTest, ChoicesStayInStepWithTheForm) {
    Click(QStringLiteral("CheckLimit"));
    EXPECT_EQ(main_.Form.CheckLimit.Value, 1);
    Click(QStringLiteral("CheckLimit"));
    EXPECT_EQ(main_.Form.CheckLimit.Value, 0);

    Click(QStringLiteral("Option1(2)"));
    EXPECT_FALSE(main_.Form.Option1[0].Value);
    EXPECT_TRUE(main_.Form.Option1[2].Value);

    auto* combo1 = Widget<QComboBox>(QStringLiteral("Combo1"));
    QTest::keyClick(combo1, Qt::Key_Down);
    EXPECT_EQ(main_.Form.Combo1.ListIndex, 1);

    // A locked list keeps its entry.
    auto* combo2 = Widget<QComboBox>(QStringLiteral("Combo2"));
    main_.Form.Combo2.Locked = true;
    QTest::keyClick(combo2, Qt::Key_Down);
    EXPECT_EQ(main_.Form.Combo2.ListIndex, 0);
    EXPECT_EQ(combo2->currentIndex(), 0);

    // What the program sets reaches the widgets.
    main_.Form.Option1[2].Value = false;
    main_.Form.Option1[3].Value = true;
    main_.Form.Combo2.ListIndex = 4;
    main_.Form.CheckMinimal.Value = 1;
    main_.Form.CheckRandomPattern.Enabled = false;
    window_.Sync();
    EXPECT_TRUE(Widget<QRadioButton>(QStringLiteral("Option1(3)"))->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(QStringLiteral("Option1(2)"))->isChecked());
    EXPECT_EQ(combo2->currentText(), QStringLiteral("Sudoku Explainer"));
    EXPECT_TRUE(Widget<QCheckBox>(QStringLiteral("CheckMinimal"))->isChecked());
    EXPECT_FALSE(Widget<QCheckBox>(QStringLiteral("CheckRandomPattern"))->isEnabled());
}

TEST_F(WindowTest, ClickedCellsDrawAPattern) {
    Type(QString::fromLatin1(kUnique));
    QTest::mouseClick(Cell(0), Qt::LeftButton);
    EXPECT_EQ(Cell(0)->palette().color(QPalette::Window), kRedColour);
    QTest::mouseClick(Cell(0), Qt::LeftButton);
    EXPECT_EQ(Cell(0)->palette().color(QPalette::Window), WindowColour());
    QTest::mouseClick(Cell(0), Qt::RightButton);
    EXPECT_EQ(Cell(0)->palette().color(QPalette::Window), WindowColour());
    EXPECT_FALSE(Widget<QPushButton>(QStringLiteral("ButtonSolve"))->isEnabled());

    Click(QStringLiteral("NewPattern"));
    EXPECT_EQ(Widget<QLabel>(QStringLiteral("PatternName"))->text(),
              QStringLiteral("Pattern name: "));
    EXPECT_EQ(Cell(2)->palette().color(QPalette::Window), WindowColour());
    EXPECT_TRUE(Cell(2)->text().isEmpty());
}

TEST_F(WindowTest, ClosingIsRefusedDuringAGenerationRun) {
    main_.Generating = true;
    EXPECT_FALSE(window_.close());
    EXPECT_TRUE(window_.isVisible());
    main_.Generating = false;
    EXPECT_TRUE(window_.close());
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(WindowTest, GenerationRunsUntilHaltIsClicked) {
    DrawPattern(kPattern30);
    auto* generate = Widget<QPushButton>(QStringLiteral("CommandGenerate"));
    auto* halt = Widget<QPushButton>(QStringLiteral("CommandHalt"));
    auto* text2 = Widget<QLineEdit>(QStringLiteral("Text2"));

    int ticks = 0;
    bool clicked = false;
    Generate([&] {
        // Three puzzles come within a second as a rule; on a loaded
        // machine under the sanitizers the run may take until just before
        // the watchdog.
        if (++ticks < 1900 && Accepted() < 3) return;
        // The run is in progress: every control that could start other
        // work is disabled, and what the window shows is the Form.
        EXPECT_TRUE(halt->isVisible());
        EXPECT_FALSE(generate->isVisible());
        for (int i = 0; i < kCells; ++i) {
            EXPECT_FALSE(Cell(i)->isEnabled()) << i;
            EXPECT_EQ(Cell(i)->text(), Latin1(main_.Form.Grid[i].Caption)) << i;
        }
        for (const QString& name : kLockedDuringRun) {
            EXPECT_FALSE(Widget<QWidget>(name)->isEnabled()) << name.toStdString();
        }
        EXPECT_TRUE(text2->isEnabled());
        EXPECT_TRUE(text2->isReadOnly());
        EXPECT_TRUE(window_.windowTitle().startsWith(QStringLiteral("Cluemill")));
        EXPECT_EQ(window_.windowTitle(), Latin1(main_.Form.Main.Caption));
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(PanelTexts()[k], Latin1(main_.Form.StatusBar.Panels[k])) << k;
        }
        // Closing is refused while the run goes on.
        EXPECT_FALSE(window_.close());
        EXPECT_TRUE(window_.isVisible());
        clicked = true;
        ClickHalt();
    });

    ASSERT_TRUE(clicked);
    EXPECT_EQ(messages_, std::vector<Message>({{"Generator halted", "Cluemill"}}));
    EXPECT_FALSE(main_.Generating);
    EXPECT_GE(Accepted(), 3);

    // Each panel counts one class: stored (the fresh folder had none) and
    // new puzzles.
    const std::array<QString, 6> labels = {"Very Easy", "Easy",      "Medium",
                                           "Hard",      "Very Hard", "Others"};
    const QRegularExpression panel(QStringLiteral("^(.+): (\\d+) \\+(\\d+)$"));
    int accepted = 0;
    for (int k = 0; k < 6; ++k) {
        const QString text = PanelTexts()[k];
        const QRegularExpressionMatch match = panel.match(text);
        ASSERT_TRUE(match.hasMatch()) << text.toStdString();
        EXPECT_EQ(match.captured(1), labels[static_cast<std::size_t>(k)]);
        EXPECT_EQ(match.captured(2), match.captured(3)) << text.toStdString();
        EXPECT_EQ(match.captured(3).toInt(), main_.Generator.NewCount[k]) << text.toStdString();
        accepted += match.captured(3).toInt();
        // Every accepted puzzle of a class is a 166-byte record of its file.
        const QFileInfo file(
            folder_.filePath(QStringLiteral("Tavix Sudoku/Sudoku_%1.sds")
                                 .arg(QString(labels[static_cast<std::size_t>(k)])
                                          .replace(QLatin1Char(' '), QLatin1Char('_')))));
        EXPECT_EQ(file.exists() ? file.size() : 0, 166 * main_.Generator.NewCount[k])
            << text.toStdString();
    }
    EXPECT_GE(accepted, 3);

    // The controls are back as they were, the navigation buttons set for the
    // one pattern of the library, which is in the temporary folder.
    EXPECT_TRUE(generate->isVisible());
    EXPECT_FALSE(halt->isVisible());
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->isEnabled()) << i;
    for (const QString& name : kLockedDuringRun) {
        const bool enabled = name != QLatin1String("PreviousPattern") &&
                             name != QLatin1String("NextPattern") &&
                             name != QLatin1String("ButtonSolve");
        EXPECT_EQ(Widget<QWidget>(name)->isEnabled(), enabled) << name.toStdString();
    }
    EXPECT_FALSE(text2->isReadOnly());
    // The caption is left as the run last set it ("Cluemill" or a
    // "Seeking" caption).
    EXPECT_TRUE(window_.windowTitle().startsWith(QStringLiteral("Cluemill")));
    EXPECT_EQ(window_.windowTitle(), Latin1(main_.Form.Main.Caption));
    EXPECT_EQ(Widget<QLabel>(QStringLiteral("PatternName"))->text(),
              QStringLiteral("Pattern name: 00F32B218102810309A99E"));
    EXPECT_EQ(QFileInfo(folder_.filePath(QStringLiteral("Patterns.rec"))).size(), 98);

    // The grid shows the last accepted solution on the pattern, Text2 the
    // puzzle: the solution's digits in the clue cells, 0 elsewhere.
    const QString puzzle = text2->text();
    ASSERT_EQ(puzzle.size(), kCells);
    for (int i = 0; i < kCells; ++i) {
        SCOPED_TRACE(i);
        const QString digit = Cell(i)->text();
        ASSERT_EQ(digit.size(), 1);
        EXPECT_TRUE(digit[0] >= QLatin1Char('1') && digit[0] <= QLatin1Char('9'));
        const bool clue = kPattern30[i] == 'X';
        EXPECT_EQ(Cell(i)->palette().color(QPalette::Window), clue ? kRedColour : WindowColour());
        EXPECT_EQ(puzzle[i], clue ? digit[0] : QLatin1Char('0'));
    }

    // A second run starts afresh: the new counts go back to 0, the stored
    // ones keep the first run's puzzles.
    const std::array<std::int32_t, 6> first = main_.Generator.NewCount;
    bool clickedAgain = false;
    Generate([&] {
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(main_.StoredCount[k], first[k] + main_.Generator.NewCount[k]);
        clickedAgain = true;
        ClickHalt();
    });
    EXPECT_TRUE(clickedAgain);
    EXPECT_EQ(messages_.size(), 2U);
}

TEST_F(WindowTest, ClicksThatArriveDuringARunStartNothing) {
    DrawPattern(kPattern30);
    auto* generate = Widget<QPushButton>(QStringLiteral("CommandGenerate"));
    auto* combo1 = Widget<QComboBox>(QStringLiteral("Combo1"));
    auto* option3 = Widget<QRadioButton>(QStringLiteral("Option1(3)"));
    auto* text2 = Widget<QLineEdit>(QStringLiteral("Text2"));
    bool clicked = false;
    Generate([&] {
        clicked = true;
        // Clicks queued before the controls were locked: they reach the
        // widgets' signals, but no handler runs inside the run, and the
        // widgets show the Form again.
        emit generate->clicked();
        emit combo1->activated(3);
        option3->setChecked(true);
        emit option3->clicked();
        QTest::keyClicks(text2, QStringLiteral("123"));
        EXPECT_EQ(main_.Form.Combo1.ListIndex, 0);
        EXPECT_EQ(combo1->currentIndex(), 0);
        EXPECT_TRUE(main_.Form.Option1[0].Value);
        EXPECT_FALSE(main_.Form.Option1[3].Value);
        EXPECT_FALSE(option3->isChecked());
        EXPECT_EQ(text2->text(), Latin1(main_.Form.Text2.Text));
        ClickHalt();
    });
    ASSERT_TRUE(clicked);
    // One run, halted once; the settings of the run are untouched.
    EXPECT_EQ(messages_, std::vector<Message>({{"Generator halted", "Cluemill"}}));
    EXPECT_EQ(main_.RenewAfter, 250);
    EXPECT_EQ(main_.ExpandLevel, 0);
    EXPECT_TRUE(Widget<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
}

// With "3 Cells (will take very long)" the run spends its time expanding the
// 22-clue pattern's candidates; a click on "Halt Generator" still ends it.
TEST_F(WindowTest, HaltEndsARunInsideAnExpansion) {
    DrawPattern(kPattern22);
    Click(QStringLiteral("Option1(3)"));
    EXPECT_EQ(main_.ExpandLevel, 3);
    int ticks = 0;
    bool clicked = false;
    std::string caption;
    Generate([&] {
        caption = main_.Form.Main.Caption;
        // Pairs and triples of added cells are being tried.
        if (++ticks < 1000 && caption != "Cluemill - Modification level 2 busy" &&
            caption != "Cluemill - Modification level 3 busy") {
            return;
        }
        clicked = true;
        ClickHalt();
    });
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(caption == "Cluemill - Modification level 2 busy" ||
                caption == "Cluemill - Modification level 3 busy")
        << caption;
    EXPECT_EQ(messages_, std::vector<Message>({{"Generator halted", "Cluemill"}}));
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("CommandGenerate"))->isVisible());
    EXPECT_TRUE(Widget<QRadioButton>(QStringLiteral("Option1(3)"))->isEnabled());
    EXPECT_TRUE(Widget<QRadioButton>(QStringLiteral("Option1(3)"))->isChecked());
}

TEST_F(WindowTest, RefusedPatternStartsNoRun) {
    DrawPattern(kPattern22);
    QTest::mouseClick(Cell(0), Qt::LeftButton);
    QTest::mouseClick(Cell(1), Qt::LeftButton);
    QTest::mouseClick(Cell(2), Qt::LeftButton);
    bool ticked = false;
    Generate([&] { ticked = true; });
    EXPECT_FALSE(ticked);
    EXPECT_EQ(messages_,
              std::vector<Message>({{"A minimum of 20 clues is required !", "Cluemill"}}));
    EXPECT_TRUE(Widget<QPushButton>(QStringLiteral("CommandGenerate"))->isVisible());
    EXPECT_TRUE(Cell(0)->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(folder_.filePath(QStringLiteral("Patterns.rec"))));
}

TEST_F(WindowTest, GeneratorSettingsReachTheEngine) {
    auto* combo1 = Widget<QComboBox>(QStringLiteral("Combo1"));
    QTest::keyClick(combo1, Qt::Key_Down);
    QTest::keyClick(combo1, Qt::Key_Down);
    EXPECT_EQ(main_.Form.Combo1.ListIndex, 2);
    EXPECT_EQ(main_.RenewAfter, 1000);
    QTest::keyClick(combo1, Qt::Key_End);
    EXPECT_EQ(main_.RenewAfter, 50000);

    Click(QStringLiteral("Option1(2)"));
    EXPECT_EQ(main_.ExpandLevel, 2);
    Click(QStringLiteral("Option1(0)"));
    EXPECT_EQ(main_.ExpandLevel, 0);
    EXPECT_TRUE(main_.Form.Option1[0].Value);
    EXPECT_FALSE(main_.Form.Option1[2].Value);

    Click(QStringLiteral("CheckMinimal"));
    Click(QStringLiteral("CheckLimit"));
    EXPECT_EQ(main_.Form.CheckMinimal.Value, 1);
    EXPECT_EQ(main_.Form.CheckLimit.Value, 1);

    // "Random patterns" locks the pattern editor and unticking it gives the
    // editor back as it was (NextPattern stays off: the library is empty).
    const std::vector<QString> editor = {"NewPattern", "PreviousPattern", "NextPattern",
                                         "ImportPattern", "PickPattern"};
    std::vector<bool> before;
    for (const QString& name : editor) before.push_back(Widget<QWidget>(name)->isEnabled());
    Click(QStringLiteral("CheckRandomPattern"));
    EXPECT_EQ(main_.Form.CheckRandomPattern.Value, 1);
    for (int i = 0; i < kCells; ++i) EXPECT_FALSE(Cell(i)->isEnabled()) << i;
    for (const QString& name : editor)
        EXPECT_FALSE(Widget<QWidget>(name)->isEnabled()) << name.toStdString();
    Click(QStringLiteral("CheckRandomPattern"));
    EXPECT_EQ(main_.Form.CheckRandomPattern.Value, 0);
    for (int i = 0; i < kCells; ++i) EXPECT_TRUE(Cell(i)->isEnabled()) << i;
    for (std::size_t i = 0; i < editor.size(); ++i) {
        EXPECT_EQ(Widget<QWidget>(editor[i])->isEnabled(), before[i]) << editor[i].toStdString();
    }
}

// The window's texts have one byte a character: a decimal separator beyond
// Latin-1 is shown as a point, never dropped.
TEST(QtPlatformTest, DecimalSeparatorOfTheLocale) {
    const QLocale saved;
    QtPlatform platform(".");
    const std::pair<const char*, char> cases[] = {
        {"en_US", '.'}, {"de_DE", ','}, {"fa_IR", '.'}, {"ar_EG", '.'}};
    for (const auto& [name, separator] : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(platform.DecimalSeparator(), separator) << name;
    }
    QLocale::setDefault(saved);
}

TEST(DialogFilterTest, PairsDescriptionsWithTheirPatterns) {
    EXPECT_EQ(DialogFilter("Sudoku files|*.sds"), QStringLiteral("Sudoku files (*.sds)"));
    EXPECT_EQ(DialogFilter("Puzzles|*.sds;*.txt|All files|*.*"),
              QStringLiteral("Puzzles (*.sds *.txt);;All files (*.*)"));
    EXPECT_EQ(DialogFilter(""), QString());
}

}  // namespace
}  // namespace cluemill

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Closing the window in a test must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
