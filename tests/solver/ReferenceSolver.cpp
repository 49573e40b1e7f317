// SPDX-License-Identifier: MIT
#include "solver/ReferenceSolver.h"

#include <utility>
#include <vector>

namespace cluemill::reference {
namespace {

using Integer = std::int16_t;

// 2^n for the trail masks, written out rather than shifted.
Integer PowerOfTwo(int n) {
    int value = 1;
    for (int i = 0; i < n; ++i) value = value * 2;
    return static_cast<Integer>(value);
}

// A k-subset of digits: Candidate1 to Candidate5, unused entries 0.
using Tuple = std::array<Integer, 6>;  // index 1 to 5

// The strictly increasing N-tuples of digits 1 to 9 in lexicographic order,
// built by N nested loops in which the last digit always runs up to 9.
std::vector<Tuple> MakeTuples(int n) {
    std::vector<Tuple> tuples;
    Tuple t{};
    // Digit k of the tuple runs from one above digit k - 1 up to 9 - (n - k).
    auto nest = [&](auto&& self, int k, int from) -> void {
        if (k > n) {
            tuples.push_back(t);
            return;
        }
        for (int d = from; d <= 9 - (n - k); ++d) {
            t[k] = static_cast<Integer>(d);
            self(self, k + 1, d + 1);
        }
    };
    nest(nest, 1, 1);
    return tuples;
}

struct State {
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
    bool Contradiction = false;
    Integer Difficulty = 0;

    void Recount(int c) {
        NumCandidates[c] = 0;
        for (int k = 1; k <= 9; ++k) {
            if (Candidates[c][k]) {
                NumCandidates[c] = static_cast<Integer>(NumCandidates[c] + 1);
                CandidateList[c][NumCandidates[c]] = static_cast<Integer>(k);
            }
        }
    }

    // ---- Bookkeeping ----

    void Assign(Integer Candidate, Integer Cell) {
        for (int k = 1; k <= 9; ++k) Candidates[Cell][k] = false;
        const int Column = Cell % 9;
        const int Row = (Cell - Column) / 9;
        const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
        for (int i = 0; i <= 8; ++i) Candidates[Column + 9 * i][Candidate] = false;
        for (int i = 0; i <= 8; ++i) Candidates[Row * 9 + i][Candidate] = false;
        for (int a = 0; a <= 2; ++a) {
            for (int b = 0; b <= 2; ++b) Candidates[BoxLeftTop + a + 9 * b][Candidate] = false;
        }
    }

    bool RemoveCandidate(Integer Candidate, Integer Cell) {
        if (Candidates[Cell][Candidate]) {
            Candidates[Cell][Candidate] = false;
            return true;
        }
        return false;
    }

