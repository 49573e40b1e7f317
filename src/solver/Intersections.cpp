// SPDX-License-Identifier: MIT
#include "solver/Solver.h"

namespace cluemill {

// The intersections of every chute, the three cells a line shares with a
// box. Rows and columns are alike: line i of a kind belongs to group i / 3
// (its band or stack), and its chute k lies in the group's box k.
//
//   line     = the chute's line; outside = its other two chutes
//   box      = the chute's box;  outside = the box's other two chutes
//   Point[i][k] = digits of the box only in this chute, with a candidate
//                 on the line outside the box (a pointing pair or triple)
//   Claim[i][k] = digits of the line only in this chute, with a candidate
//                 in the box outside the line (a box-line reduction)
struct ChuteScan {
    using Lines = std::array<std::array<CandidateMask, 3>, 9>;
    Lines PointRow{};
    Lines PointColumn{};
    Lines ClaimRow{};
    Lines ClaimColumn{};
    CandidateMask PointAny = 0;
    CandidateMask ClaimRowAny = 0;
    CandidateMask ClaimColumnAny = 0;

    explicit ChuteScan(const std::array<CandidateMask, kCells>& candidates) {
        Lines rows{};
        Lines columns{};
        for (int line = 0; line < 9; ++line) {
            for (int k = 0; k < 3; ++k) {
                const int r = line * 9 + k * 3;
                rows[line][k] = candidates[r] | candidates[r + 1] | candidates[r + 2];
                const int c = k * 27 + line;
                columns[line][k] = candidates[c] | candidates[c + 9] | candidates[c + 18];
            }
        }
        PointAny = Scan(rows, PointRow, ClaimRow, ClaimRowAny) |
                   Scan(columns, PointColumn, ClaimColumn, ClaimColumnAny);
    }

  private:
    // Fills point and claim for one kind of line; returns the digits of
    // point, and sets claimAny to those of claim.
    static CandidateMask Scan(const Lines& chute, Lines& point, Lines& claim,
                              CandidateMask& claimAny) {
        CandidateMask pointAny = 0;
        claimAny = 0;
        for (int group = 0; group < 3; ++group) {
            const auto& a = chute[3 * group];
            const auto& b = chute[3 * group + 1];
            const auto& c = chute[3 * group + 2];
            for (int i = 0; i < 3; ++i) {
                const auto& line = chute[3 * group + i];
                const std::array<CandidateMask, 3> lineOut{
                    static_cast<CandidateMask>(line[1] | line[2]),
                    static_cast<CandidateMask>(line[0] | line[2]),
                    static_cast<CandidateMask>(line[0] | line[1])};
                for (int k = 0; k < 3; ++k) {
                    const CandidateMask boxOut = i == 0   ? (b[k] | c[k])
                                                 : i == 1 ? (a[k] | c[k])
                                                          : (a[k] | b[k]);
                    const auto p = static_cast<CandidateMask>(line[k] & ~boxOut & lineOut[k]);
                    const auto q = static_cast<CandidateMask>(line[k] & ~lineOut[k] & boxOut);
                    point[3 * group + i][k] = p;
                    claim[3 * group + i][k] = q;
                    pointAny |= p;
                    claimAny |= q;
                }
            }
        }
        return pointAny;
    }
};

bool Solver::PointingPair() {
    return PointingPair(ChuteScan(Candidates.Cells()));
}

bool Solver::PointingPair(const ChuteScan& scan) {
    if (scan.PointAny == 0) return false;
    // Lowest digit first; then boxes in order, a box's rows (chutes 0 to 2)
    // before its columns (3 to 5).
    const int digit = LowestDigit(scan.PointAny);
    const CandidateMask bit = DigitBit(digit);
    for (int band = 0; band < 3; ++band) {
        for (int stack = 0; stack < 3; ++stack) {
            const int boxLeftTop = 27 * band + 3 * stack;
            for (int k = 0; k < 3; ++k) {
                if (scan.PointRow[3 * band + k][stack] & bit)
                    return DiscardPP(digit, boxLeftTop, k);
            }
            for (int k = 0; k < 3; ++k) {
                if (scan.PointColumn[3 * stack + k][band] & bit) {
                    return DiscardPP(digit, boxLeftTop, 3 + k);
                }
            }
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
    return BoxLine(ChuteScan(Candidates.Cells()));
}

bool Solver::BoxLine(const ChuteScan& scan) {
    // Rows first, all digits, then columns: each kind has its own digit order.
    for (int kind = 1; kind <= 2; ++kind) {
        const CandidateMask any = kind == 1 ? scan.ClaimRowAny : scan.ClaimColumnAny;
        if (any == 0) continue;
        const auto& claim = kind == 1 ? scan.ClaimRow : scan.ClaimColumn;
        const int digit = LowestDigit(any);
        for (int line = 0; line < 9; ++line) {
            for (int k = 0; k < 3; ++k) {
                if (claim[line][k] & DigitBit(digit)) return DiscardBL(digit, line, k, kind);
            }
        }
    }
    return false;
}

bool Solver::Intersection() {
    // One scan serves both: the pointing pairs leave the grid as it was when
    // they find nothing.
    const ChuteScan scan(Candidates.Cells());
    return PointingPair(scan) || BoxLine(scan);
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
