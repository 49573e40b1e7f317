// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "solver/Geometry.h"

namespace cluemill {

// Where a cell lies in a CellSet: its band word and its bit in that word.
struct CellPlace {
    std::uint32_t Bit;
    std::uint8_t Band;
};

inline constexpr std::array<CellPlace, kCells> kCellPlaces = [] {
    std::array<CellPlace, kCells> places{};
    for (int c = 0; c < kCells; ++c) {
        places[c] = {1u << (c % 27), static_cast<std::uint8_t>(c / 27)};
    }
    return places;
}();

// A set of cells as one 27-bit word per band:
//
//   Band[b] bit 9 * r + c  =  cell (3 * b + r) * 9 + c     (r, c: 0 to 2, 0 to 8)
//
// so a row is nine adjacent bits, a box three groups of three, and the lowest
// set bit of the lowest non-empty band is the lowest cell.
struct CellSet {
    std::array<std::uint32_t, 3> Band{};

    static constexpr CellSet Of(int cell) {
        CellSet s;
        s.Band[kCellPlaces[cell].Band] = kCellPlaces[cell].Bit;
        return s;
    }
    // Takes one cell out of the set.
    constexpr void Erase(int cell) { Band[kCellPlaces[cell].Band] &= ~kCellPlaces[cell].Bit; }
    constexpr bool Empty() const { return (Band[0] | Band[1] | Band[2]) == 0; }
    constexpr bool Contains(int cell) const {
        return (Band[kCellPlaces[cell].Band] & kCellPlaces[cell].Bit) != 0;
    }
    constexpr int Count() const {
        return std::popcount(Band[0]) + std::popcount(Band[1]) + std::popcount(Band[2]);
    }
    // The lowest cell of a non-empty set.
    constexpr int First() const {
        for (int b = 0; b < 3; ++b) {
            if (Band[b] != 0) return b * 27 + std::countr_zero(Band[b]);
        }
        return -1;
    }
    constexpr CellSet operator&(const CellSet& o) const {
        return {{Band[0] & o.Band[0], Band[1] & o.Band[1], Band[2] & o.Band[2]}};
    }
    constexpr CellSet operator|(const CellSet& o) const {
        return {{Band[0] | o.Band[0], Band[1] | o.Band[1], Band[2] | o.Band[2]}};
    }
    constexpr CellSet Without(const CellSet& o) const {
        return {{Band[0] & ~o.Band[0], Band[1] & ~o.Band[1], Band[2] & ~o.Band[2]}};
    }
    constexpr bool operator==(const CellSet&) const = default;
    // Calls f(cell) for every cell in ascending order. The first two bands
    // make one 54-bit word in which a cell's bit index is the cell: two
    // loops to leave instead of three.
    template <typename F>
    constexpr void ForEach(F&& f) const {
        for (std::uint64_t m = Band[0] | std::uint64_t{Band[1]} << 27; m != 0; m &= m - 1) {
            f(std::countr_zero(m));
        }
        for (std::uint32_t m = Band[2]; m != 0; m &= m - 1) f(54 + std::countr_zero(m));
    }
};

namespace detail {
constexpr std::array<CellSet, kCells> MakePeerSets() {
    std::array<CellSet, kCells> sets{};
    for (int c = 0; c < kCells; ++c) {
        for (const auto p : kPeers[c]) sets[c] = sets[c] | CellSet::Of(p);
    }
    return sets;
}
}  // namespace detail

inline constexpr std::array<CellSet, kCells> kPeerSets = detail::MakePeerSets();

namespace detail {
constexpr std::array<CellSet, kUnits> MakeUnitSets() {
    std::array<CellSet, kUnits> sets{};
    for (int u = 0; u < kUnits; ++u) {
        for (const auto cell : kUnitTable[u].Cells) sets[u] = sets[u] | CellSet::Of(cell);
    }
    return sets;
}
}  // namespace detail

// The cells of each unit, in scan order of the units.
inline constexpr std::array<CellSet, kUnits> kUnitSets = detail::MakeUnitSets();

// The three units of a cell as bits of a unit set: bit u for unit u in scan
// order (rows 0-8, columns 9-17, boxes 18-26).
namespace detail {
constexpr std::array<std::uint32_t, kCells> MakeUnitsOf() {
    std::array<std::uint32_t, kCells> units{};
    for (int c = 0; c < kCells; ++c) {
        units[c] = (1u << RowOf(c)) | (1u << (9 + ColumnOf(c))) | (1u << (18 + BoxOf(c)));
    }
    return units;
}
}  // namespace detail

inline constexpr std::array<std::uint32_t, kCells> kUnitsOf = detail::MakeUnitsOf();

constexpr std::uint32_t UnitsOf(int cell) {
    return kUnitsOf[cell];
}

// The candidates of all cells, kept twice: per cell as a digit mask, and per
// digit as the set of cells that still hold it, so that a technique can ask
// either question in a few instructions. Every change goes through here so
// that the two views always agree.
//
// It also notes, per digit, the units in which that digit's candidates changed
// since a technique last declared them examined, so that a scan can pass over
// units where nothing it looks for can have appeared.
class CandidateGrid {
  public:
    CandidateMask operator[](int cell) const { return cells_[cell]; }
    const std::array<CandidateMask, kCells>& Cells() const { return cells_; }
    // The cells that still hold digit as a candidate.
    const CellSet& CellsOf(int digit) const { return digits_[digit - 1]; }
    bool Has(int cell, int digit) const { return (cells_[cell] & DigitBit(digit)) != 0; }
    // Units (bits as in UnitsOf) where digit's candidates changed since the
    // last Examined call for them.
    std::uint32_t ChangedUnits(int digit) const { return changedUnits_[digit - 1]; }
    // The digits with changed units: bit d - 1 for digit d.
    CandidateMask ChangedDigits() const { return changedDigits_; }
    void Examined(int digit, std::uint32_t units) {
        changedUnits_[digit - 1] &= ~units;
        if (changedUnits_[digit - 1] == 0)
            changedDigits_ &= static_cast<CandidateMask>(~DigitBit(digit));
    }
    // The cells with more than n candidates (n from 0 to 8).
    CellSet CellsWithMoreThan(int n) const {
        // atLeast[k]: cells with at least k + 1 candidates, counted digit by
        // digit and saturating at n + 1.
        std::array<CellSet, 10> atLeast{};
        for (const CellSet& holders : digits_) {
            for (int k = n; k > 0; --k) atLeast[k] = atLeast[k] | (atLeast[k - 1] & holders);
            atLeast[0] = atLeast[0] | holders;
        }
        return atLeast[n];
    }
    // Units where any candidate changed since the last call.
    std::uint32_t TakeTouchedUnits() {
        const std::uint32_t touched = touched_;
        touched_ = 0;
        return touched;
    }