    bool CandidateRemoved(Integer Candidate, Integer Cell) {
        if (Candidates[Cell][Candidate]) {
            Candidates[Cell][Candidate] = false;
            return true;
        }
        return false;
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

    // ---- Singles ----

    bool NakedCell() const {
        for (int Cell = 0; Cell <= 80; ++Cell) {
            if (Board[Cell] == 0) {
                bool found = false;
                for (int k = 1; k <= 9; ++k) {
                    if (Candidates[Cell][k]) {
                        found = true;
                        break;
                    }
                }
                if (!found) return true;
            }
        }
        return false;
    }

    void Place(Integer Digit, Integer Cell) {
        Assign(Digit, Cell);
        Board[Cell] = Digit;
    }

    bool HiddenSingle() {
        for (int Digit = 1; Digit <= 9; ++Digit) {
            for (int Row = 0; Row <= 8; ++Row) {
                int count = 0;
                int last = 0;
                for (int Column = 0; Column <= 8; ++Column) {
                    const int cell = Row * 9 + Column;
                    if (Candidates[cell][Digit]) {
                        ++count;
                        last = cell;
                    }
                }
                if (count == 1) {
                    Place(static_cast<Integer>(Digit), static_cast<Integer>(last));
                    return true;
                }
            }
            for (int Column = 0; Column <= 8; ++Column) {
                int count = 0;
                int last = 0;
                for (int Row = 0; Row <= 8; ++Row) {
                    const int cell = Column + 9 * Row;
                    if (Candidates[cell][Digit]) {
                        ++count;
                        last = cell;
                    }
                }
                if (count == 1) {
                    Place(static_cast<Integer>(Digit), static_cast<Integer>(last));
                    return true;
                }
            }
            for (int band = 0; band <= 2; ++band) {
                for (int stack = 0; stack <= 2; ++stack) {
                    const int BoxLeftTop = 27 * band + 3 * stack;
                    int count = 0;
                    int last = 0;
                    for (int i = 0; i <= 2; ++i) {
                        for (int j = 0; j <= 2; ++j) {
                            const int cell = BoxLeftTop + i + 9 * j;
                            if (Candidates[cell][Digit]) {
                                ++count;
                                last = cell;
                            }
                        }
                    }
                    if (count == 1) {
                        Place(static_cast<Integer>(Digit), static_cast<Integer>(last));
                        return true;
                    }
                }
            }
        }
        return false;
    }

    bool NakedSingle() {
        for (int Cell = 0; Cell <= 80; ++Cell) {
            if (Board[Cell] == 0) {
                int count = 0;
                int last = 0;
                for (int k = 1; k <= 9; ++k) {
                    if (Candidates[Cell][k]) {
                        ++count;
                        last = k;
                    }
                }
                if (count == 1) {
                    Place(static_cast<Integer>(last), static_cast<Integer>(Cell));
                    return true;
                }
            }
        }
        return false;
    }

    // ---- Intersections ----

    bool PointingPair() {
        for (int Candidate = 1; Candidate <= 9; ++Candidate) {
            for (int band = 0; band <= 2; ++band) {
                for (int stack = 0; stack <= 2; ++stack) {
                    const int BoxLeftTop = 27 * band + 3 * stack;
                    int counter[6] = {0, 0, 0, 0, 0, 0};
                    int total = 0;
                    for (int r = 0; r <= 2; ++r) {
                        for (int c = 0; c <= 2; ++c) {
                            if (Candidates[BoxLeftTop + 9 * r + c][Candidate]) {
                                ++counter[r];
                                ++counter[3 + c];
                                ++total;
                            }
                        }
                    }
                    if (total >= 1 && total <= 3) {
                        for (int Chute = 0; Chute <= 5; ++Chute) {
                            if (counter[Chute] == total &&
                                DiscardPP(static_cast<Integer>(Candidate),
                                          static_cast<Integer>(BoxLeftTop),
                                          static_cast<Integer>(Chute))) {
                                return true;
                            }
                        }
                    }
                }
            }
        }
        return false;
    }

    bool DiscardPP(Integer Candidate, Integer BoxLeftTop, Integer Chute) {
        bool removed = false;
        if (Chute >= 0 && Chute <= 2) {
            const int Row = (Chute * 9 + BoxLeftTop) / 9;
            const int kept = Chute * 9 + BoxLeftTop;
            for (int j = 0; j <= 8; ++j) {
                const int cell = Row * 9 + j;
                if (cell == kept || cell == kept + 1 || cell == kept + 2) continue;
                if (CandidateRemoved(Candidate, static_cast<Integer>(cell))) removed = true;
            }
        } else if (Chute >= 3 && Chute <= 5) {
            const int Column = (Chute - 3) + BoxLeftTop % 9;
            const int kept = (Chute - 3) + BoxLeftTop;
            for (int j = 0; j <= 8; ++j) {
                const int cell = Column + 9 * j;
                if (cell == kept || cell == kept + 9 || cell == kept + 18) continue;
                if (CandidateRemoved(Candidate, static_cast<Integer>(cell))) removed = true;
            }
        }
        return removed;
    }

    bool BoxLine() {
        for (int Candidate = 1; Candidate <= 9; ++Candidate) {
            for (int Row = 0; Row <= 8; ++Row) {
                int counter[3] = {0, 0, 0};
                int total = 0;
                for (int Chute = 0; Chute <= 2; ++Chute) {
                    for (int m = 0; m <= 2; ++m) {
                        if (Candidates[Row * 9 + 3 * Chute + m][Candidate]) {
                            ++counter[Chute];
                            ++total;
                        }
                    }
                }
                if (total >= 1 && total <= 3) {
                    for (int Chute = 0; Chute <= 2; ++Chute) {
                        if (counter[Chute] == total &&
                            DiscardBL(static_cast<Integer>(Candidate), static_cast<Integer>(Row),
                                      static_cast<Integer>(Chute), 1)) {
                            return true;
                        }
                    }
                }
            }
        }
        for (int Candidate = 1; Candidate <= 9; ++Candidate) {
            for (int Column = 0; Column <= 8; ++Column) {
                int counter[3] = {0, 0, 0};
                int total = 0;
                for (int Chute = 0; Chute <= 2; ++Chute) {
                    for (int m = 0; m <= 2; ++m) {
                        if (Candidates[Column + 9 * m + 27 * Chute][Candidate]) {
                            ++counter[Chute];
                            ++total;
                        }
                    }
                }
                if (total >= 1 && total <= 3) {
                    for (int Chute = 0; Chute <= 2; ++Chute) {
                        if (counter[Chute] == total &&
                            DiscardBL(static_cast<Integer>(Candidate), static_cast<Integer>(Column),
                                      static_cast<Integer>(Chute), 2)) {
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }

    bool DiscardBL(Integer Candidate, Integer Indice, Integer Chute, Integer Kind) {
        int kept[3];
        int BoxLeftTop;
        if (Kind == 1) {
            kept[0] = Indice * 9 + Chute * 3 + 0;
            kept[1] = Indice * 9 + Chute * 3 + 1;
            kept[2] = Indice * 9 + Chute * 3 + 2;
            BoxLeftTop = (Indice / 3) * 27 + Chute * 3;
        } else if (Kind == 2) {
            kept[0] = Chute * 27 + Indice + 0;
            kept[1] = Chute * 27 + Indice + 9;
            kept[2] = Chute * 27 + Indice + 18;
            BoxLeftTop = (Indice / 3) * 3 + Chute * 27;
        } else {
            return false;
        }
        bool removed = false;
        for (int i = 0; i <= 2; ++i) {
            for (int j = 0; j <= 2; ++j) {
                const int cell = BoxLeftTop + 9 * i + j;
                if (cell == kept[0] || cell == kept[1] || cell == kept[2]) continue;
                if (CandidateRemoved(Candidate, static_cast<Integer>(cell))) removed = true;
            }
        }
        return removed;
    }

    // ---- Subsets ----

    static bool InTuple(int k, const Tuple& t, int CandidateCount) {
        for (int n = 1; n <= CandidateCount; ++n) {
            if (t[n] == k) return true;
        }
        return false;
    }

    bool Exclusive(const Tuple& t, Integer CandidateCount, Integer Cell) const {
        if (CandidateCount < 2 || CandidateCount > 5) return true;
        for (int k = 1; k <= 9; ++k) {
            if (!InTuple(k, t, CandidateCount) && Candidates[Cell][k]) return false;
        }
        return true;
    }

    // cells: Cell1 to Cell5 at index 1 to 5.
    bool Remove(const Tuple& t, Integer CandidateCount, const Tuple& cells, Integer Kind) {
        if (CandidateCount < 2 || CandidateCount > 5) return false;
        const int Cell1 = cells[1];
        const int Column = Cell1 % 9;
        const int Row = (Cell1 - Column) / 9;
        const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
        int unit[9];
        if (Kind == 1) {
            for (int i = 0; i <= 8; ++i) unit[i] = Row * 9 + i;
        } else if (Kind == 2) {
            for (int i = 0; i <= 8; ++i) unit[i] = Column + 9 * i;
        } else if (Kind == 3) {
            int n = 0;
            for (int a = 0; a <= 2; ++a) {
                for (int b = 0; b <= 2; ++b) unit[n++] = BoxLeftTop + 9 * a + b;
            }
        } else {
            return false;
        }
        bool removed = false;
        for (const int cell : unit) {
            bool listed = false;
            for (int n = 1; n <= CandidateCount; ++n) {
                if (cells[n] == cell) listed = true;
            }
            if (listed) continue;
            for (int k = 1; k <= 9; ++k) {
                if (InTuple(k, t, CandidateCount) &&
                    CandidateRemoved(static_cast<Integer>(k), static_cast<Integer>(cell))) {
                    removed = true;
                }
            }
        }
        return removed;
    }

    bool NakedHidden(bool Naked, Integer CandidateCount) {
        const bool handled = Naked ? (CandidateCount >= 2 && CandidateCount <= 5)
                                   : (CandidateCount == 2 || CandidateCount == 3);
        if (!handled) return false;
        static const std::vector<Tuple> kTuples[6] = {
            {}, {}, MakeTuples(2), MakeTuples(3), MakeTuples(4), MakeTuples(5)};
        bool removed = false;
        for (int unitNumber = 0; unitNumber < 27; ++unitNumber) {
            int unit[9];
            Integer Kind;
            if (unitNumber < 9) {
                const int R = unitNumber;
                for (int i = 0; i <= 8; ++i) unit[i] = R * 9 + i;
                Kind = 1;
            } else if (unitNumber < 18) {
                const int C = unitNumber - 9;
                for (int i = 0; i <= 8; ++i) unit[i] = C + 9 * i;
                Kind = 2;
            } else {
                const int box = unitNumber - 18;
                const int B = (box / 3) * 27 + (box % 3) * 3;
                int n = 0;
                for (int a = 0; a <= 2; ++a) {
                    for (int b = 0; b <= 2; ++b) unit[n++] = B + 9 * a + b;
                }
                Kind = 3;
            }

            bool mark[10];
            if (Naked) {
                for (int d = 1; d <= 9; ++d) mark[d] = true;  // free
                for (const int cell : unit) {
                    if (Board[cell] > 0) mark[Board[cell]] = false;
                }
            } else {
                for (int d = 1; d <= 9; ++d) {
                    mark[d] = false;  // present
                    for (const int cell : unit) {
                        if (Candidates[cell][d]) mark[d] = true;
                    }
                }
            }

            for (const Tuple& t : kTuples[CandidateCount]) {
                bool all = true;
                for (int n = 1; n <= CandidateCount; ++n) {
                    if (!mark[t[n]]) all = false;
                }
                if (!all) continue;

                Tuple cells{};
                int length = 0;
                for (const int cell : unit) {
                    bool take;
                    if (Naked) {
                        take = Board[cell] == 0 &&
                               Exclusive(t, CandidateCount, static_cast<Integer>(cell));
                    } else {
                        take = false;
                        for (int n = 1; n <= CandidateCount; ++n) {
                            if (Candidates[cell][t[n]]) take = true;
                        }
                    }
                    if (take) {
                        ++length;
                        // The list holds up to 9 cells; only a list of exactly
                        // CandidateCount cells is ever used.
                        if (length <= 5) cells[length] = static_cast<Integer>(cell);
                    }
                }
                if (length != CandidateCount) continue;

                if (Naked) {
                    if (Remove(t, CandidateCount, cells, Kind)) return true;
                } else {
                    for (int n = 1; n <= length; ++n) {
                        for (int k = 1; k <= 9; ++k) {
                            if (InTuple(k, t, CandidateCount)) continue;
                            if (RemoveCandidate(static_cast<Integer>(k), cells[n])) removed = true;
                        }
                    }
                    if (removed) return true;
                }
            }
        }
        return false;
    }

    // ---- Logic pass ----

    void RaiseDifficulty(int level) {
        if (Difficulty < level) Difficulty = static_cast<Integer>(level);
    }

    bool PreSolve(Integer& CellsToSolve) {
        for (;;) {
            if (NakedCell()) {
                Contradiction = true;
                return false;
            }
            if (HiddenSingle()) {
                RaiseDifficulty(1);
                CellsToSolve = static_cast<Integer>(CellsToSolve - 1);
                if (CellsToSolve == 0) return true;
                continue;
            }
            if (NakedSingle()) {
                RaiseDifficulty(2);
                CellsToSolve = static_cast<Integer>(CellsToSolve - 1);
                if (CellsToSolve == 0) return true;
                continue;
            }
            if (PointingPair()) {
                RaiseDifficulty(3);
                continue;
            }
            if (BoxLine()) {
                RaiseDifficulty(3);
                continue;
            }
            if (NakedHidden(true, 2)) {
                RaiseDifficulty(4);
                continue;
            }
            if (NakedHidden(true, 3)) {
                RaiseDifficulty(4);
                continue;
            }
            if (NakedHidden(false, 2)) {
                RaiseDifficulty(5);
                continue;
            }
            if (NakedHidden(true, 4)) {
                RaiseDifficulty(4);
                continue;
            }
            if (NakedHidden(false, 3)) {
                RaiseDifficulty(5);
                continue;
            }
            if (NakedHidden(true, 5)) {
                RaiseDifficulty(4);
                continue;
            }
            return false;
        }
    }

    // ---- Search ----

    // Returns 0, 1 or 2 solutions, or -1 when the step budget ran out.
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
                L = DeadEndTest(L);
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
                L = DeadEndTest(L);
            }
        }
        return count;
    }

    int DeadEndTest(int L) const {
        if (L >= 0) {
            for (int p = 0; p <= L; ++p) {
                if (NumCandidates[EmptyCells[p]] == 0) return L + 1;
            }
        }
        return L;
    }

    Result UniqueSud(long long stepBudget) {
        Result result;
        for (int i = 0; i <= 80; ++i) {
            Solution[i] = 0;
            for (int k = 1; k <= 9; ++k) Candidates[i][k] = true;
            NumCandidates[i] = 0;
            TryIndex[i] = 0;
        }
        Contradiction = false;

        Integer Open = 0;
        for (int i = 0; i <= 80; ++i) {
            Board[i] = Puzzle[i];
            if (Puzzle[i] < 1) {
                Open = static_cast<Integer>(Open + 1);
            } else {
                const int d = Puzzle[i];
                const int Row = i / 9;
                const int Column = i % 9;
                const int BoxLeftTop = (Row / 3) * 27 + (Column / 3) * 3;
                for (int k = 1; k <= 9; ++k) Candidates[i][k] = false;
                for (int j = 0; j <= 8; ++j) {
                    Candidates[Column + 9 * j][d] = false;
                    Candidates[Row * 9 + j][d] = false;
                }
                for (int a = 0; a <= 2; ++a) {
                    for (int b = 0; b <= 2; ++b) Candidates[BoxLeftTop + a + 9 * b][d] = false;
                }
            }
        }

        Difficulty = 0;
        bool unique = false;
        int count = 0;
        if (PreSolve(Open)) {
            // Outside a generation run the window output copies Board into
            // Solution on its way through the cells.
            for (int i = 0; i <= 80; ++i) Solution[i] = Board[i];
            unique = true;
            count = 1;
        } else if (!Contradiction) {
            int Last = -1;
            for (int i = 0; i <= 80; ++i) {
                if (Board[i] == 0) {
                    ++Last;
                    EmptyCells[Last] = static_cast<Integer>(i);
                }
            }
            for (int p = 0; p <= Last; ++p) {
                const int c = EmptyCells[p];
                for (int k = 1; k <= 9; ++k) {
                    if (Candidates[c][k]) {
                        NumCandidates[c] = static_cast<Integer>(NumCandidates[c] + 1);
                        CandidateList[c][NumCandidates[c]] = static_cast<Integer>(k);
                    }
                }
            }
            count = Search(Last, stepBudget);
            if (count < 0) {
                result.Completed = false;
                return result;
            }
            if (count == 1) {
                Difficulty = 6;
                unique = true;
            } else {
                for (int i = 0; i <= 80; ++i) {
                    result.FirstSolution[i] = count == 2 ? Solution[i] : Integer{0};
                    Solution[i] = 0;
                }
            }
        }

        result.Unique = unique;
        result.Count = count;
        result.Difficulty = Difficulty;
        result.Contradiction = Contradiction;
        for (int i = 0; i <= 80; ++i) {
            result.Board[i] = Board[i];
            result.Solution[i] = Solution[i];
            if (unique) result.FirstSolution[i] = Solution[i];
        }
        return result;
    }
};

}  // namespace

Result UniqueSud(const std::array<std::int16_t, 81>& puzzle, long long stepBudget) {
    // The state is large and fully reset by UniqueSud, apart from the trail.
    static thread_local State state;
    for (int i = 0; i <= 80; ++i) state.Puzzle[i] = puzzle[i];
    return state.UniqueSud(stepBudget);
}

}  // namespace cluemill::reference
