// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "app/Main.h"
#include "qt/FormBinding.h"

class QTimer;

namespace cluemill {

class QtPlatform;

// The main window: one widget per control of the Form, placed as designed,
// kept in step with the Form by the binding. Widget events become calls of
// Main's handlers; after each handler the window shows the Form again. It
// decides nothing itself.
class MainWindow : public QMainWindow {
  public:
    MainWindow(cluemill::Main& main, QtPlatform& platform);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Tells the Form the window's width, runs Form_Load and shows the window
    // where the Form puts it.
    void Start();
    // Shows the Form's present state in every widget.
    void Sync();
    // Shows one control's present state and repaints its widget at once.
    void Refresh(const Control& control);
    // Closes the window without asking Form_QueryUnload: the program ends.
    void CloseNow();
    // The widget of a control, or nullptr (File2 has none).
    QWidget* WidgetOf(const Control& control) const { return binding_.WidgetOf(control); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Runs a handler of Main, then shows what it changed.
    template <class Handler>
    void Handle(Handler handler);
    void Build();

    cluemill::Main& main_;
    QtPlatform& platform_;
    FormBinding binding_;
    QTimer* timer1_ = nullptr;
    bool closingNow_ = false;
};

}  // namespace cluemill
