// SPDX-License-Identifier: MIT
#include "tester/ReferenceTester.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "solver/ReferenceSolver.h"

namespace cluemill::reference {
namespace {

using Integer = std::int16_t;

constexpr long kBlack = 0;
constexpr long kWhite = 0xFFFFFF;

// 2^n for the trail masks, written out rather than shifted.
Integer PowerOfTwo(int n) {
    int value = 1;
    for (int i = 0; i < n; ++i) value = value * 2;
    return static_cast<Integer>(value);
}

// The numeric value of a caption: its leading decimal digits, 0 when it
// does not begin with one.
int NumericValue(const std::string& caption) {
    int value = 0;
    for (const char ch : caption) {
        if (ch < '0' || ch > '9') break;
        value = value * 10 + (ch - '0');
    }
    return value;
}

// The shared puzzle state as the tester sees it, with the grid's captions
// and text colours, the "Check Minimal" box and the message box text.
struct Tester {
    Integer Puzzle[81] = {};
    Integer Board[81] = {};
    bool Candidates[81][10] = {};
    Integer NumCandidates[81] = {};
    Integer CandidateList[81][10] = {};
    Integer EmptyCells[81] = {};
    Integer TryIndex[81] = {};
    Integer Solution[81] = {};
    // Trail arrays with lower bound 1: entry 0 is never used.
    std::vector<Integer> UndoCell, UndoCandidate, UndoRowMask, UndoColumnMask, UndoBoxMask;
    Integer UndoTop = 0;

    std::string Caption[81];
    long ForeColor[81] = {};
    std::string Text2;
    int TestMinimalValue = 0;
    std::string Message;
    bool Completed = true;

    void MessageBox(const char* text) { Message = text; }

    void Recount(int c) {
        NumCandidates[c] = 0;
        for (int k = 1; k <= 9; ++k) {
            if (Candidates[c][k]) {
                NumCandidates[c] = static_cast<Integer>(NumCandidates[c] + 1);
                CandidateList[c][NumCandidates[c]] = static_cast<Integer>(k);
            }
        }
    }

    void RemoveCandidates(Integer Cell, Integer Candidate, Integer Ptr) {
        UndoTop = static_cast<Integer>(UndoTop + 1);
        const std::size_t size = static_cast<std::size_t>(UndoTop) + 1;
        UndoCell.resize(size);
        UndoCandidate.resize(size);
        UndoColumnMask.resize(size);
        UndoRowMask.resize(size);
        UndoBoxMask.resize(size);
        UndoCell[UndoTop] = Cell;
        UndoCandidate[UndoTop] = Candidate;
        UndoColumnMask[UndoTop] = 0;
        UndoRowMask[UndoTop] = 0;
        UndoBoxMask[UndoTop] = 0;
        const int Row = Cell / 9;
        const int Column = Cell % 9;
        const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
        for (int i = 0; i <= Ptr; ++i) {
            const int c = EmptyCells[i];
            if (!Candidates[c][Candidate]) continue;
            if (c / 9 == Row) {
                UndoRowMask[UndoTop] =
                    static_cast<Integer>(UndoRowMask[UndoTop] | PowerOfTwo(c % 9));
            } else if (c % 9 == Column) {
                UndoColumnMask[UndoTop] =
                    static_cast<Integer>(UndoColumnMask[UndoTop] | PowerOfTwo(c / 9));
            } else if (((c % 9) / 3) * 3 + (c / 27) * 27 == BoxLeftTop) {
                const int d = c - BoxLeftTop;
                UndoBoxMask[UndoTop] =
                    static_cast<Integer>(UndoBoxMask[UndoTop] | PowerOfTwo((d / 9) * 3 + d % 9));
            } else {
                continue;
            }
            Candidates[c][Candidate] = false;
            Recount(c);
        }
    }

