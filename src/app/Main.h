// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Form.h"
#include "app/Platform.h"
#include "generator/Batch.h"
#include "generator/Generator.h"
#include "patterns/PatternLibrary.h"
#include "patterns/Picker.h"
#include "tester/PuzzleText.h"
#include "tester/Tester.h"

namespace cluemill {

// Rows of the window lock's table (GuiState, EditorState).
inline constexpr int kLockRows = 102;

// The choices a user makes on the window that it keeps from one start to the
// next: entries of the lists (Combo2, Combo1, DrawSymmetry), the selected
// Option1, the check boxes.
struct Choices {
    int OutputFormat = 0;
    int RenewAfter = 0;
    int DrawSymmetry = 0;
    int Expansion = 0;
    bool Minimal = false;
    bool Limit = false;
    bool RandomPatterns = false;
    bool TestMinimal = false;
};

// The main window's engine: the controls (Form), the outside world
// (Platform), the library, one generator, one tester and the picker, the
// window's own state and its event handlers. Handlers are short: they turn
// the Form into what a subsystem needs, and what it finds back into the
// Form.
class Main : public SolutionDisplay {
  public:
    explicit Main(cluemill::Platform& platform);
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    cluemill::Form Form;
    cluemill::Platform& Platform;
    // Patterns.rec, PatternCount, CurrentPattern and PatternRec.
    PatternLibrary Library;
    cluemill::Generator Generator{Platform};
    cluemill::Tester Tester;
    cluemill::Picker Picker;

    // The folder of Patterns.rec and the output folders.
    std::filesystem::path AppFolder;
    // Per class (index class - 1): puzzles the selected output format holds.
    std::array<std::int32_t, 6> StoredCount{};
    // The generator's settings, and a setter's order beyond a plain run
    // (quotas, distinct puzzles, a time limit; plain unless chosen).
    bool HaltRequested = true;
    BatchSettings Batch;
    // How long "Forecast" samples the drawn pattern.
    double ForecastSeconds = 4;
    std::int32_t RenewAfter = 250;
    int ExpandLevel = 0;
    // True while the pattern picker is open.
    bool PickerOpen = false;
    // The answer to the import's question: 0 none yet, 1 Yes, 2 No, 3 Cancel.
    std::int16_t ImportAnswer = 0;
    // True once the window has closed: a long operation then ends.
    bool Unloading = false;
    // The window lock's saved states.
    std::array<bool, kLockRows> GuiState{};
    std::array<bool, kLockRows> EditorState{};
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
    // The window has closed.
    void Form_Unload() { Unloading = true; }
    void ButtonExit_Click();
    void Text2_Change();
    void Text1_OLEDragDrop(const std::vector<std::string>& files);
    void ButtonSolve_Click();
    void Grid_Click(int index);
    void NewPattern_Click();
    void NextPattern_Click();
    void PreviousPattern_Click();
    void Combo2_Click();
    void CommandGenerate_Click();
    void CommandHalt_Click();
    // A few seconds' forecast of the drawn pattern with the chosen options,
    // shown in a message; Halt cancels it. Writes nothing.
    void CommandForecast_Click();
    void Combo1_Click();
    void Option1_Click(int index);
    void CheckRandomPattern_Click();
    void ImportPattern_Click();
    void CommandYes_Click();
    void CommandNo_Click();
    void CommandCancel_Click();
    void PickPattern_Click();
    // Key codes as the keyboard reports them (13 Return, 27 Escape, 33 to 40
    // the paging and cursor keys); shift: 1 Shift, 2 Ctrl, 4 Alt, added up.
    void Picture4_KeyDown(int keyCode, int shift);
    void Picture4_KeyUp();
    // button: 1 left, 2 right; x and y in pixels of the drawing area.
    void Picture4_MouseUp(int button, int shift, double x, double y);
    void Picture4_DblClick();
    void KnopHome_Click();
    void KnopPageUp_Click();
    void KnopPageDown_Click();
    void KnopEnd_Click();
    void Timer1_Timer();

    // The window lock around long operations, and its pattern-editor twin.
    void SaveGUI();
    void DisableGUI();
    void RestoreGUI();
    void SavePatternEditor();
    void DisablePatternEditor();
    void RestorePatternEditor();

    // The pattern editor: shows pattern CurrentPattern and its statistics.
    void DisplayPattern();
    // The pattern drawn on the grid (its red cells), and its code.
    Pattern GridPattern() const;
    std::string EncodeGrid() const { return EncodePattern(GridPattern()); }
    // The clue count and symmetry of the pattern on the grid, beside its name.
    void ShowPatternInfo();
    // The statistics of PatternRec as percentages.
    void DisplayPerformance();

    // The picker around its drawing: the page with its number, the cursor
    // frame in white (with the highlighted pattern's statistics read from
    // the file) or black, and the paging buttons' states.
    void PaintPickPage();
    void ShowPickCursor();
    void HidePickCursor();
    void EnablePageButtons();
    void DisplayPickPerformance();
    // Writes an accepted puzzle (shown in Text2) to the selected output
    // format and the pattern's record to the library.
    void SaveModSud(const AcceptedPuzzle& puzzle);
    // Counts the puzzles of the selected format into StoredCount and shows
    // them in the status bar.
    void CountSudokus();

    // The choices the controls show.
    Choices CurrentChoices() const;
    // Puts the choices on the controls as a user would make them, and runs
    // the handlers that follow from them: the inventory of the output format,
    // the renewal count, the expansion level, the lock of the pattern
    // editor. An entry a list does not hold leaves the list as it is.
    void RestoreChoices(const Choices& choices);

    // The puzzle on the grid: the digit of every red cell that shows one, 0
    // elsewhere (a pattern alone is no puzzle).
    CellValues GridPuzzle() const;
    // The same as a puzzle text, "." for an empty cell.
    std::string GridPuzzleText() const { return WritePuzzleText(GridPuzzle(), '.'); }

    // Sets Text2's text as the program does, which fires Text2_Change.
    void SetText2(const std::string& text);

    // UniqueSud's window output.
    void ShowSolution(const CellValues& values, bool afterLogicPass) override;

  private:
    friend class WindowRun;

    // CommandGenerate_Click in three steps. StartRun: the pattern checked
    // and registered, the window locked; false when the pattern is refused
    // (its message shown). EndRun: the closing message, the window unlocked.
    bool StartRun();
    void EndRun(RunEnd end);
    // The window locked for a run or a forecast, "Halt Generator" in place
    // of "Generate Sudokus".
    void LockForRun();
    // The run's choices as the Form shows them.
    RunSettings Settings() const;
    bool RandomPatternsUsable();
    // The status bar: per class, stored count " +" new count.
    void ShowCounts();
    // Shows an accepted puzzle on the grid and in Text2, raises its counter,
    // writes it and counts it, as the batch's order says.
    void RecordAccepted(const AcceptedPuzzle& puzzle);
    // The batch's order during a run.
    std::optional<BatchKeeper> keeper_;
    // A closing action of the picker with its result, and the picker's
    // handlers' guard: true while its panel is shown.
    void ClosePicker(int result);
    bool PickerShown() const;
    void PageButton_Click(int key);
};

}  // namespace cluemill
