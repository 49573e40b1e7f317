// SPDX-License-Identifier: MIT
// What only the window does, through its real widgets on Qt's offscreen
// platform: widgets bound to the Form, keys, mnemonics and the clipboard,
// drops, a generation run halted by a click, settings, menus, dialogs and
// sheets. What the engine decides is tested headless.
#include <QtPrintSupport>
#include <numeric>

#include "Version.h"
#include "qt/WindowFixture.h"

namespace cluemill {
namespace {

const QString kUnique = QStringLiteral(
    "..47.3....51.8..7...94..............1..938....9....4.......695..8......3...8146..");
// kUnique with a given more, in cell 0, which it can spare.
const QString kNonMinimal = "8" + kUnique.mid(1);
// 30 clues, the same after a half turn.
const char* const kPattern =
    ".XXXX..XX..X.X.XX..X....XX......X......X.X......X......XX....X..XX.X.X..XX..XXXX.";

QString CaptionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
    return {};
}

// Entry `entry` of menu `menu` (File: Import, Export sheet, Print, Batch, a
// line, Quit; Help: About).
QAction* MenuEntry(MainWindow& window, int menu, int entry) {
    return window.menuBar()->actions()[menu]->menu()->actions()[entry];
}

// The captions are the Form's byte for byte; the mnemonic marks are the
// window's alone, and Alt with the letter works the control.
TEST_F(WindowTest, CaptionsKeysAndTips) {
    const Form& f = main_.Form;
    const std::vector<std::tuple<const char*, const std::string*, int>> captions = {
        {"NewPattern", &f.NewPattern.Caption, 1}, {"Label3(0)", &f.Label3[0].Caption, 1},
        {"Option1(2)", &f.Option1[2].Caption, 1}, {"ButtonSolve", &f.ButtonSolve.Caption, 1},
        {"Label6(2)", &f.Label6[2].Caption, 0},   {"Frame2", &f.Frame2.Caption, 0}};
    for (const auto& [name, caption, marks] : captions) {
        EXPECT_EQ(PlainCaption(CaptionOf(Widget(name))), Latin1(*caption)) << name;
        EXPECT_EQ(CaptionOf(Widget(name)).count('&'), marks) << name;
    }
    main_.Form.CheckLimit.Caption = "Salt & pepper";
    window_.Sync();
    EXPECT_EQ(PlainCaption(CaptionOf(Widget("CheckLimit"))), "Salt & pepper");
    for (const char* name : {"Combo2", "Combo1", "Option1(3)", "CheckLimit", "Text2"})
        EXPECT_FALSE(Widget(name)->toolTip().isEmpty()) << name;
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    QTest::keyClick(&window_, Qt::Key_2, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main_.ExpandLevel == 2; }, 2000));
    QTest::keyClick(&window_, Qt::Key_S, Qt::AltModifier);  // Label4's buddy
    EXPECT_EQ(window_.focusWidget(), Widget("Combo2"));
    // Tab goes from the grid down the middle, down the right, to the
    // puzzle's test and back, passing over what is disabled.
    QStringList walk;
    Widget("GridBoard")->setFocus();
    do {
        QTest::keyClick(window_.focusWidget(), Qt::Key_Tab);
        walk << window_.focusWidget()->objectName();
    } while (walk.size() < 30 && walk.back() != "GridBoard");
    EXPECT_EQ(walk.join(' ').toStdString(),
              "DrawSymmetry NewPattern ImportPattern CommandGenerate CommandForecast ButtonExit "
              "CheckRandomPattern CheckMinimal Combo1 Option1(2) CheckLimit "
              "Combo2 Text2 TestMinimal GridBoard");
}

// Laid out by hand: no two controls over each other or out of their frame,
// every caption readable, the menu bar above it all.
TEST_F(WindowTest, ControlsFitTheirPlaces) {
    QList<QWidget*> controls;
    for (QWidget* widget : window_.centralWidget()->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith("qt_") && !widget->isHidden()) controls << widget;
    }
    for (QWidget* widget : controls) {
        const std::string name = widget->objectName().toStdString();
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << name;
        // A caption fits its label, and its button with a margin; the other
        // controls are as wide as they ask.
        const int text = widget->fontMetrics().horizontalAdvance(PlainCaption(CaptionOf(widget)));
        const auto* label = qobject_cast<QLabel*>(widget);
        EXPECT_LE(qobject_cast<QPushButton*>(widget) ? text + 8
                  : label != nullptr                 ? (label->wordWrap() ? 0 : text)
                                                     : widget->sizeHint().width(),
                  widget->width())
            << name;
        if (label != nullptr && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
        }
        for (QWidget* other : controls) {
            EXPECT_TRUE(other == widget || other->parentWidget() != widget->parentWidget() ||
                        !widget->geometry().intersects(other->geometry()))
                << name << " covers " << other->objectName().toStdString();
        }
    }
    EXPECT_LT(Text2()->fontMetrics().horizontalAdvance(QString(81, '8')), Text2()->width() - 8);
    EXPECT_EQ(Widget("Picture4")->contentsRect().size(), QSize(541, 429));
    const int bars = window_.menuBar()->height() + Widget("PatternBar")->height();
    EXPECT_EQ(window_.centralWidget()->geometry(), QRect(0, bars, 864, 444));
    EXPECT_EQ(window_.height(), bars + 444 + 22);
}

