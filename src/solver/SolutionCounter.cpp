// SPDX-License-Identifier: MIT
#include "solver/SolutionCounter.h"

namespace cluemill {

namespace {

// A depth-first search with naked and hidden singles propagated to a fixed
// point at every node, branching on a cell with the fewest candidates. The
// state is copied per level (a few hundred bytes on the stack), so a branch
// needs no undo.
struct Position {
    std::array<CandidateMask, kCells> Cand{};  // 0 for a filled cell
    CellValues Board{};
    int Open = 0;

    // Fills cell with digit and takes digit from its peers; false on a dead end.
    bool Place(int cell, int digit) {
        const CandidateMask bit = DigitBit(digit);
        Board[cell] = static_cast<std::int8_t>(digit);
        Cand[cell] = 0;
        --Open;
        for (const auto peer : kPeers[cell]) {
            if (Board[peer] != 0) continue;
            if (Cand[peer] & bit) {
                Cand[peer] &= static_cast<CandidateMask>(~bit);
                if (Cand[peer] == 0) return false;
            }
        }
        return true;
    }

    bool Propagate() {
        for (;;) {
            bool changed = false;
            for (int cell = 0; cell < kCells; ++cell) {
                if (Board[cell] != 0) continue;
                const unsigned m = Cand[cell];
                if (m == 0) return false;
                if ((m & (m - 1)) == 0) {
                    if (!Place(cell, LowestDigit(m))) return false;
                    changed = true;
                }
            }
            if (changed) continue;
            for (const Unit& unit : kUnitTable) {
                unsigned seen = 0;
                unsigned twice = 0;
                unsigned placed = 0;
                for (const auto cell : unit.Cells) {
                    if (Board[cell] != 0) {
                        placed |= DigitBit(Board[cell]);
                    } else {
                        twice |= seen & Cand[cell];
                        seen |= Cand[cell];
                    }
                }
                // A digit with no place left in the unit: no solution here.
                if ((seen | placed) != kAllDigits) return false;
                unsigned once = seen & ~twice;
                for (; once != 0; once &= once - 1) {
                    const CandidateMask bit = static_cast<CandidateMask>(once & (0u - once));
                    for (const auto cell : unit.Cells) {
                        if (Board[cell] == 0 && (Cand[cell] & bit)) {
                            if (Cand[cell] != bit) changed = true;
                            Cand[cell] &= bit;
                            break;
                        }
                    }
                }
            }
            if (!changed) return true;
        }
    }
};

void Count(Position& pos, int& count, CellValues& first) {
    if (!pos.Propagate()) return;
    if (pos.Open == 0) {
        if (++count == 1) first = pos.Board;
        return;
    }
    int best = -1;
    int bestCount = 10;
    for (int cell = 0; cell < kCells && bestCount > 2; ++cell) {
        if (pos.Board[cell] != 0) continue;
        const int n = CountDigits(pos.Cand[cell]);
        if (n < bestCount) {
            bestCount = n;
            best = cell;
        }
    }
    for (unsigned m = pos.Cand[best]; m != 0 && count < 2; m &= m - 1) {
        Position next = pos;
        if (next.Place(best, LowestDigit(m))) Count(next, count, first);
    }
}

}  // namespace

int CountSolutions(const CellValues& board, const std::array<CandidateMask, kCells>& candidates,
                   CellValues& firstSolution) {
    Position pos;
    pos.Board = board;
    for (int cell = 0; cell < kCells; ++cell) {
        if (board[cell] != 0) continue;
        ++pos.Open;
        CandidateMask m = candidates[cell];
        for (const auto peer : kPeers[cell]) {
            if (board[peer] > 0) m &= static_cast<CandidateMask>(~DigitBit(board[peer]));
        }
        pos.Cand[cell] = m;
    }
    int count = 0;
    Count(pos, count, firstSolution);
    return count;
}

}  // namespace cluemill
