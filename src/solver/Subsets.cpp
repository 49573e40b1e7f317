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

// The naked subsets of one unit, for the sizes 2 to maxSize at once. A tuple
// of n digits acts only when exactly n open cells lie within it, so those
// cells (each with at most n candidates) have a union of at most n digits, and
// the tuple is that union filled up with other free digits. One walk over the
// sets of up to maxSize such cells, cut off where the union grows past
// maxSize digits, finds the candidates of every size; the first acting tuple
// of each size from minSize to maxSize in lexicographic order is kept.
class NakedSubsetFinder {
  public:
    NakedSubsetFinder(const std::array<CandidateMask, 9>& cand, std::uint32_t open,
                      CandidateMask free, int minSize, int maxSize)
        : cand_(cand), open_(open), free_(free), minSize_(minSize), maxSize_(maxSize) {
        // A cell with a digit that is not free, or with more than maxSize, is
        // in no acting tuple: it is left out of the walk from the start. The
        // others are packed without a branch.
        for (int i = 0; i < 9; ++i) {
            small_[smallCount_] = cand[i];
            smallCount_ += static_cast<int>(((open >> i) & 1u) != 0) &
                           static_cast<int>(CountDigits(cand[i]) <= maxSize) &
                           static_cast<int>((cand[i] & ~free) == 0);
        }
    }

    // first[n]: the first acting tuple of n digits, or 0.
    std::array<CandidateMask, 6> Find() {
        if (smallCount_ >= minSize_) Extend(0, 0, 0);
        return first_;
    }

  private:
    // unionMask: the union of the chosen cells, at most maxSize free digits.
    void Extend(int from, int chosen, CandidateMask unionMask) {
        const int digits = CountDigits(unionMask);
        if (chosen >= minSize_ && digits <= chosen) {
            if (digits == chosen) {
                Consider(unionMask, chosen);
            } else {
                ForEachTuple(static_cast<CandidateMask>(free_ & ~unionMask), chosen - digits,
                             [&](CandidateMask more) {
                                 Consider(static_cast<CandidateMask>(unionMask | more), chosen);
                                 return false;
                             });
            }
        }
        if (chosen == maxSize_) return;
        for (int i = from; i < smallCount_; ++i) {
            const auto next = static_cast<CandidateMask>(unionMask | small_[i]);
            if (CountDigits(next) <= maxSize_) Extend(i + 1, chosen + 1, next);
        }
    }

    void Consider(CandidateMask tuple, int n) {
        CandidateMask& best = first_[n];
        if (best != 0 && !LexicallyBefore(tuple, best)) return;
        int members = 0;
        CandidateMask elsewhere = 0;
        for (int i = 0; i < 9; ++i) {
            if (((open_ >> i) & 1u) && (cand_[i] & ~tuple) == 0) {
                ++members;
            } else {
                elsewhere |= cand_[i];
            }
        }
        if (members == n && (elsewhere & tuple) != 0) best = tuple;
    }

    const std::array<CandidateMask, 9>& cand_;
    std::uint32_t open_;
    CandidateMask free_;
    int minSize_;
    int maxSize_;
    std::array<CandidateMask, 10> small_{};  // one spare for the packing
    int smallCount_ = 0;
    std::array<CandidateMask, 6> first_{};
};

// bits with bit u set to on.
constexpr std::uint32_t SetBit(std::uint32_t bits, int u, bool on) {
    return (bits & ~(1u << u)) | (static_cast<std::uint32_t>(on) << u);
}

// Row or box i (0 to 8) lies in band word kRowBand[i]; a row starts at bit
// kRowShift[i] there, a box at bit kBoxShift[i].
constexpr std::array<std::uint8_t, 9> kRowBand{0, 0, 0, 1, 1, 1, 2, 2, 2};
constexpr std::array<std::uint8_t, 9> kRowShift{0, 9, 18, 0, 9, 18, 0, 9, 18};
constexpr std::array<std::uint8_t, 9> kBoxShift{0, 3, 6, 0, 3, 6, 0, 3, 6};

