// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "app/Main.h"
#include "qt/FormBinding.h"
#include "qt/SheetActions.h"

class QAction;
class QSettings;
class QTimer;

namespace cluemill {
class PickSurface;
}

namespace cluemill {

class QtPlatform;

// The main window: one widget per control of the Form, placed as designed,
// kept in step with the Form by the binding. Widget events become calls of
// Main's handlers; after each handler the window shows the Form again. It
// decides nothing itself.
//
// A handler may run for a long time and let events run meanwhile (a
// generation run). No other handler starts inside it: an event that would
// start one is dropped and the widgets show the Form again. The exceptions
// only set a flag that the running handler polls, or ask a question of the
// engine: CommandHalt, and the close request (which Form_QueryUnload refuses
// while a run is in progress).
//
// Beyond the Form, the window has what a user of a desktop program expects:
// a menu bar (File: Import, Export sheet, Print, Batch, Quit; Help: About), an
// icon, mnemonics, tooltips and a tab order, pasting a grid into Text2 and
// copying the grid's puzzle, and settings kept in `settings` from one run to
// the next (the user's choices, restored through the engine's handlers after
// Form_Load; the window's position; the folders of the last files; the
// sheet's options; the batch's order).
class MainWindow : public QMainWindow {
  public:
    MainWindow(cluemill::Main& main, QtPlatform& platform, QSettings& settings);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Tells the Form the window's width, runs Form_Load, restores the
    // settings and shows the window where it stood last (else where the Form
    // puts it).
    void Start();
    // Shows the Form's present state in every widget.
    void Sync();
    // Shows one control's present state and repaints its widget at once.
    void Refresh(const Control& control);
    // Closes the window without asking Form_QueryUnload: the program ends.
    void CloseNow();
    // Gives the control's widget the keyboard focus.
    void FocusOn(const Control& control);
    // The widget of a control, or nullptr (File2 has none).
    QWidget* WidgetOf(const Control& control) const { return binding_.WidgetOf(control); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // No menu to hide the pattern bar: the layout counts on it.
    QMenu* createPopupMenu() override { return nullptr; }

  private:
    // Runs a handler of Main, then shows what it changed; does nothing but
    // show the Form again while another handler is running.
    template <class Handler>
    void Handle(Handler handler);
    // Runs a handler of Main even inside another one, then shows the Form.
    template <class Handler>
    void HandleNested(Handler handler);
    // Runs a handler of the picker while it is open, and only then.
    template <class Handler>
    void HandleWhilePicking(Handler handler);
    // The layout, part by part, each widget bound to its control.
    void BuildPerformance(QWidget* work);
    void BuildGrid(QWidget* work);
    void BuildEditor(QWidget* work);
    void BuildGenerator(QWidget* work);
    void BuildTester(QWidget* work);
    void BuildQuestion(QWidget* work);
    void BuildPicker(QWidget* work);
    void BuildStatusBar();
    void BuildMenus();
    void BuildPatternBar();
    void About();
    void SaveSettings();
    // The widgets' events to Main's handlers.
    void Connect();

    cluemill::Main& main_;
    QtPlatform& platform_;
    QSettings& settings_;
    FormBinding binding_;
    SheetActions sheets_;
    // The menu's actions that start work: none while a handler runs.
    QAction* import_ = nullptr;
    std::vector<QAction*> workActions_;
    QTimer* timer1_ = nullptr;
    PickSurface* picture4_ = nullptr;
    bool closingNow_ = false;
    // True while a handler of Main runs.
    bool busy_ = false;
};

}  // namespace cluemill
