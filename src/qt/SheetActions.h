// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "qt/WindowSettings.h"

class QPrinter;
class QWidget;

namespace cluemill {

class Main;
class QtPlatform;
class Sheet;

// Printable sheets from the window: the sheet's options and its puzzles (the
// one on the grid, or those of a puzzle file) asked in a dialog, the puzzles
// solved and graded by the core as the command line does it, then the sheet
// written to a PDF, SVG or PNG file, or printed after a preview. The drawing
// is the renderer's. Every dialog goes through QtPlatform::Exec.
class SheetActions {
  public:
    SheetActions(Main& main, QtPlatform& platform, QWidget* window)
        : main_(main), platform_(platform), window_(window) {}

    // The options of the last sheet, offered again by the next.
    SheetSettings Settings;

    // "Export sheet...": the options, then a file dialog.
    void Export();
    // "Print...": the options, then a preview, whose print button brings the
    // system's print dialog.
    void Print();

  private:
    // The dialog of options and the puzzles it names; nothing when it was
    // cancelled or nothing can be printed (the user has been told why).
    std::optional<Sheet> AskSheet();
    void Tell(const std::string& text);

    Main& main_;
    QtPlatform& platform_;
    QWidget* window_;
};

// Paints the sheet's pages on the printer, whole paper to whole paper, within
// the printer's page ranges when it has any.
void PrintSheet(const Sheet& sheet, QPrinter& printer);

}  // namespace cluemill
