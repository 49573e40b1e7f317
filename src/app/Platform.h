// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "generator/RandomSource.h"

namespace cluemill {

struct Control;

// What the window's engine asks of the outside world, its random numbers
// included (RandomSource: uniform numbers in [0, 1) and reseeding from the
// clock). The window implements it with Qt, the tests with a scripted
// stand-in.
class Platform : public RandomSource {
  public:
    // Lets pending window events run (the window may throttle how often).
    virtual void DoEvents() = 0;
    // Lets window events run, waiting for the next one when none is pending:
    // for loops that only wait for the user.
    virtual void WaitEvents() { DoEvents(); }
    // A message box with an OK button and no icon.
    virtual void MessageBox(const std::string& text, const std::string& caption) = 0;
    // Shows the control's present state at once.
    virtual void Refresh(const Control& control) = 0;
    // Gives the control the keyboard focus.
    virtual void SetFocus(const Control& control) { (void)control; }
    // The file-open dialog; nothing when cancelled.
    virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
    // The locale's decimal separator.
    virtual char DecimalSeparator() const = 0;
    // Screen size in twips.
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    // The folder the program's files live in: the program's own folder, or
    // the one the command line names.
    virtual std::string ProgramFolder() const = 0;
    // Ends the program at once.
    virtual void EndProgram() = 0;
};

}  // namespace cluemill
