// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Form.h"
#include "app/Platform.h"
#include "patterns/PatternLibrary.h"
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
    // Patterns.rec, PatternCount, CurrentPattern and PatternRec.
    PatternLibrary Library;

    // The folder of Patterns.rec and the output folders.
    std::filesystem::path AppFolder;
    // Per class (index class - 1): puzzles the selected output format holds.
    std::array<std::int32_t, 6> StoredCount{};
    // The generator's settings.
    bool HaltRequested = true;
    std::int32_t RenewAfter = 250;
    int ExpandLevel = 0;
    // True while the pattern picker is open.
    bool PickerOpen = false;

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
    void Grid_Click(int index);
    void NewPattern_Click();
    void NextPattern_Click();
    void PreviousPattern_Click();
    void Combo2_Click();

    // The pattern editor: shows pattern CurrentPattern and its statistics.
    void DisplayPattern();
    // The code of the pattern drawn on the grid (its red cells).
    std::string EncodeGrid() const;
    // The statistics of PatternRec as percentages.
    void DisplayPerformance();
    // Writes the accepted puzzle (Puzzle, Board, Difficulty, Text2) to the
    // selected output format and the pattern's record to the library.
    void SaveModSud();
    // Counts the puzzles of the selected format into StoredCount and shows
    // them in the status bar.
    void CountSudokus();

    // Sets Text2's text as the program does, which fires Text2_Change.
    void SetText2(const std::string& text);
    // The switches UniqueSud takes from the window's state.
    SearchSwitches Switches() const { return {Generating, Form.CheckLimit.Value == 1}; }

    // UniqueSud's window output.
    void ShowSolution(const CellValues& values, bool afterLogicPass) override;
};

}  // namespace cluemill