    void Undo(Integer Ptr) {
        const Integer t = UndoTop;
        const int Cell = UndoCell[t];
        const int Digit = UndoCandidate[t];
        Board[Cell] = 0;
        const int Row = Cell / 9;
        const int Column = Cell % 9;
        const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
        for (int i = 0; i <= 8; ++i) {
            if ((PowerOfTwo(i) & UndoRowMask[t]) != 0) Candidates[Row * 9 + i][Digit] = true;
            if ((PowerOfTwo(i) & UndoColumnMask[t]) != 0) Candidates[Column + 9 * i][Digit] = true;
        }
        for (int r = 0; r <= 2; ++r) {
            for (int c = 0; c <= 2; ++c) {
                if ((PowerOfTwo(3 * r + c) & UndoBoxMask[t]) != 0) {
                    Candidates[BoxLeftTop + 9 * r + c][Digit] = true;
                }
            }
        }
        UndoTop = static_cast<Integer>(UndoTop - 1);
        for (int i = 0; i <= Ptr; ++i) Recount(EmptyCells[i]);
    }

    int DeadEndCheck(int L) const {
        if (L >= 0) {
            for (int p = 0; p <= L; ++p) {
                if (NumCandidates[EmptyCells[p]] == 0) return L + 1;
            }
        }
        return L;
    }

    // The number of solutions, 0, 1 or 2; -1 when the budget ran out.
    int Search(int Last, long long stepBudget) {
        UndoTop = 0;
        int count = 0;
        int L = Last;
        long long steps = 0;
        for (;;) {
            if (++steps > stepBudget) return -1;
            if (L > Last) break;
            if (L == -1) {
                ++count;
                if (count == 2) break;
                for (int i = 0; i <= 80; ++i) Solution[i] = Board[i];
                L = 0;
            }
            int c = EmptyCells[L];
            if (TryIndex[c] == 0) {
                for (int k = 0; k <= L - 1; ++k) {
                    if (NumCandidates[EmptyCells[k]] < NumCandidates[EmptyCells[L]]) {
                        std::swap(EmptyCells[k], EmptyCells[L]);
                    }
                }
                c = EmptyCells[L];
                TryIndex[c] = 1;
                Board[c] = CandidateList[c][1];
                RemoveCandidates(static_cast<Integer>(c), Board[c], static_cast<Integer>(L - 1));
                L = L - 1;
                L = DeadEndCheck(L);
            } else if (TryIndex[c] == NumCandidates[c]) {
                Undo(static_cast<Integer>(L));
                TryIndex[c] = 0;
                L = L + 1;
            } else {
                Undo(static_cast<Integer>(L - 1));
                TryIndex[c] = static_cast<Integer>(TryIndex[c] + 1);
                Board[c] = CandidateList[c][TryIndex[c]];
                RemoveCandidates(static_cast<Integer>(c), Board[c], static_cast<Integer>(L - 1));
                L = L - 1;
                L = DeadEndCheck(L);
            }
        }
        return count;
    }

    bool IsUniqueSudMinimal(long long stepBudget) {
        bool Result = true;
        Integer savedPuzzle[81];
        Integer savedBoard[81];
        std::vector<int> givens;
        for (int i = 0; i <= 80; ++i) {
            savedPuzzle[i] = Puzzle[i];
            savedBoard[i] = Board[i];
            if (Puzzle[i] > 0) givens.push_back(i);
        }
        for (const int g : givens) {
            for (int i = 0; i <= 80; ++i) Puzzle[i] = savedPuzzle[i];
            Puzzle[g] = 0;
            std::array<std::int16_t, 81> puzzle{};
            for (int i = 0; i <= 80; ++i) puzzle[i] = Puzzle[i];
            const reference::Result solved = reference::UniqueSud(puzzle, stepBudget);
            if (!solved.Completed) {
                Completed = false;
                return false;
            }
            if (solved.Unique) {
                ForeColor[g] = kWhite;
                Result = false;
                for (int i = 0; i <= 80; ++i) {
                    Puzzle[i] = savedPuzzle[i];
                    Board[i] = savedBoard[i];
                }
                return Result;
            }
        }
        for (int i = 0; i <= 80; ++i) {
            Puzzle[i] = savedPuzzle[i];
            Board[i] = savedBoard[i];
        }
        return Result;
    }