    void Set(int cell, CandidateMask mask) {
        for (unsigned changed = cells_[cell] ^ mask; changed != 0; changed &= changed - 1) {
            const int d = std::countr_zero(changed);
            digits_[d].Band[kCellPlaces[cell].Band] ^= kCellPlaces[cell].Bit;
            changedUnits_[d] |= UnitsOf(cell);
            touched_ |= UnitsOf(cell);
        }
        changedDigits_ |= cells_[cell] ^ mask;
        cells_[cell] = mask;
    }
    void Fill(CandidateMask mask) {
        cells_.fill(mask);
        for (int d = 0; d < 9; ++d) {
            const std::uint32_t word = (mask >> d) & 1u ? (1u << 27) - 1 : 0;
            digits_[d].Band = {word, word, word};
        }
        changedUnits_.fill(kAllUnits);
        changedDigits_ = kAllDigits;
        touched_ = kAllUnits;
    }
    // Replaces every cell's candidates at once; digits[d - 1] must be the
    // cells whose mask holds d.
    void Load(const std::array<CandidateMask, kCells>& cells,
              const std::array<CellSet, 9>& digits) {
        cells_ = cells;
        digits_ = digits;
        changedUnits_.fill(kAllUnits);
        changedDigits_ = kAllDigits;
        touched_ = kAllUnits;
    }
    // Clears one candidate; true if it was set.
    bool Clear(int cell, int digit) {
        const CandidateMask bit = DigitBit(digit);
        if ((cells_[cell] & bit) == 0) return false;
        cells_[cell] = static_cast<CandidateMask>(cells_[cell] & ~bit);
        digits_[digit - 1].Band[kCellPlaces[cell].Band] &= ~kCellPlaces[cell].Bit;
        changedUnits_[digit - 1] |= UnitsOf(cell);
        changedDigits_ |= bit;
        touched_ |= UnitsOf(cell);
        return true;
    }
    void Add(int cell, int digit) {
        cells_[cell] = static_cast<CandidateMask>(cells_[cell] | DigitBit(digit));
        digits_[digit - 1].Band[kCellPlaces[cell].Band] |= kCellPlaces[cell].Bit;
        changedUnits_[digit - 1] |= UnitsOf(cell);
        changedDigits_ |= DigitBit(digit);
        touched_ |= UnitsOf(cell);
    }
    // Clears digit from every cell of `where`; returns the cells that held it.
    // emptied is set when one of them lost its last candidate.
    CellSet ClearDigit(int digit, const CellSet& where, bool& emptied) {
        CellSet& holders = digits_[digit - 1];
        const CellSet hit = holders & where;
        const CandidateMask keep = static_cast<CandidateMask>(~DigitBit(digit));
        std::uint32_t units = 0;
        bool empty = false;
        hit.ForEach([&](int cell) {
            cells_[cell] &= keep;
            units |= UnitsOf(cell);
            empty |= cells_[cell] == 0;
        });
        emptied = empty;
        holders = holders.Without(hit);
        changedUnits_[digit - 1] |= units;
        changedDigits_ |= units != 0 ? DigitBit(digit) : CandidateMask{0};
        touched_ |= units;
        return hit;
    }

    bool operator==(const CandidateGrid& o) const { return cells_ == o.cells_; }

  private:
    std::array<CandidateMask, kCells> cells_{};
    static constexpr std::uint32_t kAllUnits = (1u << kUnits) - 1;
    std::array<CellSet, 9> digits_{};
    std::array<std::uint32_t, 9> changedUnits_{kAllUnits, kAllUnits, kAllUnits,
                                               kAllUnits, kAllUnits, kAllUnits,
                                               kAllUnits, kAllUnits, kAllUnits};
    CandidateMask changedDigits_ = kAllDigits;
    std::uint32_t touched_ = kAllUnits;
};

}  // namespace cluemill