// The positions in unit u (in the order of its cells) of the cells in
// `cells`, as a 9-bit mask.
unsigned PlacesInUnit(const CellSet& cells, int u) {
    if (u < 9) return (cells.Band[kRowBand[u]] >> kRowShift[u]) & 0x1FF;
    if (u < 18) {
        // A column's cells in one band are bits 0, 9 and 18 after the shift.
        constexpr std::uint32_t kColumn = 1u | 1u << 9 | 1u << 18;
        unsigned places = 0;
        for (int band = 0; band < 3; ++band) {
            const std::uint32_t x = (cells.Band[band] >> (u - 9)) & kColumn;
            places |= ((x | x >> 8 | x >> 16) & 7u) << (3 * band);
        }
        return places;
    }
    const int box = u - 18;
    constexpr std::uint32_t kBox = 7u | 7u << 9 | 7u << 18;
    const std::uint32_t x = (cells.Band[kRowBand[box]] >> kBoxShift[box]) & kBox;
    return (x | x >> 6 | x >> 12) & 0x1FF;
}

// PlacesInUnit for every digit's candidates.
std::array<unsigned, 9> DigitPlaces(const CandidateGrid& grid, int u) {
    std::array<unsigned, 9> places{};
    if (u < 9) {
        for (int d = 0; d < 9; ++d) {
            places[d] = (grid.CellsOf(d + 1).Band[kRowBand[u]] >> kRowShift[u]) & 0x1FF;
        }
    } else if (u < 18) {
        constexpr std::uint32_t kColumn = 1u | 1u << 9 | 1u << 18;
        for (int d = 0; d < 9; ++d) {
            const CellSet& cells = grid.CellsOf(d + 1);
            unsigned column = 0;
            for (int band = 0; band < 3; ++band) {
                const std::uint32_t x = (cells.Band[band] >> (u - 9)) & kColumn;
                column |= ((x | x >> 8 | x >> 16) & 7u) << (3 * band);
            }
            places[d] = column;
        }
    } else {
        constexpr std::uint32_t kBox = 7u | 7u << 9 | 7u << 18;
        const int box = u - 18;
        for (int d = 0; d < 9; ++d) {
            const std::uint32_t x =
                (grid.CellsOf(d + 1).Band[kRowBand[box]] >> kBoxShift[box]) & kBox;
            places[d] = (x | x >> 6 | x >> 12) & 0x1FF;
        }
    }
    return places;
}

// The hidden subsets of one unit, of two and, if maxSize is 3, three digits:
// first[n] is the first tuple in lexicographic order whose digits lie in
// exactly n cells that hold other candidates too, or 0.
std::array<CandidateMask, 4> FindHiddenSubsets(const CandidateGrid& grid, int u, int maxSize) {
    std::array<CandidateMask, 4> first{};
    // places[d - 1]: the unit positions holding d.
    const std::array<unsigned, 9> places = DigitPlaces(grid, u);
    unsigned pairDigits = 0;  // digits in one or two cells
    unsigned fewPlaces = 0;   // digits in one to three cells
    for (int d = 0; d < 9; ++d) {
        const auto count = static_cast<unsigned>(std::popcount(places[d]));
        pairDigits |= static_cast<unsigned>(count - 1 < 2) << d;
        fewPlaces |= static_cast<unsigned>(count - 1 < 3) << d;
    }
    if (CountDigits(pairDigits) < 2 && CountDigits(fewPlaces) < 3) return first;
    const auto& cells = kUnitTable[u].Cells;
    // True if the cells `where` hold a candidate outside tuple.
    const auto holdsMore = [&](unsigned where, unsigned tuple) {
        CandidateMask all = 0;
        for (unsigned w = where; w != 0; w &= w - 1) all |= grid[cells[std::countr_zero(w)]];
        return (all & ~tuple) != 0;
    };
    // A digit with more than n places cannot be part of a subset of n cells.
    // Digits are taken in ascending order, so the first hit of each size is
    // the lexicographically first tuple.
    for (unsigned a = pairDigits; a != 0 && first[2] == 0; a &= a - 1) {
        const int d1 = std::countr_zero(a);
        for (unsigned b = a & (a - 1); b != 0; b &= b - 1) {
            const int d2 = std::countr_zero(b);
            const unsigned where = places[d1] | places[d2];
            const unsigned tuple = (1u << d1) | (1u << d2);
            if (std::popcount(where) == 2 && holdsMore(where, tuple)) {
                first[2] = static_cast<CandidateMask>(tuple);
                break;
            }
        }
    }
    if (maxSize < 3) return first;
    for (unsigned a = fewPlaces; a != 0 && first[3] == 0; a &= a - 1) {
        const int d1 = std::countr_zero(a);
        for (unsigned b = a & (a - 1); b != 0 && first[3] == 0; b &= b - 1) {
            const int d2 = std::countr_zero(b);
            const unsigned where12 = places[d1] | places[d2];
            if (std::popcount(where12) > 3) continue;
            for (unsigned c = b & (b - 1); c != 0; c &= c - 1) {
                const int d3 = std::countr_zero(c);
                const unsigned where = where12 | places[d3];
                const unsigned tuple = (1u << d1) | (1u << d2) | (1u << d3);
                if (std::popcount(where) == 3 && holdsMore(where, tuple)) {
                    first[3] = static_cast<CandidateMask>(tuple);
                    break;
                }
            }
        }
    }
    return first;
}