    void ButtonSolve_Click(long long stepBudget) {
        for (int i = 0; i <= 80; ++i) {
            ForeColor[i] = kBlack;
            Board[i] = 0;
            Solution[i] = 0;
            Puzzle[i] = 0;
            for (int d = 1; d <= 9; ++d) Candidates[i][d] = true;
            NumCandidates[i] = 0;
            TryIndex[i] = 0;
        }

        int Last = -1;
        for (int i = 0; i <= 80; ++i) {
            const int v = NumericValue(Caption[i]);
            if (v > 0) {
                if (!Candidates[i][v]) {
                    MessageBox("Invalid given(s) found !!!");
                    return;
                }
                Board[i] = static_cast<Integer>(v);
                Puzzle[i] = static_cast<Integer>(v);
                for (int d = 1; d <= 9; ++d) Candidates[i][d] = false;
                const int Row = i / 9;
                const int Column = i % 9;
                for (int j = 0; j <= 8; ++j) Candidates[Row * 9 + j][v] = false;
                for (int j = 0; j <= 8; ++j) Candidates[Column + 9 * j][v] = false;
                const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
                for (int r = 0; r <= 2; ++r) {
                    for (int c = 0; c <= 2; ++c) Candidates[BoxLeftTop + 9 * r + c][v] = false;
                }
            } else {
                Last = Last + 1;
                EmptyCells[Last] = static_cast<Integer>(i);
            }
        }

        if (Last == -1) {
            MessageBox("The sudoku you want to test is complete allready !!!");
            return;
        }

        for (int k = 0; k <= Last; ++k) {
            const int c = EmptyCells[k];
            for (int d = 1; d <= 9; ++d) {
                if (Candidates[c][d]) {
                    NumCandidates[c] = static_cast<Integer>(NumCandidates[c] + 1);
                    CandidateList[c][NumCandidates[c]] = static_cast<Integer>(d);
                }
            }
            if (NumCandidates[c] == 0) {
                MessageBox("This Sudoku has no solution");
                return;
            }
        }

        const int count = Search(Last, stepBudget);
        if (count < 0) {
            Completed = false;
            return;
        }

        for (int i = 0; i <= 80; ++i) Board[i] = Solution[i];

        if (count == 0) {
            MessageBox("This Sudoku has no solution");
            for (int i = 0; i <= 80; ++i) {
                Board[i] = 0;
                Solution[i] = 0;
            }
        } else if (count == 2) {
            MessageBox("This Sudoku has more than one solution");
            for (int i = 0; i <= 80; ++i) {
                Board[i] = 0;
                Solution[i] = 0;
            }
        } else {
            if (TestMinimalValue == 1) {
                const bool minimal = IsUniqueSudMinimal(stepBudget);
                if (!Completed) return;
                if (minimal) {
                    MessageBox("This Sudoku has one unique solution and is minimal");
                } else {
                    MessageBox("This Sudoku has one unique solution but is non-minimal");
                }
            } else {
                MessageBox("This Sudoku has one unique solution");
            }
            Text2.clear();
            for (int i = 0; i <= 80; ++i) {
                Caption[i] = std::to_string(Board[i]);
                Text2 += Caption[i];
            }
        }
    }
};

}  // namespace

TestResult ButtonSolve_Click(std::string_view puzzleText, bool testMinimal, long long stepBudget) {
    static thread_local Tester tester;
    tester.Completed = true;
    tester.Message.clear();
    for (int i = 0; i <= 80; ++i) {
        const char c =
            i < static_cast<int>(puzzleText.size()) ? puzzleText[static_cast<std::size_t>(i)] : '.';
        tester.Caption[i] = c >= '1' && c <= '9' ? std::string(1, c) : std::string("0");
    }
    tester.TestMinimalValue = testMinimal ? 1 : 0;
    tester.ButtonSolve_Click(stepBudget);

    TestResult result;
    result.Completed = tester.Completed;
    if (!result.Completed) return result;
    result.Verdict = tester.Message;
    result.Solution = "-";
    if (result.Verdict.rfind("This Sudoku has one unique solution", 0) == 0) {
        result.Solution = tester.Text2;
    }
    for (int i = 0; i <= 80 && result.White < 0; ++i) {
        if (tester.ForeColor[i] == kWhite) result.White = i;
    }
    return result;
}

}  // namespace cluemill::reference
