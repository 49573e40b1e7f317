// SPDX-License-Identifier: MIT
#include "qt/ControlHelp.h"

#include <QLabel>
#include <QWidget>
#include <array>
#include <utility>

namespace cluemill {

namespace {

// No two controls shown at the same time share a letter, nor take the menu
// bar's F and H; "Generate Sudokus" and "Halt Generator" take turns in one
// place and share G. The label of DrawSymmetry is the window's own and has W.
constexpr std::array<std::pair<const char*, char>, 23> kMnemonics = {{
    {"NewPattern", 'N'},    {"PreviousPattern", 'P'}, {"NextPattern", 'x'},
    {"ImportPattern", 'I'}, {"PickPattern", 'k'},     {"CommandGenerate", 'G'},
    {"CommandHalt", 'G'},   {"ButtonExit", 'E'},      {"CheckRandomPattern", 'R'},
    {"CheckMinimal", 'M'},  {"Label3(0)", 'b'},       {"Option1(0)", 'D'},
    {"Option1(1)", '1'},    {"Option1(2)", '2'},      {"Option1(3)", '3'},
    {"CheckLimit", 'L'},    {"Label4", 'S'},          {"ButtonSolve", 'U'},
    {"TestMinimal", 'a'},   {"CommandYes", 'Y'},      {"CommandNo", 'o'},
    {"CommandCancel", 'C'}, {"CommandForecast", 't'},
}};

constexpr const char* kFormats =
    "The files each accepted puzzle is written to, in a folder of their own in the data "
    "folder:\n"
    "Tavix Sudoku: a .sds file per class; givens and solution as bytes\n"
    "Simple Sudoku: a .ss file per puzzle; nine rows in blocks of three, \"0\" for an empty "
    "cell\n"
    "Sudocue: a .sdk file per puzzle; nine rows, \".\" for an empty cell\n"
    "Into Sudoku: a .sud file per puzzle; nine rows, \"0\" for an empty cell\n"
    "Sudoku Explainer: a .txt file per puzzle; nine rows, \".\" for an empty cell\n"
    "81 char $ (.): a .txt file per class; a puzzle a line, \".\" for an empty cell\n"
    "81 char $ (0): a .txt file per class; a puzzle a line, \"0\" for an empty cell";
constexpr const char* kRenew =
    "After this many complete grids without an accepted puzzle, the generator starts again "
    "from new base givens: a new order of the clue cells and of the digits (with \"Random "
    "patterns\", a new pattern too).";

constexpr std::array<std::pair<const char*, const char*>, 19> kToolTips = {{
    {"Label4", kFormats},
    {"Combo2", kFormats},
    {"Label3(0)", kRenew},
    {"Combo1", kRenew},
    {"Label3(1)", kRenew},
    {"Frame2",
     "What the generator does with a grid that has several solutions (or, with \"Limited to "
     "\"Very Hard\"\", one that logic alone cannot solve)."},
    {"Option1(0)", "Pass such a grid over and go on seeking."},
    {"Option1(1)", "Add one given from a solution where one makes the puzzle unique."},
    {"Option1(2)", "Add one or two givens; trying every pair of cells can take long."},
    {"Option1(3)", "Add one, two or three givens; trying every triple can take very long."},
    {"CheckMinimal",
     "Accept only minimal puzzles: taking away any given would leave more than one "
     "solution."},
    {"CheckLimit",
     "Accept only puzzles that logic alone solves, \"Very Hard\" at most: never \"Others\"."},
    {"CheckRandomPattern",
     "Take a library pattern at random each time the base givens are renewed, instead of the "
     "pattern on the grid. The pattern editor is locked meanwhile."},
    {"TestMinimal",
     "\"Check  Uniqueness\" also tests whether the puzzle is minimal, and shows the givens it "
     "can spare in white."},
    {"Text2",
     "The puzzle as 81 characters: 1 to 9 a given, \".\" or \"0\" an empty cell. A grid pasted "
     "as nine lines is read as well."},
    {"GridBoard",
     "Click cells to draw a pattern. Ctrl+C copies the puzzle on the grid as 81 characters."},
    {"ButtonSolve", "Test the puzzle in the text box: its givens, its solutions."},
    {"CommandForecast",
     "Sample the drawn pattern for a few seconds with the chosen options and tell what a run "
     "would give. Writes nothing; \"Halt Generator\" ends it early."},
    {"DrawSymmetry",
     "A click on a cell of the grid sets or clears it together with its images under this "
     "symmetry."},
}};

constexpr std::array<std::pair<const char*, const char*>, 3> kBuddies = {{
    {"Label3(0)", "Combo1"},
    {"Label4", "Combo2"},
    {"DrawSymmetryLabel", "DrawSymmetry"},
}};

constexpr std::array<const char*, 26> kTabOrder = {
    "GridBoard",     "DrawSymmetry",       "NewPattern",      "PreviousPattern", "NextPattern",
    "ImportPattern", "PickPattern",        "CommandGenerate", "CommandHalt",     "CommandForecast",
    "ButtonExit",    "CheckRandomPattern", "CheckMinimal",    "Combo1",          "Option1(0)",
    "Option1(1)",    "Option1(2)",         "Option1(3)",      "CheckLimit",      "Combo2",
    "Text2",         "ButtonSolve",        "TestMinimal",     "CommandYes",      "CommandNo",
    "CommandCancel",
};

}  // namespace

std::map<QString, char> ControlMnemonics() {
    std::map<QString, char> mnemonics;
    for (const auto& [name, letter] : kMnemonics) mnemonics[QLatin1String(name)] = letter;
    return mnemonics;
}

void AddControlHelp(QWidget* window) {
    const auto find = [window](const char* name) {
        return window->findChild<QWidget*>(QLatin1String(name));
    };
    for (const auto& [name, tip] : kToolTips) {
        if (QWidget* widget = find(name)) widget->setToolTip(QString::fromUtf8(tip));
    }
    for (const auto& [label, buddy] : kBuddies) {
        if (auto* widget = qobject_cast<QLabel*>(find(label))) widget->setBuddy(find(buddy));
    }
    QWidget* previous = nullptr;
    for (const char* name : kTabOrder) {
        QWidget* widget = find(name);
        if (previous != nullptr && widget != nullptr) QWidget::setTabOrder(previous, widget);
        if (widget != nullptr) previous = widget;
    }
}

}  // namespace cluemill
