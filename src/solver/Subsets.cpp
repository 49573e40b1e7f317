// SPDX-License-Identifier: MIT
#include <bit>

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

// Lexicographic order of two digit sets of the same size: the set holding the
// lowest digit in which they differ comes first.
bool LexicallyBefore(CandidateMask a, CandidateMask b) {
    const unsigned differ = a ^ b;
    return (a & differ & (0u - differ)) != 0;
}

// The naked subsets of one unit. The tuples that can act are found from the
// cells rather than from all 126 digit sets: a tuple acts only when exactly n
// open cells lie within it, so those cells (each with at most n candidates)
// have a union of at most n digits, and the tuple is that union filled up
// with other free digits.
class NakedSubsetFinder {
public:
    NakedSubsetFinder(const std::array<CandidateMask, 9>& cand, const std::array<bool, 9>& open,
                      CandidateMask free, int n)
        : cand_(cand), open_(open), free_(free), n_(n) {
        for (int i = 0; i < 9; ++i) {
            if (open[i] && CountDigits(cand[i]) <= n) small_[smallCount_++] = cand[i];
        }
    }

    // The first acting tuple in lexicographic order, or 0.
    CandidateMask First() {
        if (smallCount_ >= n_) Extend(0, 0, 0);
        return best_;
    }

private:
    void Extend(int from, int chosen, CandidateMask unionMask) {
        if (CountDigits(unionMask) > n_ || (unionMask & ~free_) != 0) return;
        if (chosen == n_) {
            if (CountDigits(unionMask) == n_) {
                Consider(unionMask);
                return;
            }
            ForEachTuple(static_cast<CandidateMask>(free_ & ~unionMask), n_ - CountDigits(unionMask),
                         [&](CandidateMask more) {
                             Consider(static_cast<CandidateMask>(unionMask | more));
                             return false;
                         });
            return;
        }
        for (int i = from; i <= smallCount_ - (n_ - chosen); ++i) {
            Extend(i + 1, chosen + 1, static_cast<CandidateMask>(unionMask | small_[i]));
        }
    }

    void Consider(CandidateMask tuple) {
        if (best_ != 0 && !LexicallyBefore(tuple, best_)) return;
        int members = 0;
        CandidateMask elsewhere = 0;
        for (int i = 0; i < 9; ++i) {
            if (open_[i] && (cand_[i] & ~tuple) == 0) {
                ++members;
            } else {
                elsewhere |= cand_[i];
            }
        }
        if (members == n_ && (elsewhere & tuple) != 0) best_ = tuple;
    }

    const std::array<CandidateMask, 9>& cand_;
    const std::array<bool, 9>& open_;
    CandidateMask free_;
    int n_;
    std::array<CandidateMask, 9> small_{};
    int smallCount_ = 0;
    CandidateMask best_ = 0;
};

CandidateMask FirstNakedSubset(const std::array<CandidateMask, 9>& cand, const std::array<bool, 9>& open,
                               CandidateMask free, int n) {
    return NakedSubsetFinder(cand, open, free, n).First();
}

CandidateMask MaskOf(const Quintuple& digits, int count) {
    CandidateMask mask = 0;
    for (int i = 0; i < count; ++i) mask |= DigitBit(digits[i]);
    return mask;
}

}  // namespace

bool Solver::NakedHidden(bool naked, int candidateCount) {
    std::uint32_t examined = 0;
    IndexBoard();
    return FindSubset(naked, candidateCount, examined);
}

bool Solver::FindSubset(bool naked, int candidateCount, std::uint32_t& examined) {
    const int n = candidateCount;
    if (naked ? (n < 2 || n > 5) : (n < 2 || n > 3)) return false;
    const std::uint32_t todo = ((1u << kUnits) - 1) & ~examined;
    if (todo == 0) return false;
    // Only empty cells with at most n candidates can lie within n digits; a
    // unit with fewer than n of them holds no naked subset.
    const CellSet small = naked ? open_.Without(Candidates.CellsWithMoreThan(n)) : CellSet{};
    for (std::uint32_t left = todo; left != 0; left &= left - 1) {
        const int u = std::countr_zero(left);
        const Unit& unit = kUnitTable[u];
        if (naked) {
            if ((small & kUnitSets[u]).Count() < n) {
                examined |= 1u << u;
                continue;
            }
            // Only tuples of digits not yet placed in the unit are tried.
            const auto free = static_cast<CandidateMask>(kAllDigits & ~placed_[u]);
            std::array<CandidateMask, 9> cand{};
            std::array<bool, 9> open{};
            for (int i = 0; i < 9; ++i) {
                cand[i] = Candidates[unit.Cells[i]];
                open[i] = open_.Contains(unit.Cells[i]);
            }
            const CandidateMask tuple = FirstNakedSubset(cand, open, free, n);
            const bool found = tuple != 0;
            if (found) {
                for (int i = 0; i < 9; ++i) {
                    if (open[i] && (cand[i] & ~tuple) == 0) continue;
                    Candidates.Set(unit.Cells[i], static_cast<CandidateMask>(cand[i] & ~tuple));
                }
            }
            if (found) return true;
        } else {
            // A digit with more than n places in the unit cannot be part of a
            // hidden subset of n cells; tuples holding one are passed over.
            unsigned one = 0;  // digits in at least one, two, three, four cells
            unsigned two = 0;
            unsigned three = 0;
            unsigned four = 0;
            for (const auto cell : unit.Cells) {
                const unsigned m = Candidates[cell];
                four |= three & m;
                three |= two & m;
                two |= one & m;
                one |= m;
            }
            const auto eligible = static_cast<CandidateMask>(one & ~(n == 2 ? three : four));
            if (CountDigits(eligible) < n) {
                examined |= 1u << u;
                continue;
            }
            // places[d - 1]: the unit positions (bit i = unit.Cells[i]) holding d.
            std::array<std::uint16_t, 9> places{};
            for (int i = 0; i < 9; ++i) {
                for (unsigned m = Candidates[unit.Cells[i]] & eligible; m != 0; m &= m - 1) {
                    places[std::countr_zero(m)] |= static_cast<std::uint16_t>(1u << i);
                }
            }
            const bool found = ForEachTuple(eligible, n, [&](CandidateMask tuple) {
                unsigned where = 0;
                for (unsigned m = tuple; m != 0; m &= m - 1) where |= places[std::countr_zero(m)];
                if (std::popcount(where) != n) return false;
                CandidateMask extra = 0;
                for (unsigned w = where; w != 0; w &= w - 1) extra |= Candidates[unit.Cells[std::countr_zero(w)]];
                if ((extra & ~tuple) == 0) return false;
                for (const auto cell : unit.Cells) {
                    if (Candidates[cell] & tuple) Candidates.Set(cell, static_cast<CandidateMask>(Candidates[cell] & tuple));
                }
                return true;
            });
            if (found) return true;
        }
        examined |= 1u << u;
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
