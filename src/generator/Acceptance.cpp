// SPDX-License-Identifier: MIT
// The fate of one candidate of a run: solved, graded, accepted or rejected
// under the user's options, and an accepted puzzle shown, counted and written.
#include "app/Main.h"
#include "solver/SolutionCounter.h"

namespace cluemill {

namespace {

std::array<std::int32_t, 6>& Counters(PatternRecord& record, PatternCounter counter) {
    switch (counter) {
        case PatternCounter::Minimal:
            return record.Minimal;
        case PatternCounter::Expanded:
            return record.Expanded;
        default:
            return record.NotExpanded;
    }
}

}  // namespace

bool Main::IsSudMinimal() {
    if (Form.CheckMinimal.Value == 0) return true;
    const CellValues savedPuzzle = Solver.Puzzle;
    const CellValues savedBoard = Solver.Board;
    Form.Main.Caption = "Cluemill - Minimal check busy";
    bool minimal = true;
    for (int cell = 0; cell < kCells && minimal; ++cell) {
        if (savedPuzzle[cell] <= 0) continue;
        Solver.Puzzle = savedPuzzle;
        Solver.Puzzle[cell] = 0;
        minimal = !Solver.UniqueSud(Switches());
    }
    Solver.Puzzle = savedPuzzle;
    Solver.Board = savedBoard;
    return minimal;
}

void Main::ShowAndRecord(PatternCounter counter, bool logicPath, bool expanded) {
    SetText2("");
    std::string text;
    for (int cell = 0; cell < kCells; ++cell) {
        const int value = Solver.Board[cell];
        if (logicPath) Solver.Solution[cell] = Solver.Board[cell];
        Form.Grid[cell].Caption = std::to_string(value);
        Platform.Refresh(Form.Grid[cell]);
        const bool given = expanded ? Solver.Puzzle[cell] >= 1 : Form.Grid[cell].BackColor == kRed;
        text += given ? static_cast<char>('0' + value) : '0';
        SetText2(text);
    }
    if (logicPath) Platform.Refresh(Form.Text2);
    ++Counters(Library.PatternRec, counter)[Solver.Difficulty - 1];
    LastCounter = counter;
    SaveModSud();
}

AcceptedPuzzle Main::LastAccepted() const {
    return {Solver.Puzzle, Solver.Board,           Solver.Difficulty,
            LastCounter,   Library.CurrentPattern, Form.Text2.Text};
}

void Main::RecordAccepted(const AcceptedPuzzle& puzzle) {
    // Under random patterns every puzzle may come from another record; only
    // this engine writes the library, so the record on file is current.
    if (Form.CheckRandomPattern.Value == 1) {
        Library.CurrentPattern = puzzle.Pattern;
        Library.PatternRec = Library.ReadPatternRecord(puzzle.Pattern);
    }
    Solver.Puzzle = puzzle.Puzzle;
    Solver.Board = puzzle.Board;
    Solver.Difficulty = puzzle.Difficulty;
    for (int cell = 0; cell < kCells; ++cell)
        Form.Grid[cell].Caption = std::to_string(puzzle.Board[cell]);
    SetText2(puzzle.Text);
    ++Counters(Library.PatternRec, puzzle.Counter)[puzzle.Difficulty - 1];
    LastCounter = puzzle.Counter;
    SaveModSud();
    ++StoredCount[puzzle.Difficulty - 1];
    ++NewCount[puzzle.Difficulty - 1];
    ShowCounts();
    Form.Main.Caption = "Cluemill";
    if (OnAccepted) OnAccepted();
}

bool Main::UniqueModSud() {
    const bool checkMinimal = Form.CheckMinimal.Value == 1;
    const bool checkLimit = Form.CheckLimit.Value == 1;
    const bool expand = !Form.Option1[0].Value;

    int open = Solver.SetUpGivens();
    Solver.Difficulty = 0;
    if (Solver.PreSolve(open)) {
        if (!checkMinimal) {
            ShowAndRecord(PatternCounter::NotExpanded, true, false);
            return true;
        }
        const int difficulty = Solver.Difficulty;
        if (!IsSudMinimal()) return false;
        Solver.Difficulty = difficulty;
        ShowAndRecord(PatternCounter::Minimal, true, false);
        return true;
    }
    if (Solver.Contradiction) return false;

    // The search on the state the logic pass left. None or one solution does
    // not depend on the search order, so the fast counter decides them; the
    // first of several solutions does, and only an expansion uses it.
    const int last = Solver.ListEmptyCells();
    int solutions = CountSolutions(Solver.Board, Solver.Candidates, Solver.Solution);
    if (solutions == 2) {
        if (!expand) return false;
        solutions = Solver.Search(last);
    }
    if (solutions == 0) return false;
    Solver.Board = Solver.Solution;

    if (solutions == 1) {
        if (!checkLimit) {
            if (checkMinimal && !IsSudMinimal()) return false;
            Solver.Difficulty = 6;
            ShowAndRecord(checkMinimal ? PatternCounter::Minimal : PatternCounter::NotExpanded,
                          false, false);
            return true;
        }
        if (checkMinimal || !expand || !ModifyTask()) return false;
        Solver.Puzzle = ExpandedPuzzle;
        ShowAndRecord(PatternCounter::Expanded, false, true);
        return true;
    }
    if (!ModifyTask()) return false;
    const CellValues candidate = Solver.Puzzle;
    Solver.Puzzle = ExpandedPuzzle;
    if (checkMinimal) {
        const int difficulty = Solver.Difficulty;
        // A rejected expansion takes its added givens with it: the run goes
        // on filling the pattern's own cells.
        if (!IsSudMinimal()) {
            Solver.Puzzle = candidate;
            return false;
        }
        Solver.Difficulty = difficulty;
    }
    ShowAndRecord(PatternCounter::Expanded, false, true);
    return true;
}

}  // namespace cluemill