// fewer[k]: the open cells with at most low + k candidates, k = 0 and 1.
std::array<CellSet, 2> FewCandidates(const CandidateGrid& grid, const CellSet& open, int low) {
    std::array<CellSet, 6> atLeast{};  // atLeast[k]: cells with more than k candidates
    for (int digit = 1; digit <= 9; ++digit) {
        const CellSet& holders = grid.CellsOf(digit);
        for (int k = low + 1; k > 0; --k) atLeast[k] = atLeast[k] | (atLeast[k - 1] & holders);
        atLeast[0] = atLeast[0] | holders;
    }
    return {open.Without(atLeast[low]), open.Without(atLeast[low + 1])};
}

// Removes what the unit's subset of the tuple's digits rules out.
void ApplySubset(CandidateGrid& grid, const CellSet& open, const Unit& unit, CandidateMask tuple,
                 bool naked) {
    for (const auto cell : unit.Cells) {
        const CandidateMask m = grid[cell];
        if (naked) {
            // The tuple's digits leave every cell outside the subset.
            if (open.Contains(cell) && (m & ~tuple) == 0) continue;
            grid.Set(cell, static_cast<CandidateMask>(m & ~tuple));
        } else if (m & tuple) {
            // The subset's cells keep only the tuple's digits.
            grid.Set(cell, static_cast<CandidateMask>(m & tuple));
        }
    }
}

}  // namespace

bool Solver::NakedHidden(bool naked, int candidateCount) {
    IndexBoard();
    subsetsKnown_ = {};
    return FindSubset(naked, candidateCount, false);
}