TEST_F(WindowTest, PuzzlesArePastedCopiedAndDropped) {
    // A grid pasted on nine lines, with separators, enters its 81 cells.
    QString grid;
    for (int row = 0; row < 9; ++row) {
        if (row == 3 || row == 6) grid += "------+-------+------\n";
        for (int box = 0; box < 3; ++box) grid += kNonMinimal.mid(row * 9 + box * 3, 3) + " | ";
        grid += '\n';
    }
    QGuiApplication::clipboard()->setText(grid);
    QTest::keyClick(Text2(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text2()->text(), kNonMinimal);
    EXPECT_EQ(Grid(), kNonMinimal);
    // Ctrl+C on the grid copies its puzzle; a click on a cell (which takes
    // away the given of cell 0) gives the grid the keyboard.
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    QTest::mouseClick(Cell(0), Qt::LeftButton);
    QTest::keyClick(window_.focusWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kUnique);
    // The context menu pastes so too; a single line stays as it is.
    QGuiApplication::clipboard()->setText("12 3\n");
    Text2()->setCursorPosition(0);
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(Text2(), &menuEvent);
    for (QAction* action : QApplication::activePopupWidget()->actions()) {
        if (action->text().startsWith("&Paste")) action->trigger();
    }
    QApplication::activePopupWidget()->close();
    EXPECT_EQ(Text2()->text(), "12 3" + kNonMinimal);

    // Dropped files reach the engine, other drops do not.
    for (const QUrl& url : {QUrl("https://example.org/p.txt"),
                            QUrl::fromLocalFile(WriteFile("p.txt", kUnique.toLatin1()))}) {
        QMimeData data;
        data.setUrls({url});
        QWidget* target = Widget<QPlainTextEdit>("Text1")->viewport();
        QDragEnterEvent enter({9, 9}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QApplication::sendEvent(target, &drop);
    }
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Grid(), kUnique);
}

TEST_F(WindowTest, ChoicesAndCellsReachTheEngine) {
    QTest::keyClick(Widget("Combo1"), Qt::Key_Down);
    QTest::keyClick(Widget("Combo1"), Qt::Key_Down);
    EXPECT_EQ(main_.RenewAfter, 1000);
    Click("Option1(3)");
    Click("Option1(1)");
    EXPECT_EQ(main_.ExpandLevel, 1);
    EXPECT_FALSE(main_.Form.Option1[3].Value);
    Click("CheckLimit");
    EXPECT_EQ(main_.Form.CheckLimit.Value, 1);
    // A locked list keeps its entry.
    main_.Form.Combo2.Locked = true;
    QTest::keyClick(Widget("Combo2"), Qt::Key_Down);
    EXPECT_EQ(main_.Form.Combo2.ListIndex + Widget<QComboBox>("Combo2")->currentIndex(), 0);
    // What the program sets reaches the widgets.
    main_.Form.Option1[2].Value = true;
    main_.Form.CheckMinimal.Value = 1;
    main_.Form.Grid[3].ForeColor = kWhite;
    window_.Sync();
    EXPECT_EQ(Cell(3)->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_TRUE(Widget<QRadioButton>("Option1(2)")->isChecked());
    EXPECT_TRUE(Widget<QCheckBox>("CheckMinimal")->isChecked());
    // A left click draws a clue, a right click nothing; "New" clears.
    QTest::mouseClick(Cell(5), Qt::RightButton);
    QTest::mouseClick(Cell(6), Qt::LeftButton);
    EXPECT_EQ(Grid().left(8), "      X ");
    Click("NewPattern");
    EXPECT_EQ(Grid().left(8), "        ");
    EXPECT_FALSE(Widget("NextPattern")->isEnabled());
}

// The symmetry chosen in its list shapes the clicks on the grid; the pattern's
// clue count shows below it; "Forecast" samples it and tells.
TEST_F(WindowTest, SymmetricDrawingInfoAndForecast) {
    QTest::keyClick(Widget("DrawSymmetry"), Qt::Key_Down);
    for (int i = 0; i <= 40; ++i) {
        if (kPattern[i] == 'X') QTest::mouseClick(Cell(i), Qt::LeftButton);
    }
    EXPECT_EQ(Grid(), QString(kPattern).replace('.', ' '));
    EXPECT_TRUE(Widget<QLabel>("PatternInfo")->text().startsWith("30 clues, symmetry half turn"));
    main_.ForecastSeconds = 0.2;
    QTest::mouseClick(Widget<QPushButton>("CommandForecast"), Qt::LeftButton);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].ends_with(" / Forecast")) << messages_[0];
}

