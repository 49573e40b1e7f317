// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <map>

class QWidget;

namespace cluemill {

// What the window adds to the Form's controls for a user who works with the
// keyboard or wonders what an option does: mnemonic letters (shown without
// changing a caption, see FormBinding), tooltips, label buddies and the tab
// order. The controls are named by their object names.

// The mnemonic letter of each control that has one.
std::map<QString, char> ControlMnemonics();

// Gives the window's controls their tooltips and buddies, and the tab order:
// the grid, the editor's and the generator's buttons down the middle, the
// generator's choices down the right, then the puzzle text and its test.
void AddControlHelp(QWidget* window);

}  // namespace cluemill
