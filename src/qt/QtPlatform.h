// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "app/Platform.h"

class QDialog;
class QString;

namespace cluemill {

class MainWindow;

// The engine's outside world in the desktop program: event processing,
// message boxes, the file-open dialog, randomness, locale and screen. Until a
// window is attached it has nothing to draw on: events still run, message
// boxes have no parent.
class QtPlatform : public Platform {
  public:
    // Message boxes and file dialogs can be answered by a function instead
    // of a person (tests, scripted runs).
    using MessageBoxHook = std::function<void(const std::string& text, const std::string& caption)>;
    using OpenFileHook = std::function<std::optional<std::string>(const std::string& filter)>;
    // Answers a dialog of the window (the sheet's options, the file and print
    // dialogs, the About box) in its place: returns the dialog's result.
    using DialogHook = std::function<int(QDialog& dialog)>;

    // programFolder: where the program keeps its files (its own folder, or
    // --data-dir).
    explicit QtPlatform(std::string programFolder, std::uint32_t seed = 5489);

    void Attach(MainWindow* window) { window_ = window; }
    void SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }
    void SetOpenFileHook(OpenFileHook hook) { openFileHook_ = std::move(hook); }
    void SetDialogHook(DialogHook hook) { dialogHook_ = std::move(hook); }
    // Shows a dialog of the window and waits for it to close: its result.
    int Exec(QDialog& dialog);
    // The folder the file-open dialog starts in; the folder of the file
    // chosen last.
    const std::string& OpenFolder() const { return openFolder_; }
    void SetOpenFolder(std::string folder) { openFolder_ = std::move(folder); }

    // Syncs the window and runs pending events, at most once per few
    // milliseconds of wall time; calls in between return at once, most of
    // them without reading the clock.
    void DoEvents() override;
    // Syncs the window and waits for events, running them as they come.
    void WaitEvents() override;
    void SetFocus(const Control& control) override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    // Shows and paints the control at once, or, when the window was painted
    // just before, with the next processing of events.
    void Refresh(const Control& control) override;
    std::optional<std::string> OpenFile(const std::string& filter) override;
    double Random() override;
    void Randomize() override;
    char DecimalSeparator() const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    std::string ProgramFolder() const override { return programFolder_; }
    void EndProgram() override;

  private:
    std::string programFolder_;
    MainWindow* window_ = nullptr;
    MessageBoxHook messageBoxHook_;
    OpenFileHook openFileHook_;
    DialogHook dialogHook_;
    std::string openFolder_;
    std::mt19937 random_;
    // The throttle of DoEvents: the clock (nanoseconds of clock_) is read
    // once per `stride_` calls, and events run again from nextEvents_ on.
    QElapsedTimer clock_;
    std::int64_t lastClock_ = 0;
    std::int64_t nextEvents_ = 0;
    // When the window was last painted; -1 = not yet.
    std::int64_t lastPaint_ = -1;
    int stride_ = 1;
    int untilClock_ = 1;
};

// A filter of the form "Description|*.ext|Other|*.a;*.b" as the file dialog
// wants it: "Description (*.ext);;Other (*.a *.b)".
QString DialogFilter(const std::string& filter);

}  // namespace cluemill