// During a run the widgets show the Form as the run changes it; clicks that
// arrive start nothing; closing is refused; "Halt Generator" ends the run.
TEST_F(WindowTest, GenerationRunsUntilHaltIsClicked) {
    for (int i = 0; i < kCells; ++i) {
        if (kPattern[i] == 'X') QTest::mouseClick(Cell(i), Qt::LeftButton);
    }
    const Form& f = main_.Form;
    auto* combo1 = Widget<QComboBox>("Combo1");
    auto* option3 = Widget<QRadioButton>("Option1(3)");
    ClickAndStep("CommandGenerate", [&] {
        const auto& accepted = main_.Generator.NewCount;
        if (std::accumulate(accepted.begin(), accepted.end(), 0) == 0) return true;
        EXPECT_FALSE(Widget("CommandGenerate")->isVisible() || combo1->isEnabled());
        EXPECT_FALSE(Cell(0)->isEnabled() || MenuEntry(window_, 0, 2)->isEnabled());
        EXPECT_TRUE(Text2()->isReadOnly());
        for (int i = 0; i < kCells; ++i) EXPECT_EQ(Cell(i)->text(), Latin1(f.Grid[i].Caption));
        const auto panels = window_.statusBar()->findChildren<QLabel*>();
        for (int k = 0; k < 6; ++k) EXPECT_EQ(panels[k]->text(), Latin1(f.StatusBar.Panels[k]));
        EXPECT_EQ(window_.windowTitle(), Latin1(f.Main.Caption));
        // Clicks queued before the lock reach the widgets, but no handler.
        emit Widget<QPushButton>("CommandGenerate")->clicked();
        emit combo1->activated(3);
        option3->setChecked(true);
        emit option3->clicked();
        QTest::keyClicks(Text2(), "123");
        EXPECT_FALSE(option3->isChecked());
        EXPECT_EQ(combo1->currentIndex(), 0);
        EXPECT_EQ(Text2()->text(), Latin1(f.Text2.Text));
        EXPECT_FALSE(window_.close());
        QTest::mouseClick(Widget<QPushButton>("CommandHalt"), Qt::LeftButton);
        return false;
    });
    EXPECT_EQ(messages_, std::vector<std::string>{"Generator halted / Cluemill"});
    EXPECT_EQ(main_.RenewAfter + main_.ExpandLevel, 250);
    EXPECT_TRUE(Widget("CommandGenerate")->isVisible() && combo1->isEnabled());
    EXPECT_FALSE(Text2()->isReadOnly());
}

