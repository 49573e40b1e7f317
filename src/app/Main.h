// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "app/Form.h"
#include "app/Platform.h"
#include "solver/Solver.h"

namespace cluemill {

// The main window's engine: the controls (Form), the outside world
// (Platform), the program's shared state and the event handlers. Handlers are
// short and hand the work to their subsystem.
class Main : public SolutionDisplay {
public:
    explicit Main(cluemill::Platform& platform);
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    cluemill::Form Form;
    cluemill::Platform& Platform;
    cluemill::Solver Solver;

    // True while a generation run is in progress.
    bool Generating = false;
    // When False, changes of Text2 are not read.
    bool TextInputEnabled = true;
    // True while the uniqueness test lets window events run (its minimality
    // check); nothing else may start meanwhile.
    bool Testing = false;
    // The first 81 characters of the last dropped file.
    std::string DropBuffer;

    // Event handlers.
    void Form_Load();
    // Returns True when the window may close.
    bool Form_QueryUnload();
    void ButtonExit_Click();
    void Text2_Change();
    void Text1_OLEDragDrop(const std::vector<std::string>& files);
    void ButtonSolve_Click();

    // Sets Text2's text as the program does, which fires Text2_Change.
    void SetText2(const std::string& text);
    // The switches UniqueSud takes from the window's state.
    SearchSwitches Switches() const { return {Generating, Form.CheckLimit.Value == 1}; }

    // UniqueSud's window output.
    void ShowSolution(const CellValues& values, bool afterLogicPass) override;
};

}  // namespace cluemill
