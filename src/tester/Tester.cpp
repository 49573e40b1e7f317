// SPDX-License-Identifier: MIT
// The test of a puzzle: the givens checked against each other, the
// solutions counted up to two, and on request the first given the puzzle can
// do without.
#include "tester/Tester.h"

#include <array>

#include "solver/SolutionCounter.h"

namespace cluemill {

namespace {

struct VerdictWords {
    const char* Text;
    const char* Caption;
};

constexpr std::array<VerdictWords, 7> kVerdicts = {{
    {"Invalid given(s) found !!!", "Invalid Sudoku"},
    {"The sudoku you want to test is complete allready !!!", "Sudoku Complete"},
    {"This Sudoku has no solution", "Invalid Sudoku"},
    {"This Sudoku has more than one solution", "Invalid Sudoku"},
    {"This Sudoku has one unique solution", "Valid Sudoku"},
    {"This Sudoku has one unique solution and is minimal", "Valid Sudoku"},
    {"This Sudoku has one unique solution but is non-minimal", "Valid Sudoku"},
}};

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

}  // namespace

const char* VerdictText(Verdict verdict) {
    return kVerdicts[static_cast<std::size_t>(verdict)].Text;
}

const char* VerdictCaption(Verdict verdict) {
    return kVerdicts[static_cast<std::size_t>(verdict)].Caption;
}

Tester::Result Tester::Test(const CellValues& givens) {
    Solver.Board.fill(0);
    Solver.Solution.fill(0);
    Solver.Puzzle.fill(0);
    Solver.Candidates.Fill(kAllDigits);
    Solver.NumCandidates.fill(0);
    Solver.TryIndex.fill(0);

    int last = -1;
    for (int cell = 0; cell < kCells; ++cell) {
        const int v = givens[cell];
        if (v > 0) {
            // An earlier given in the cell's row, column or box took v.
            if (!Solver.HasCandidate(cell, v)) return {Verdict::InvalidGivens};
            Solver.Assign(v, cell);
            Solver.Board[cell] = static_cast<std::int8_t>(v);
            Solver.Puzzle[cell] = static_cast<std::int8_t>(v);
        } else {
            Solver.EmptyCells[++last] = static_cast<std::int8_t>(cell);
        }
    }
    if (last < 0) return {Verdict::Complete};
    for (int k = 0; k <= last; ++k) {
        const int cell = Solver.EmptyCells[k];
        Solver.NumCandidates[cell] = static_cast<std::int8_t>(CountDigits(Solver.Candidates[cell]));
        if (Solver.NumCandidates[cell] == 0) return {Verdict::NoSolution, true};
    }

    // The verdict depends only on the number of solutions, and a unique
    // solution is the same whatever the order of the search, so a fast
    // counter stands in for the search.
    const int solutions = CountGridSolutions(Solver, last + 1, Solver.Solution);
    if (solutions != 1) Solver.Solution.fill(0);
    Solver.Board = Solver.Solution;
    if (solutions == 1) return {Verdict::Unique};
    Solver.Board.fill(0);
    return {solutions == 0 ? Verdict::NoSolution : Verdict::SeveralSolutions};
}

int Tester::FirstRedundantGiven(const SearchSwitches& switches,
                                const std::function<void()>& between, SolutionDisplay* display) {
    const CellValues savedPuzzle = Solver.Puzzle;
    const CellValues savedBoard = Solver.Board;
    int redundant = -1;
    for (int given = 0; given < kCells && redundant < 0; ++given) {
        if (savedPuzzle[given] <= 0) continue;
        Solver.Puzzle = savedPuzzle;
        Solver.Puzzle[given] = 0;
        if (Solver.UniqueSud(switches, display)) {
            redundant = given;
        } else if (between) {
            between();
        }
    }
    Solver.Puzzle = savedPuzzle;
    Solver.Board = savedBoard;
    return redundant;
}

}  // namespace cluemill
