// SPDX-License-Identifier: MIT
// "Check  Uniqueness": the givens on the grid are checked against each other,
// the solutions counted up to two, and the verdict shown; with "Check
// Minimal" ticked a unique puzzle is also tested for a given it can spare.
#include <array>
#include <string>

#include "app/Main.h"
#include "solver/SolutionCounter.h"

namespace cluemill {

namespace {

// The value of a caption as the grid holds it: a digit 1 to 9, else 0.
int CellValue(const std::string& caption) {
    return caption.size() == 1 && caption[0] >= '1' && caption[0] <= '9' ? caption[0] - '0' : 0;
}

// While the minimality check lets events run, nothing may start that would
// change the grid or the solver under it, nor end the program.
class TestLock {
  public:
    explicit TestLock(Main& main) : main_(main) {
        main_.Testing = true;
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            saved_[i] = Button(i).Enabled;
            Button(i).Enabled = false;
        }
        text1_ = main_.Form.Text1.Enabled;
        main_.Form.Text1.Enabled = false;
    }
    ~TestLock() {
        for (std::size_t i = 0; i < buttons_.size(); ++i) Button(i).Enabled = saved_[i];
        main_.Form.Text1.Enabled = text1_;
        main_.Testing = false;
    }
    TestLock(const TestLock&) = delete;
    TestLock& operator=(const TestLock&) = delete;

  private:
    CommandButton& Button(std::size_t i) { return main_.Form.*buttons_[i]; }

    static constexpr std::array<CommandButton Form::*, 8> buttons_ = {
        &Form::ButtonSolve,     &Form::CommandGenerate, &Form::ButtonExit,    &Form::NewPattern,
        &Form::PreviousPattern, &Form::NextPattern,     &Form::ImportPattern, &Form::PickPattern};
    Main& main_;
    std::array<bool, 8> saved_{};
    bool text1_ = true;
};

// The solutions (0, 1 or 2) of the grid the solver was set up with, open
// cells empty; solution gets the first. The logic pass runs first on a copy:
// its deductions keep every solution and its dead end proves there is none,
// and it settles at once many sparse grids without a solution that the
// counter alone would search for seconds.
int CountGridSolutions(const Solver& solver, int open, CellValues& solution) {
    Solver narrowed = solver;
    if (narrowed.PreSolve(open)) {
        solution = narrowed.Board;
        return 1;
    }
    if (narrowed.Contradiction) return 0;
    return CountSolutions(narrowed.Board, narrowed.Candidates, solution);
}

// True when every given is needed: the puzzle without any single one of
// them has several solutions (or none). Stops at the first given that can
// go and shows it in white. Leaves Puzzle and Board as it found them.
bool IsUniqueSudMinimal(Main& main) {
    Solver& solver = main.Solver;
    const CellValues savedPuzzle = solver.Puzzle;
    const CellValues savedBoard = solver.Board;
    main.Form.Main.Caption = "Cluemill - Minimal check busy";
    bool minimal = true;
    {
        TestLock lock(main);
        for (int given = 0; given < kCells && minimal; ++given) {
            if (savedPuzzle[given] <= 0) continue;
            solver.Puzzle = savedPuzzle;
            solver.Puzzle[given] = 0;
            if (solver.UniqueSud(main.Switches(), &main)) {
                main.Form.Grid[given].ForeColor = kWhite;
                minimal = false;
            } else {
                main.Platform.DoEvents();
            }
        }
    }
    solver.Puzzle = savedPuzzle;
    solver.Board = savedBoard;
    main.Form.Main.Caption = "Cluemill";
    return minimal;
}

}  // namespace

void Main::ButtonSolve_Click() {
    Form.CommandGenerate.Caption = "Generate Sudokus";
    for (auto& cell : Form.Grid) cell.ForeColor = kBlack;
    Solver.Board.fill(0);
    Solver.Solution.fill(0);
    Solver.Puzzle.fill(0);
    Solver.Candidates.Fill(kAllDigits);
    Solver.NumCandidates.fill(0);
    Solver.TryIndex.fill(0);

    int last = -1;
    for (int cell = 0; cell < kCells; ++cell) {
        const int v = CellValue(Form.Grid[cell].Caption);
        if (v > 0) {
            // An earlier given in the cell's row, column or box took v.
            if (!Solver.HasCandidate(cell, v)) {
                Platform.MessageBox("Invalid given(s) found !!!", "Invalid Sudoku");
                return;
            }
            Solver.Assign(v, cell);
            Solver.Board[cell] = static_cast<std::int8_t>(v);
            Solver.Puzzle[cell] = static_cast<std::int8_t>(v);
        } else {
            Solver.EmptyCells[++last] = static_cast<std::int8_t>(cell);
        }
    }
    if (last < 0) {
        Platform.MessageBox("The sudoku you want to test is complete allready !!!",
                            "Sudoku Complete");
        return;
    }
    for (int k = 0; k <= last; ++k) {
        const int cell = Solver.EmptyCells[k];
        Solver.NumCandidates[cell] = static_cast<std::int8_t>(CountDigits(Solver.Candidates[cell]));
        if (Solver.NumCandidates[cell] == 0) {
            Platform.MessageBox("This Sudoku has no solution", "Invalid Sudoku");
            Form.ButtonSolve.Enabled = false;
            return;
        }
    }

    // The verdict depends only on the number of solutions, and a unique
    // solution is the same whatever the order of the search, so a fast
    // counter stands in for the search.
    const int solutions = CountGridSolutions(Solver, last + 1, Solver.Solution);
    if (solutions != 1) Solver.Solution.fill(0);
    Solver.Board = Solver.Solution;
    TextInputEnabled = false;
    if (solutions == 0) {
        Platform.MessageBox("This Sudoku has no solution", "Invalid Sudoku");
        Solver.Board.fill(0);
    } else if (solutions == 2) {
        Platform.MessageBox("This Sudoku has more than one solution", "Invalid Sudoku");
        Solver.Board.fill(0);
    } else {
        if (Form.TestMinimal.Value == 1) {
            Platform.MessageBox(IsUniqueSudMinimal(*this)
                                    ? "This Sudoku has one unique solution and is minimal"
                                    : "This Sudoku has one unique solution but is non-minimal",
                                "Valid Sudoku");
        } else {
            Platform.MessageBox("This Sudoku has one unique solution", "Valid Sudoku");
        }
        SetText2("");
        std::string text;
        for (int cell = 0; cell < kCells; ++cell) {
            Form.Grid[cell].Caption = std::to_string(Solver.Board[cell]);
            Platform.Refresh(Form.Grid[cell]);
            text += static_cast<char>('0' + Solver.Board[cell]);
            SetText2(text);
        }
        Platform.Refresh(Form.Text2);
    }
    TextInputEnabled = true;
    Form.ButtonSolve.Enabled = false;
}

void Main::ShowSolution(const CellValues& values, bool afterLogicPass) {
    SetText2("");
    std::string text;
    for (int cell = 0; cell < kCells; ++cell) {
        Form.Grid[cell].Caption = std::to_string(values[cell]);
        Platform.Refresh(Form.Grid[cell]);
        text += Form.Grid[cell].BackColor == kRed ? static_cast<char>('0' + values[cell]) : '0';
        SetText2(text);
    }
    if (afterLogicPass) Platform.Refresh(Form.Text2);
}

}  // namespace cluemill
