// SPDX-License-Identifier: MIT
#include "solver/SolutionCounter.h"

#include "solver/CandidateGrid.h"

namespace cluemill {

namespace {

// A depth-first search with naked and hidden singles propagated to a fixed
// point at every node, branching on a cell with the fewest candidates. The
// state is copied per level (a few hundred bytes on the stack), so a branch
// needs no undo. Naked singles are settled from a worklist as they appear;
// hidden singles are looked for only in units whose candidates changed.
class Position {
  public:
    Position(const CellValues& board, const CandidateGrid& candidates) : board_(board) {
        for (int d = 0; d < 9; ++d) holders_[d] = candidates.CellsOf(d + 1);
        for (int cell = 0; cell < kCells; ++cell) {
            const CandidateMask m = candidates[cell];
            if (board[cell] != 0) {
                for (const std::uint32_t u : {RowOf(cell), 9 + ColumnOf(cell), 18 + BoxOf(cell)}) {
                    placed_[u] |= DigitBit(board[cell]);
                }
                // A filled cell takes no part in the search, whatever it holds.
                for (unsigned bits = m; bits != 0; bits &= bits - 1) {
                    holders_[std::countr_zero(bits)].Erase(cell);
                }
                continue;
            }
            ++open_;
            cand_[cell] = m;
            if (m == 0) dead_ = true;
            if (CountDigits(m) == 1) pending_[pendingCount_++] = static_cast<std::int8_t>(cell);
        }
    }

    // The same position from what the solver knows already: open holds the
    // empty cells, the only ones with candidates, and placed the digits of
    // each unit.
    Position(const CellValues& board, const CandidateGrid& candidates, const CellSet& open,
             const std::array<CandidateMask, kUnits>& placed)
        : cand_(candidates.Cells()), placed_(placed), board_(board) {
        CellSet once;
        CellSet twice;
        for (int d = 0; d < 9; ++d) {
            holders_[d] = candidates.CellsOf(d + 1);
            twice = twice | (once & holders_[d]);
            once = once | holders_[d];
        }
        open_ = open.Count();
        dead_ = !open.Without(once).Empty();
        once.Without(twice).ForEach(
            [&](int cell) { pending_[pendingCount_++] = static_cast<std::int8_t>(cell); });
    }

    // Counts solutions below this position, adding to count (stops at 2).
    void Count(int& count, CellValues& first) {
        if (!Propagate()) return;
        if (open_ == 0) {
            if (++count == 1) first = board_;
            return;
        }
        int best = -1;
        int bestCount = 10;
        for (int cell = 0; cell < kCells && bestCount > 2; ++cell) {
            const int n = CountDigits(cand_[cell]);
            if (n != 0 && n < bestCount) {
                bestCount = n;
                best = cell;
            }
        }
        for (unsigned m = cand_[best]; m != 0 && count < 2; m &= m - 1) {
            Position next = *this;
            if (next.Place(best, LowestDigit(m))) next.Count(count, first);
        }
    }

  private:
    bool Place(int cell, int digit) {
        const CandidateMask bit = DigitBit(digit);
        board_[cell] = static_cast<std::int8_t>(digit);
        const int band = kCellPlaces[cell].Band;
        const std::uint32_t self = ~kCellPlaces[cell].Bit;
        for (unsigned m = cand_[cell]; m != 0; m &= m - 1)
            holders_[std::countr_zero(m)].Band[band] &= self;
        cand_[cell] = 0;
        --open_;
        const std::uint32_t units = UnitsOf(cell);
        const auto& cellUnits = kCellUnits[cell];
        placed_[cellUnits[0]] |= bit;
        placed_[cellUnits[1]] |= bit;
        placed_[cellUnits[2]] |= bit;
        dirty_ |= units;
        // Only the peers that still hold the digit lose it.
        const CellSet hit = holders_[digit - 1] & kPeerSets[cell];
        holders_[digit - 1] = holders_[digit - 1].Without(hit);
        bool alive = true;
        hit.ForEach([&](int peer) {
            const auto m = static_cast<CandidateMask>(cand_[peer] & ~bit);
            cand_[peer] = m;
            dirty_ |= UnitsOf(peer);
            if (m == 0) alive = false;
            if ((m & (m - 1)) == 0) pending_[pendingCount_++] = static_cast<std::int8_t>(peer);
        });
        return alive;
    }

    // Places the naked singles found so far, and those they create.
    bool Settle() {
        while (pendingCount_ > 0) {
            const int cell = pending_[--pendingCount_];
            if (board_[cell] != 0) continue;
            if (cand_[cell] == 0 || !Place(cell, LowestDigit(cand_[cell]))) return false;
        }
        return true;
    }

    bool Propagate() {
        if (dead_ || !Settle()) return false;
        while (dirty_ != 0) {
            const std::uint32_t units = dirty_;
            dirty_ = 0;
            for (std::uint32_t left = units; left != 0; left &= left - 1) {
                const int u = std::countr_zero(left);
                const Unit& unit = kUnitTable[u];
                unsigned seen = 0;
                unsigned twice = 0;
                for (const auto cell : unit.Cells) {
                    twice |= seen & cand_[cell];
                    seen |= cand_[cell];
                }
                // A digit with no place left in the unit: no solution here.
                if ((seen | placed_[u]) != kAllDigits) return false;
                for (unsigned once = seen & ~twice & ~placed_[u]; once != 0; once &= once - 1) {
                    const int digit = std::countr_zero(once) + 1;
                    const CellSet where = holders_[digit - 1] & kUnitSets[u];
                    // An earlier placement in this unit took the digit's last place.
                    if (where.Empty() || !Place(where.First(), digit)) return false;
                }
                if (!Settle()) return false;
            }
        }
        return true;
    }

    std::array<CandidateMask, kCells> cand_{};    // 0 for a filled cell
    std::array<CellSet, 9> holders_{};            // per digit, the cells that may take it
    std::array<CandidateMask, kUnits> placed_{};  // per unit, the digits placed in it
    CellValues board_{};
    std::array<std::int8_t, kCells> pending_{};  // cells left with one candidate
    int pendingCount_ = 0;
    int open_ = 0;
    std::uint32_t dirty_ = (1u << kUnits) - 1;
    bool dead_ = false;
};

}  // namespace

int CountSolutions(const CellValues& board, const CandidateGrid& candidates,
                   CellValues& firstSolution) {
    Position root(board, candidates);
    int count = 0;
    root.Count(count, firstSolution);
    return count;
}

int CountSolutions(const CellValues& board, const CandidateGrid& candidates, const CellSet& open,
                   const std::array<CandidateMask, kUnits>& placed, CellValues& firstSolution) {
    Position root(board, candidates, open, placed);
    int count = 0;
    root.Count(count, firstSolution);
    return count;
}

}  // namespace cluemill
