// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "patterns/PatternLibrary.h"
#include "solver/Solver.h"

namespace cluemill {

// A map of the grid onto itself that keeps rows, columns and boxes: the bands,
// the rows inside each band, the stacks and the columns inside each stack
// permuted, after an optional transposition. It moves cell (r, c) to
// (Rows[r], Columns[c]); with Transpose, (r, c) first becomes (c, r), so it
// lands on (Rows[c], Columns[r]). The default is the identity.
struct GridMap {
    std::array<std::uint8_t, 9> Rows{0, 1, 2, 3, 4, 5, 6, 7, 8};
    std::array<std::uint8_t, 9> Columns{0, 1, 2, 3, 4, 5, 6, 7, 8};
    bool Transpose = false;

    // The cell that cell (0 to 80) moves to; Rows and Columns must be permutations.
    constexpr int Image(int cell) const {
        const int r = cell / 9;
        const int c = cell % 9;
        return Transpose ? Rows[c] * 9 + Columns[r] : Rows[r] * 9 + Columns[c];
    }
    bool operator==(const GridMap&) const = default;
};

// 2 x 6^8: transposed or not, times 6 orders of the bands, of the stacks and
// of the three lines inside each of them.
inline constexpr std::int64_t kGridMaps = 3359232;

// The automorphism group of a pattern: the grid maps that move its clue cells
// onto themselves, and the canonical form of puzzles on that pattern. Two
// puzzles on the pattern are equivalent when an automorphism followed by a
// renaming of the digits turns one into the other; they then share one form.
// The group is computed once; small groups are kept as cell tables, so that a
// form costs one pass over 81 cells per automorphism, while a huge group
// (up to all kGridMaps maps) is only counted and walked again per form.
// Nothing changes after construction: one object may serve several threads.
class PatternSymmetry {
  public:
    explicit PatternSymmetry(const Pattern& clues);

    // How many grid maps move the clue cells onto themselves (1 to kGridMaps).
    std::int64_t GroupSize() const { return groupSize_; }
    // Calls visit with every automorphism once, the identity first, until it
    // returns false.
    void ForEachAutomorphism(const std::function<bool(const GridMap&)>& visit) const;
    // Over every automorphism: the moved puzzle with its digits renamed in
    // order of first appearance (cell order), as 81 characters with "0" for
    // an empty cell; the lexicographically smallest. The puzzle's givens
    // (values 1 to 9, anything else is empty) must lie on exactly the
    // pattern's clue cells; that is not checked.
    std::string CanonicalForm(const CellValues& puzzle) const;

  private:
    // The maps sharing one row map: ColumnOrders[s][t] has bit k set when the
    // columns of stack s may go to stack t in the k-th order of three.
    struct RowPart {
        std::array<std::uint8_t, 9> Rows;
        bool Transpose;
        std::array<std::array<std::uint8_t, 3>, 3> ColumnOrders;
    };

    void AddRowParts(const std::array<std::uint16_t, 9>& sourceRows,
                     const std::array<std::uint16_t, 9>& sourceColumns,
                     const std::array<std::uint16_t, 9>& rows,
                     const std::array<std::uint16_t, 9>& columns, bool transpose);
    template <class Visit>
    bool Enumerate(Visit&& visit) const;

    std::int64_t groupSize_ = 0;
    std::vector<RowPart> rowParts_;
    // For each automorphism of a small group: the cell each cell of the moved
    // grid comes from.
    std::vector<std::array<std::uint8_t, 81>> sources_;
};

// The canonical form of a puzzle under the automorphisms of its own givens.
std::string CanonicalForm(const CellValues& puzzle);

// The named symmetries a pattern has, for showing to a setter: "none", or
// those of "quarter turn", "half turn", "mirror" (left-right or top-bottom)
// and "diagonal" (main or anti-diagonal) that hold, joined by " + " in that
// order; a quarter turn hides the half turn it implies.
std::string SymmetryName(const Pattern& clues);

// The symmetry kept while drawing a pattern: Mirror is left-right, Diagonal
// the main diagonal.
enum class DrawSymmetry { None, HalfTurn, QuarterTurn, Mirror, Diagonal };

// The cells a click on cell (0 to 80) sets or clears: the cell first, then its
// other images under the symmetry (a quarter turn goes clockwise), without
// repeats: 1, 2 or 4 cells.
std::vector<int> SymmetricCells(int cell, DrawSymmetry symmetry);

}  // namespace cluemill
