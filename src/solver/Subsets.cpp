// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

// Calls visit(mask) for every n-subset of the digits in `digits`, in
// lexicographic order of the digits, until visit returns true.
template <typename Visit>
bool ForEachTuple(CandidateMask digits, int n, Visit&& visit) {
    std::array<int, 9> list{};
    int count = 0;
    for (unsigned m = digits; m != 0; m &= m - 1) list[count++] = LowestDigit(m);
    if (count < n) return false;
    std::array<int, 5> index{};
    for (int i = 0; i < n; ++i) index[i] = i;
    for (;;) {
        CandidateMask tuple = 0;
        for (int i = 0; i < n; ++i) tuple |= DigitBit(list[index[i]]);
        if (visit(tuple)) return true;
        int i = n - 1;
        while (i >= 0 && index[i] == count - n + i) --i;
        if (i < 0) return false;
        ++index[i];
        for (int j = i + 1; j < n; ++j) index[j] = index[j - 1] + 1;
    }
}

CandidateMask MaskOf(const Quintuple& digits, int count) {
    CandidateMask mask = 0;
    for (int i = 0; i < count; ++i) mask |= DigitBit(digits[i]);
    return mask;
}

}  // namespace

bool Solver::NakedHidden(bool naked, int candidateCount) {
    const int n = candidateCount;
    if (naked ? (n < 2 || n > 5) : (n < 2 || n > 3)) return false;
    for (const Unit& unit : kUnitTable) {
        if (naked) {
            // Only tuples of digits not yet placed in the unit are tried.
            CandidateMask free = kAllDigits;
            for (const auto cell : unit.Cells) {
                if (Board[cell] > 0) free &= static_cast<CandidateMask>(~DigitBit(Board[cell]));
            }
            // Only empty cells with at most n candidates can belong to a subset
            // of n digits; a unit with fewer than n of them has none.
            std::array<CandidateMask, 9> small{};
            int smallCount = 0;
            for (const auto cell : unit.Cells) {
                if (Board[cell] == 0 && CountDigits(Candidates[cell]) <= n) small[smallCount++] = Candidates[cell];
            }
            if (smallCount < n) continue;
            const bool found = ForEachTuple(free, n, [&](CandidateMask tuple) {
                int members = 0;
                for (int i = 0; i < smallCount; ++i) members += (small[i] & ~tuple) == 0 ? 1 : 0;
                if (members != n) return false;
                CandidateMask elsewhere = 0;
                for (const auto cell : unit.Cells) {
                    if (Board[cell] != 0 || (Candidates[cell] & ~tuple) != 0) elsewhere |= Candidates[cell];
                }
                if ((elsewhere & tuple) == 0) return false;
                for (const auto cell : unit.Cells) {
                    if (Board[cell] == 0 && (Candidates[cell] & ~tuple) == 0) continue;
                    Candidates.Set(cell, static_cast<CandidateMask>(Candidates[cell] & ~tuple));
                }
                return true;
            });
            if (found) return true;
        } else {
            // A digit with more than n places in the unit cannot be part of a
            // hidden subset of n cells; tuples holding one are passed over.
            std::array<unsigned, 5> atLeast{};  // atLeast[k]: digits in k + 1 or more cells
            for (const auto cell : unit.Cells) {
                const unsigned m = Candidates[cell];
                for (int k = n; k > 0; --k) atLeast[k] |= atLeast[k - 1] & m;
                atLeast[0] |= m;
            }
            const auto eligible = static_cast<CandidateMask>(atLeast[0] & ~atLeast[n]);
            const bool found = ForEachTuple(eligible, n, [&](CandidateMask tuple) {
                int members = 0;
                CandidateMask extra = 0;
                for (const auto cell : unit.Cells) {
                    if (Candidates[cell] & tuple) {
                        ++members;
                        extra |= Candidates[cell];
                    }
                }
                if (members != n || (extra & ~tuple) == 0) return false;
                for (const auto cell : unit.Cells) {
                    if (Candidates[cell] & tuple) Candidates.Set(cell, static_cast<CandidateMask>(Candidates[cell] & tuple));
                }
                return true;
            });
            if (found) return true;
        }
    }
    return false;
}

bool Solver::Exclusive(const Quintuple& digits, int candidateCount, int cell) const {
    if (candidateCount < 2 || candidateCount > 5) return true;
    return (Candidates[cell] & ~MaskOf(digits, candidateCount)) == 0;
}

bool Solver::Remove(const Quintuple& digits, int candidateCount, const Quintuple& cells, int kind) {
    if (candidateCount < 2 || candidateCount > 5 || kind < 1 || kind > 3) return false;
    const int cell1 = cells[0];
    const int unit = kind == 1 ? RowOf(cell1) : kind == 2 ? 9 + ColumnOf(cell1) : 18 + BoxOf(cell1);
    const CandidateMask tuple = MaskOf(digits, candidateCount);
    bool removed = false;
    for (const auto cell : kUnitTable[unit].Cells) {
        bool listed = false;
        for (int i = 0; i < candidateCount; ++i) listed |= cells[i] == cell;
        if (listed || (Candidates[cell] & tuple) == 0) continue;
        Candidates.Set(cell, static_cast<CandidateMask>(Candidates[cell] & ~tuple));
        removed = true;
    }
    return removed;
}

}  // namespace cluemill