// The menus, the About box and the icon; the user's choices, the batch, the window's
// place and the folders outlive the window (which Quit closes as the close
// box does): the next start restores them through the engine's handlers.
TEST_F(WindowTest, MenusAndSettingsForTheNextStart) {
    QTest::keyClick(Widget("Combo2"), Qt::Key_End);
    QTest::keyClick(Widget("DrawSymmetry"), Qt::Key_End);
    QTest::keyClick(Widget("Combo1"), Qt::Key_Down);
    for (const char* name : {"Option1(2)", "CheckMinimal", "CheckRandomPattern", "TestMinimal"}) {
        Click(name);
    }
    window_.move(40, 30);
    platform_.SetOpenFileHook([](const std::string&) { return std::string("/tmp/puzzles.sds"); });
    platform_.OpenFile("*.sds");
    main_.Form.ImportPattern.Enabled = false;
    window_.Sync();
    EXPECT_FALSE(MenuEntry(window_, 0, 0)->isEnabled());
    QString about;
    answer_ = [&](QDialog& dialog) {
        about = qobject_cast<QMessageBox*>(&dialog)->text();
        return int(QMessageBox::Ok);
    };
    MenuEntry(window_, 1, 0)->trigger();
    answer_ = [&](QDialog& dialog) {
        Widget<QSpinBox>("Quota(4)", &dialog)->setValue(7);
        Widget<QCheckBox>("Distinct", &dialog)->setChecked(true);
        Widget<QSpinBox>("Minutes", &dialog)->setValue(2);
        return int(QDialog::Accepted);
    };
    MenuEntry(window_, 0, 3)->trigger();
    EXPECT_TRUE(main_.Batch.Distinct);
    EXPECT_TRUE(about.contains(kVersion) && about.contains("MIT") &&
                about.contains(folder_.path()));
    EXPECT_FALSE(window_.windowIcon().pixmap(32).isNull());
    main_.PickerOpen = true;
    MenuEntry(window_, 0, 5)->trigger();
    EXPECT_TRUE(window_.isVisible());
    main_.PickerOpen = false;
    MenuEntry(window_, 0, 5)->trigger();
    EXPECT_FALSE(window_.isVisible());
    // Two stored puzzles of the format chosen, counted by the restored list.
    WriteFile("Sudoku_81_Char_0/Sudoku_Easy_0.txt", QByteArray(166, '0'));

    QtPlatform platform(QFile::encodeName(folder_.path()).toStdString());
    Main main(platform);
    MainWindow window(main, platform, settings_);
    window.Start();
    EXPECT_EQ(main.StoredCount[1], 2);
    EXPECT_EQ(main.RenewAfter, 500);
    EXPECT_EQ(main.ExpandLevel, 2);
    EXPECT_TRUE(window.findChild<QRadioButton*>("Option1(2)")->isChecked());
    EXPECT_EQ(main.Form.CheckMinimal.Value + main.Form.TestMinimal.Value, 2);
    // Random patterns lock the pattern editor.
    EXPECT_FALSE(window.findChild<QWidget*>("NewPattern")->isEnabled());
    EXPECT_EQ(window.findChild<QComboBox*>("DrawSymmetry")->currentIndex(), 4);
    EXPECT_EQ(main.Batch.Quota[4], 7);
    EXPECT_TRUE(main.Batch.Distinct && !main.Batch.Quota[0] && main.Batch.Seconds == 120);
    EXPECT_EQ(window.pos(), QPoint(40, 30));
    EXPECT_EQ(platform.OpenFolder(), "/tmp");
}

// Sheets of a file's puzzles and of the grid's, written by the renderer or
// printed after a preview; the options are remembered.
TEST_F(WindowTest, SheetsAreExportedAndPrinted) {
    // Three records of a .sds file, one to a page, then their solutions.
    QByteArray records;
    for (QChar c : (kUnique + kUnique + "0000").repeated(3)) {
        records += char(std::max(0, c.digitValue()));
    }
    const QString sds = WriteFile("Sudoku_Easy.sds", records);
    platform_.SetOpenFileHook([&](const std::string&) { return sds.toStdString(); });
    answer_ = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(folder_.filePath("file.svg"));
        } else {
            Widget<QComboBox>("PerPage", &dialog)->setCurrentIndex(0);
            Widget<QPushButton>("Browse", &dialog)->click();
            Widget<QCheckBox>("Solutions", &dialog)->setChecked(true);
        }
        return int(QDialog::Accepted);
    };
    MenuEntry(window_, 0, 1)->trigger();
    for (int page = 1; page <= 5; ++page) {
        EXPECT_EQ(QFile::exists(folder_.filePath("file-%1.svg").arg(page)), page < 5) << page;
    }

    Type(kUnique);
    int previewed = 0;
    const QString printed = folder_.filePath("printed.pdf");
    answer_ = [&](QDialog& dialog) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
        if (preview == nullptr) {
            EXPECT_EQ(Widget<QComboBox>("PerPage", &dialog)->currentText(), "1");
            return int(QDialog::Accepted);
        }
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        pages->updatePreview();
        previewed = pages->pageCount();
        preview->printer()->setOutputFileName(printed);
        pages->print();
        return int(QDialog::Accepted);
    };
    MenuEntry(window_, 0, 2)->trigger();
    EXPECT_EQ(previewed, 2);
    EXPECT_GT(QFile(printed).size(), 1000);
    EXPECT_TRUE(messages_.empty());
}

// The window's texts have one byte a character: a decimal separator beyond
// Latin-1 is shown as a point, never dropped. Filters of the engine's form
// become the file dialog's.
TEST(QtPlatformTest, SeparatorsAndFilters) {
    const QLocale saved;
    QtPlatform platform(".");
    for (const auto& [name, separator] : {std::pair("en_US", '.'), std::pair("de_DE", ','),
                                          std::pair("fa_IR", '.'), std::pair("ar_EG", '.')}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(platform.DecimalSeparator(), separator) << name;
    }
    QLocale::setDefault(saved);
    EXPECT_EQ(DialogFilter("Puzzles|*.sds;*.txt|All files|*.*"),
              "Puzzles (*.sds *.txt);;All files (*.*)");
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
