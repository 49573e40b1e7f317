// SPDX-License-Identifier: MIT
#include "patterns/Symmetry.h"

#include <bit>
#include <utility>

namespace cluemill {

namespace {

// The six orders of three lines; the identity first, so that the first map
// enumerated is the identity.
constexpr std::array<std::array<std::uint8_t, 3>, 6> kOrders{
    {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}};

// A set of lines of one direction: bit i = line i.
using LineMasks = std::array<std::uint16_t, 9>;

// Groups larger than this are walked again for every form instead of kept as
// tables of 81 bytes a map.
constexpr std::int64_t kListedMaps = 1024;

std::uint16_t MapLines(unsigned lines, const std::array<std::uint8_t, 9>& map) {
    unsigned image = 0;
    for (; lines != 0; lines &= lines - 1) image |= 1u << map[std::countr_zero(lines)];
    return static_cast<std::uint16_t>(image);
}

// For each band b: bit k set when its rows, in the k-th order, go to rows of
// band bands[b] with the same clue counts (a column map keeps a row's count).
std::array<unsigned, 3> RowOrders(const LineMasks& sourceRows, const LineMasks& rows,
                                  const std::array<std::uint8_t, 3>& bands) {
    std::array<unsigned, 3> orders{};
    for (int b = 0; b < 3; ++b) {
        for (int k = 0; k < 6; ++k) {
            bool fits = true;
            for (int i = 0; i < 3; ++i) {
                fits = fits && std::popcount(sourceRows[3 * b + i]) ==
                                   std::popcount(rows[3 * bands[b] + kOrders[k][i]]);
            }
            if (fits) orders[b] |= 1u << k;
        }
    }
    return orders;
}

// Under a row map, source column c can only go to a column whose clue rows are
// the images of c's; that fixes, stack by stack, the orders that fit:
// result[s][t] bit k set when stack s may go to stack t in the k-th order.
std::array<std::array<std::uint8_t, 3>, 3> ColumnOrders(const LineMasks& sourceColumns,
                                                        const LineMasks& columns,
                                                        const std::array<std::uint8_t, 9>& rowMap) {
    LineMasks wanted{};
    for (int c = 0; c < 9; ++c) wanted[c] = MapLines(sourceColumns[c], rowMap);
    std::array<std::array<std::uint8_t, 3>, 3> orders{};
    for (int s = 0; s < 3; ++s) {
        for (int t = 0; t < 3; ++t) {
            for (int k = 0; k < 6; ++k) {
                bool same = true;
                for (int i = 0; i < 3; ++i)
                    same = same && columns[3 * t + kOrders[k][i]] == wanted[3 * s + i];
                if (same) orders[s][t] = static_cast<std::uint8_t>(orders[s][t] | 1u << k);
            }
        }
    }
    return orders;
}

std::int64_t CountColumnMaps(const std::array<std::array<std::uint8_t, 3>, 3>& orders) {
    std::int64_t count = 0;
    for (const auto& stacks : kOrders) {
        std::int64_t product = 1;
        for (int s = 0; s < 3; ++s) product *= std::popcount(orders[s][stacks[s]]);
        count += product;
    }
    return count;
}

// The cell that cell t of the moved grid comes from.
class SourceOf {
  public:
    explicit SourceOf(const GridMap& map) : transpose_(map.Transpose) {
        for (int i = 0; i < 9; ++i) {
            rowFrom_[map.Rows[i]] = static_cast<std::uint8_t>(i);
            columnFrom_[map.Columns[i]] = static_cast<std::uint8_t>(i);
        }
    }
    int operator()(int t) const {
        const int row = rowFrom_[t / 9];
        const int column = columnFrom_[t % 9];
        return transpose_ ? column * 9 + row : row * 9 + column;
    }

