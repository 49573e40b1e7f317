// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Form.h"
#include "app/Platform.h"
#include "patterns/PatternLibrary.h"
#include "solver/Solver.h"

namespace cluemill {

// The counter of a pattern's statistics that an accepted puzzle raises.
enum class PatternCounter { NotExpanded, Minimal, Expanded };

// An accepted puzzle as the writer of a run records it: givens, solution,
// class, the counter it raises, its pattern's record and its Text2 line.
struct AcceptedPuzzle {
    CellValues Puzzle{};
    CellValues Board{};
    int Difficulty = 0;
    PatternCounter Counter = PatternCounter::NotExpanded;
    std::int32_t Pattern = 0;
    std::string Text;
};

// Rows of the window lock's table (GuiState, EditorState).
inline constexpr int kLockRows = 100;

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
    // The pattern picker: thumbnails per row and column and per page, the
    // number of pages, the page shown and the highlighted place on it (the
    // chosen pattern's index, or -1, once the picker has closed), the
    // navigation key waiting for the timer, 1 after the timer moved the
    // cursor, and the cursor's palette colour (15 white, 0 black).
    int PickCols = 0;
    int PickRows = 0;
    int PickPerPage = 0;
    int PickPages = 0;
    int PickPage = 0;
    int PickSel = 0;
    int PickKey = 0;
    int PickRepeat = 0;
    int PickCursorColor = 0;
    // The answer to the import's question: 0 none yet, 1 Yes, 2 No, 3 Cancel.
    std::int16_t ImportAnswer = 0;
    // True once the window has closed: a long operation then ends.
    bool Unloading = false;

    // The run's pattern: ClueCells(0 .. ClueCount - 1) in ascending order.
    int ClueCount = 0;
    std::array<int, 81> ClueCells{};
    // The position in the clue order being filled; -1 = exhausted.
    int Depth = -1;
    // Per class: puzzles accepted since the run started.
    std::array<std::int32_t, 6> NewCount{};
    // The givens of the last successful expansion.
    CellValues ExpandedPuzzle{};
    // The counter the last accepted puzzle raised.
    PatternCounter LastCounter = PatternCounter::NotExpanded;
    // Candidates handed to UniqueModSud since the run started, and a hook
    // called after each accepted puzzle (headless runs count and print them).
    std::int64_t CandidatesTried = 0;
    std::function<void()> OnAccepted;
    // False: accepted puzzles are shown and counted but neither the library
    // nor any output file is written (a run whose puzzles another engine
    // records through RecordAccepted).
    bool WritesFiles = true;
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
    // CommandGenerate_Click in three steps. StartRun: the pattern checked and
    // registered, the window locked; False when the pattern is refused (its
    // message shown). Run: the enumeration, true when halted, false when
    // exhausted. EndRun: the closing message and the window unlocked.
    bool StartRun();
    bool Run();
    void EndRun(bool halted);
    void CommandHalt_Click();
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

    // The generator. UniqueModSud decides a candidate in Puzzle: True when
    // it was accepted, shown, counted and written. IsSudMinimal: no given of
    // Puzzle can go (True at once when "Check Minimal" is not ticked).
    // ModifyTask: finds up to ExpandLevel added givens that make the puzzle
    // unique (ExpandedPuzzle). CountNum: 3 when the digit in the cell occurs
    // once in its row, column and box.
    bool UniqueModSud();
    bool IsSudMinimal();
    bool ModifyTask();
    int CountNum(int cellIndex) const;
    // The puzzle just accepted, as UniqueModSud left it.
    AcceptedPuzzle LastAccepted() const;
    // Records a puzzle accepted elsewhere exactly as an acceptance of this
    // run would: counter raised, library record and output file written,
    // counts and status bar updated, OnAccepted called.
    void RecordAccepted(const AcceptedPuzzle& puzzle);

    // The window lock around long operations, and its pattern-editor twin.
    void SaveGUI();
    void DisableGUI();
    void RestoreGUI();
    void SavePatternEditor();
    void DisablePatternEditor();
    void RestorePatternEditor();

    // The pattern editor: shows pattern CurrentPattern and its statistics.
    void DisplayPattern();
    // The code of the pattern drawn on the grid (its red cells).
    std::string EncodeGrid() const;
    // The statistics of PatternRec as percentages.
    void DisplayPerformance();

    // The picker's drawing: the page of thumbnails with its grid, one
    // thumbnail of library pattern n (from 0) at (xOffset, yOffset), the
    // cursor frame in white (with the highlighted pattern's statistics read
    // from the file) or black, and the paging buttons' states.
    void PaintPickPage();
    void PaintPickGrid();
    void PaintPattern(std::int32_t n, int xOffset, int yOffset);
    void PaintPattern(const Pattern& clues, int xOffset, int yOffset);
    void ShowPickCursor();
    void HidePickCursor();
    void EnablePageButtons();
    void DisplayPickPerformance();
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

  private:
    // ClueCells and ClueCount from the red cells of the grid.
    void CollectPattern();
    // The message that refuses the collected pattern, or "".
    std::string PatternProblem() const;
    bool RandomPatternsUsable();
    // The status bar: per class, stored count " +" new count.
    void ShowCounts();
    // Shows an accepted puzzle, raises its counter and writes it.
    void ShowAndRecord(PatternCounter counter, bool logicPath, bool expanded);
    // The picker: the frame of the highlighted place in a palette colour,
    // the rule of a navigation key or paging button, a paging button's
    // click, and a closing action with its result.
    void DrawPickFrame(int paletteColour);
    void MovePickCursor(int key);
    void PageButton_Click(int key);
    void ClosePicker(int result);
    // True while the picker's panel is shown.
    bool PickerShown() const;
};

}  // namespace cluemill