bool Solver::FindSubset(bool naked, int candidateCount, bool inPass) {
    const int n = candidateCount;
    if (naked ? (n < 2 || n > 5) : (n < 2 || n > 3)) return false;
    // Naked pairs and triples need a walk over sets of at most three cells;
    // the far dearer walk for quads and quints waits until they are asked for.
    const int kind = naked ? (n <= 3 ? 0 : 1) : 2;
    std::uint32_t& known = subsetsKnown_[kind];
    const int low = kind == 0 ? 2 : 4;
    // Only units not yet searched and units with a subset of this kind.
    const std::uint32_t acting = subsetsActing_[naked ? n - 2 : n + 2];
    // In a unit with k open cells a naked subset leaves at least one of them
    // out. With no single left, and candidates only in open cells, it
    // leaves two: a lone open cell outside would lie inside the tuple too,
    // or hold a digit with one place. So does a hidden subset where the
    // open cells hold no more than k digits: a lone cell outside would hold
    // one candidate, and with none outside, no digit is left to remove.
    //
    // Where the open cells hold exactly the unit's k free digits (a square
    // unit), an acting naked subset of n cells and digits D goes with an
    // acting hidden subset of the other k - n digits in the other k - n
    // cells, and the other way round. The logic pass asks for a kind only
    // when the kinds before it found nothing, so in a square unit it needs
    // hidden pairs only from k = 6 (with k - 2 cells a naked pair or triple),
    // hidden triples from k = 8 (k - 3 = 2 to 4), naked quads from k = 7
    // (k - 4 = 2) and naked quints at k = 9 (k - 5 = 2 or 3).
    const int spare = inPass ? 2 : 1;
    // fewer[k]: the open cells with at most low + k candidates. A unit with
    // fewer than low such cells, and fewer than low + 1 with at most low + 1,
    // has no naked subset of either size.
    std::array<CellSet, 2> fewer{};
    if (naked && known != (1u << kUnits) - 1) fewer = FewCandidates(Candidates, open_, low);
    constexpr std::uint32_t kAll = (1u << kUnits) - 1;
    for (std::uint32_t left = (~known & kAll) | acting; left != 0; left &= left - 1) {
        const int u = std::countr_zero(left);
        const Unit& unit = kUnitTable[u];
        UnitSubsets& subsets = unitSubsets_[u];
        if (((known >> u) & 1u) == 0) {
            known |= 1u << u;
            if (((subsetsKnown_[3] >> u) & 1u) == 0) {
                subsetsKnown_[3] |= 1u << u;
                const auto free = static_cast<CandidateMask>(kAllDigits & ~placed_[u]);
                subsets.Present = 0;
                for (const auto cell : unit.Cells) subsets.Present |= Candidates[cell];
                subsets.OpenCells = static_cast<std::int8_t>((open_ & kUnitSets[u]).Count());
                subsets.Square = subsets.Present == free && CountDigits(free) == subsets.OpenCells;
            }
            const CandidateMask present = subsets.Present;
            const int openCells = subsets.OpenCells;
            const bool square = inPass && subsets.Square;
            int largest = openCells - spare;
            // An acting subset of n cells needs n open cells with at most n
            // candidates.
            if (naked) {
                int minSize = low;
                int maxSize = low + 1;
                if (low > largest || (fewer[0] & kUnitSets[u]).Count() < low) minSize = low + 1;
                if (low + 1 > largest || (fewer[1] & kUnitSets[u]).Count() <= low) maxSize = low;
                if (square && low == 4) {
                    if (openCells < 7) minSize = 5;
                    if (openCells < 9) maxSize = 4;
                }
                std::array<CandidateMask, 6> found{};
                if (minSize <= maxSize) {
                    std::array<CandidateMask, 9> cand{};
                    for (int i = 0; i < 9; ++i) cand[i] = Candidates[unit.Cells[i]];
                    // Only tuples of digits not yet placed in the unit are tried.
                    const auto free = static_cast<CandidateMask>(kAllDigits & ~placed_[u]);
                    found = NakedSubsetFinder(cand, PlacesInUnit(open_, u), free, minSize, maxSize)
                                .Find();
                }
                subsets.Naked[low] = found[low];
                subsets.Naked[low + 1] = found[low + 1];
                subsetsActing_[low - 2] = SetBit(subsetsActing_[low - 2], u, found[low] != 0);
                subsetsActing_[low - 1] = SetBit(subsetsActing_[low - 1], u, found[low + 1] != 0);
            } else {
                if (!inPass || CountDigits(present) > openCells) largest = 3;
                if (square) largest = openCells < 6 ? 0 : openCells < 8 ? 2 : 3;
                subsets.Hidden = largest < 2
                                     ? std::array<CandidateMask, 4>{}
                                     : FindHiddenSubsets(Candidates, u, largest < 3 ? 2 : 3);
                subsetsActing_[4] = SetBit(subsetsActing_[4], u, subsets.Hidden[2] != 0);
                subsetsActing_[5] = SetBit(subsetsActing_[5], u, subsets.Hidden[3] != 0);
            }
        }
        const CandidateMask tuple = naked ? subsets.Naked[n] : subsets.Hidden[n];
        if (tuple == 0) continue;
        ApplySubset(Candidates, open_, unit, tuple, naked);
        return true;
    }
    return false;
}

}  // namespace cluemill