  private:
    bool transpose_;
    std::array<std::uint8_t, 9> rowFrom_{};
    std::array<std::uint8_t, 9> columnFrom_{};
};

// Writes the form the puzzle takes under one map into best when it is
// smaller. Cells are compared as they are renamed, so most maps are given up
// after a few cells; up to the first smaller cell the form equals best, so it
// can be written in place.
template <class Sources>
void OfferForm(const CellValues& puzzle, const Sources& sources, std::string& best) {
    std::array<char, 10> names{};
    char next = '1';
    bool smaller = false;
    for (int t = 0; t < 81; ++t) {
        const int value = puzzle[sources(t)];
        char name = '0';
        if (value >= 1 && value <= 9) {
            if (names[value] == 0) names[value] = next++;
            name = names[value];
        }
        if (!smaller) {
            if (name > best[t]) return;
            smaller = name < best[t];
        }
        best[t] = name;
    }
}

// A map is one to one, so a map that keeps every clue cell a clue cell moves
// the clue cells onto themselves.
bool HasMap(const Pattern& clues, const GridMap& map) {
    for (int cell = 0; cell < 81; ++cell) {
        if (clues[cell] && !clues[map.Image(cell)]) return false;
    }
    return true;
}

constexpr std::array<std::uint8_t, 9> kForward{0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<std::uint8_t, 9> kBackward{8, 7, 6, 5, 4, 3, 2, 1, 0};
// (r, c) -> (c, 8 - r): clockwise.
constexpr GridMap kQuarterTurn{kForward, kBackward, true};
constexpr GridMap kHalfTurn{kBackward, kBackward, false};
constexpr GridMap kMirror{kForward, kBackward, false};
constexpr GridMap kTopBottom{kBackward, kForward, false};
constexpr GridMap kDiagonal{kForward, kForward, true};
// (r, c) -> (8 - c, 8 - r).
constexpr GridMap kAntiDiagonal{kBackward, kBackward, true};

}  // namespace

PatternSymmetry::PatternSymmetry(const Pattern& clues) {
    LineMasks rows{};
    LineMasks columns{};
    for (int cell = 0; cell < 81; ++cell) {
        if (!clues[cell]) continue;
        rows[cell / 9] |= static_cast<std::uint16_t>(1u << cell % 9);
        columns[cell % 9] |= static_cast<std::uint16_t>(1u << cell / 9);
    }
    // A transposing map moves the transposed pattern onto the pattern by rows
    // and columns alone; the transposed pattern's rows are the columns.
    AddRowParts(rows, columns, rows, columns, false);
    AddRowParts(columns, rows, rows, columns, true);
    if (groupSize_ <= kListedMaps) {
        sources_.reserve(static_cast<std::size_t>(groupSize_));
        Enumerate([this](const GridMap& map) {
            const SourceOf sourceOf(map);
            auto& sources = sources_.emplace_back();
            for (int t = 0; t < 81; ++t) sources[t] = static_cast<std::uint8_t>(sourceOf(t));
            return true;
        });
    }
}

// Every row map (bands and rows in bands) that sends each source row to a row
// of the same clue count, and for each the column maps that fit it. Column
// maps are counted stack by stack, not listed, so that even the whole group
// of the empty pattern is counted at once.
void PatternSymmetry::AddRowParts(const LineMasks& sourceRows, const LineMasks& sourceColumns,
                                  const LineMasks& rows, const LineMasks& columns, bool transpose) {
    for (const auto& bands : kOrders) {
        const std::array<unsigned, 3> rowOrders = RowOrders(sourceRows, rows, bands);
        // Orders of the rows inside the three bands, the identity first.
        for (int k = 0; k < 216; ++k) {
            const std::array<int, 3> orders{k / 36, k / 6 % 6, k % 6};
            bool fits = true;
            for (int b = 0; b < 3; ++b) fits = fits && (rowOrders[b] >> orders[b] & 1) != 0;
            if (!fits) continue;
            RowPart part{{}, transpose, {}};
            for (int i = 0; i < 9; ++i) {
                part.Rows[i] =
                    static_cast<std::uint8_t>(3 * bands[i / 3] + kOrders[orders[i / 3]][i % 3]);
            }
            part.ColumnOrders = ColumnOrders(sourceColumns, columns, part.Rows);
            const std::int64_t count = CountColumnMaps(part.ColumnOrders);
            if (count == 0) continue;
            groupSize_ += count;
            rowParts_.push_back(part);
        }
    }
}

template <class Visit>
bool PatternSymmetry::Enumerate(Visit&& visit) const {
    GridMap map;
    const auto setStack = [&map](int s, int t, int order) {
        for (int i = 0; i < 3; ++i)
            map.Columns[3 * s + i] = static_cast<std::uint8_t>(3 * t + kOrders[order][i]);
    };
    for (const RowPart& part : rowParts_) {
        map.Rows = part.Rows;
        map.Transpose = part.Transpose;
        for (const auto& stacks : kOrders) {
            const unsigned orders0 = part.ColumnOrders[0][stacks[0]];
            const unsigned orders1 = part.ColumnOrders[1][stacks[1]];
            const unsigned orders2 = part.ColumnOrders[2][stacks[2]];
            for (unsigned m0 = orders0; m0 != 0; m0 &= m0 - 1) {
                setStack(0, stacks[0], std::countr_zero(m0));
                for (unsigned m1 = orders1; m1 != 0; m1 &= m1 - 1) {
                    setStack(1, stacks[1], std::countr_zero(m1));
                    for (unsigned m2 = orders2; m2 != 0; m2 &= m2 - 1) {
                        setStack(2, stacks[2], std::countr_zero(m2));
                        if (!visit(std::as_const(map))) return false;
                    }
                }
            }
        }
    }
    return true;
}

void PatternSymmetry::ForEachAutomorphism(const std::function<bool(const GridMap&)>& visit) const {
    Enumerate(visit);
}

std::string PatternSymmetry::CanonicalForm(const CellValues& puzzle) const {
    // Above every digit, so that the first map's form replaces it.
    std::string best(81, ':');
    if (!sources_.empty()) {
        for (const auto& sources : sources_) {
            const auto fromTable = [&sources](int t) { return sources[t]; };
            OfferForm(puzzle, fromTable, best);
        }
    } else {
        Enumerate([&](const GridMap& map) {
            OfferForm(puzzle, SourceOf(map), best);
            return true;
        });
    }
    return best;
}

std::string CanonicalForm(const CellValues& puzzle) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = puzzle[cell] >= 1 && puzzle[cell] <= 9;
    return PatternSymmetry(clues).CanonicalForm(puzzle);
}

std::string SymmetryName(const Pattern& clues) {
    std::string name;
    const auto add = [&name](const char* part) {
        name += name.empty() ? part : " + " + std::string(part);
    };
    const bool quarterTurn = HasMap(clues, kQuarterTurn);
    if (quarterTurn) add("quarter turn");
    if (!quarterTurn && HasMap(clues, kHalfTurn)) add("half turn");
    if (HasMap(clues, kMirror) || HasMap(clues, kTopBottom)) add("mirror");
    if (HasMap(clues, kDiagonal) || HasMap(clues, kAntiDiagonal)) add("diagonal");
    return name.empty() ? "none" : name;
}

std::vector<int> SymmetricCells(int cell, DrawSymmetry symmetry) {
    std::vector<int> cells{cell};
    GridMap map;
    switch (symmetry) {
        case DrawSymmetry::None:
            return cells;
        case DrawSymmetry::HalfTurn:
            map = kHalfTurn;
            break;
        case DrawSymmetry::QuarterTurn:
            map = kQuarterTurn;
            break;
        case DrawSymmetry::Mirror:
            map = kMirror;
            break;
        case DrawSymmetry::Diagonal:
            map = kDiagonal;
            break;
    }
    // The images come round to the cell again: the cell's orbit.
    for (int image = map.Image(cell); image != cell; image = map.Image(image))
        cells.push_back(image);
    return cells;
}

}  // namespace cluemill
