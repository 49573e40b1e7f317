// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

namespace {

// The candidates of every chute, the three cells a line shares with a box:
//   InRow[row][stack]    = cells row * 9 + stack * 3 + 0, 1, 2
//   InColumn[col][band]  = cells band * 27 + col + 0, 9, 18
struct ChuteMasks {
    std::array<std::array<CandidateMask, 3>, 9> InRow{};
    std::array<std::array<CandidateMask, 3>, 9> InColumn{};

    explicit ChuteMasks(const std::array<CandidateMask, kCells>& candidates) {
        for (int line = 0; line < 9; ++line) {
            for (int k = 0; k < 3; ++k) {
                const int r = line * 9 + k * 3;
                InRow[line][k] = candidates[r] | candidates[r + 1] | candidates[r + 2];
                const int c = k * 27 + line;
                InColumn[line][k] = candidates[c] | candidates[c + 9] | candidates[c + 18];
            }
        }
    }
};

// Digits whose candidates among the three masks lie in mask `which` alone.
CandidateMask OnlyIn(const std::array<CandidateMask, 3>& masks, int which) {
    return static_cast<CandidateMask>(masks[which] &
                                      ~(masks[(which + 1) % 3] | masks[(which + 2) % 3]));
}

}  // namespace

bool Solver::PointingPair() {
    const ChuteMasks chutes(Candidates.Cells());
    // useful[box][chute]: digits confined to that row (chute 0-2) or column
    // (chute 3-5) of the box that still have a candidate elsewhere on the line.
    std::array<std::array<CandidateMask, 6>, 9> useful{};
    CandidateMask any = 0;
    for (int box = 0; box < 9; ++box) {
        const int band = box / 3;
        const int stack = box % 3;
        std::array<CandidateMask, 3> rows{};
        std::array<CandidateMask, 3> columns{};
        for (int k = 0; k < 3; ++k) {
            rows[k] = chutes.InRow[band * 3 + k][stack];
            columns[k] = chutes.InColumn[stack * 3 + k][band];
        }
        for (int k = 0; k < 3; ++k) {
            const auto& rowChutes = chutes.InRow[band * 3 + k];
            const auto& columnChutes = chutes.InColumn[stack * 3 + k];
            const CandidateMask rowOutside =
                rowChutes[(stack + 1) % 3] | rowChutes[(stack + 2) % 3];
            const CandidateMask columnOutside =
                columnChutes[(band + 1) % 3] | columnChutes[(band + 2) % 3];
            useful[box][k] = OnlyIn(rows, k) & rowOutside;
            useful[box][3 + k] = OnlyIn(columns, k) & columnOutside;
            any |= useful[box][k] | useful[box][3 + k];
        }
    }
    if (any == 0) return false;
    // Lowest digit first; then boxes in order, a box's rows before its columns.
    const int digit = LowestDigit(any);
    for (int box = 0; box < 9; ++box) {
        for (int chute = 0; chute < 6; ++chute) {
            if (useful[box][chute] & DigitBit(digit))
                return DiscardPP(digit, BoxLeftTopOfBox(box), chute);
        }
    }
    return false;
}

bool Solver::DiscardPP(int candidate, int boxLeftTop, int chute) {
    bool removed = false;
    if (chute >= 0 && chute <= 2) {
        const int first = chute * 9 + boxLeftTop;
        const int row = first / 9;
        for (int j = 0; j < 9; ++j) {
            const int cell = row * 9 + j;
            if (cell < first || cell > first + 2) removed |= CandidateRemoved(candidate, cell);
        }
    } else if (chute >= 3 && chute <= 5) {
        const int first = (chute - 3) + boxLeftTop;
        const int column = (chute - 3) + boxLeftTop % 9;
        for (int j = 0; j < 9; ++j) {
            const int cell = column + 9 * j;
            if (cell != first && cell != first + 9 && cell != first + 18) {
                removed |= CandidateRemoved(candidate, cell);
            }
        }
    }
    return removed;
}

bool Solver::BoxLine() {
    const ChuteMasks chutes(Candidates.Cells());
    // Rows first, all digits, then columns: each kind has its own digit order.
    for (int kind = 1; kind <= 2; ++kind) {
        const auto& lines = kind == 1 ? chutes.InRow : chutes.InColumn;
        // useful[line][chute]: digits of the line confined to one box that
        // still have a candidate elsewhere in that box.
        std::array<std::array<CandidateMask, 3>, 9> useful{};
        CandidateMask any = 0;
        for (int line = 0; line < 9; ++line) {
            const int first = line / 3 * 3;
            for (int k = 0; k < 3; ++k) {
                CandidateMask restOfBox = 0;
                for (int other = first; other < first + 3; ++other) {
                    if (other != line) restOfBox |= lines[other][k];
                }
                useful[line][k] = OnlyIn(lines[line], k) & restOfBox;
                any |= useful[line][k];
            }
        }
        if (any == 0) continue;
        const int digit = LowestDigit(any);
        for (int line = 0; line < 9; ++line) {
            for (int k = 0; k < 3; ++k) {
                if (useful[line][k] & DigitBit(digit)) return DiscardBL(digit, line, k, kind);
            }
        }
    }
    return false;
}

bool Solver::DiscardBL(int candidate, int indice, int chute, int kind) {
    int first = 0;
    int step = 0;
    int boxLeftTop = 0;
    if (kind == 1) {
        first = indice * 9 + chute * 3;
        step = 1;
        boxLeftTop = indice / 3 * 27 + chute * 3;
    } else if (kind == 2) {
        first = chute * 27 + indice;
        step = 9;
        boxLeftTop = indice / 3 * 3 + chute * 27;
    } else {
        return false;
    }
    bool removed = false;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int cell = boxLeftTop + 9 * i + j;
            if (cell != first && cell != first + step && cell != first + 2 * step) {
                removed |= CandidateRemoved(candidate, cell);
            }
        }
    }
    return removed;
}

}  // namespace cluemill
