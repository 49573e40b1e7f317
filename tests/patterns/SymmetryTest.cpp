// SPDX-License-Identifier: MIT
// Pattern symmetry: the automorphism groups of hand-made patterns
// (tests/data/symmetry.txt), canonical forms against every moved and renamed
// image of a puzzle, named symmetries and the cells of symmetric drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "patterns/Symmetry.h"

namespace cluemill {
namespace {

Pattern Cells(const std::string& text) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = text[cell] == 'X';
    return clues;
}

// The puzzle moved by map, then its digits renamed: shifted (d -> d + shift,
// cyclic), or, with shift -1, in order of first appearance, as text.
CellValues Moved(const CellValues& puzzle, const GridMap& map, int shift) {
    CellValues moved{};
    for (int cell = 0; cell < 81; ++cell)
        if (puzzle[cell] != 0)
            moved[map.Image(cell)] = static_cast<std::int8_t>((puzzle[cell] - 1 + shift) % 9 + 1);
    return moved;
}
std::string Renamed(const CellValues& puzzle, const GridMap& map = {}) {
    std::array<char, 10> names{};
    char next = '1';
    std::string text;
    for (int value : Moved(puzzle, map, 0)) {
        if (value != 0 && names[value] == 0) names[value] = next++;
        text += value == 0 ? '0' : names[value];
    }
    return text;
}

struct GroupCase {
    std::string Cells;
    std::int64_t Size = 0;
    std::string Symmetry;
};

// tests/data/symmetry.txt: "cells size name" per line, "#" a comment.
const std::vector<GroupCase> kGroups = [] {
    std::ifstream in(CLUEMILL_TEST_DATA "/symmetry.txt");
    std::vector<GroupCase> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GroupCase& test = cases.emplace_back();
        fields >> test.Cells >> test.Size >> std::ws;
        std::getline(fields, test.Symmetry);
    }
    return cases;
}();

TEST(PatternSymmetry, GroupsOfHandMadePatterns) {
    ASSERT_EQ(kGroups.size(), 13u);
    for (const GroupCase& test : kGroups) {
        SCOPED_TRACE(test.Cells);
        const Pattern clues = Cells(test.Cells);
        const PatternSymmetry symmetry(clues);
        EXPECT_EQ(symmetry.GroupSize(), test.Size);
        EXPECT_EQ(SymmetryName(clues), test.Symmetry);
        std::int64_t visits = 0;
        std::set<std::vector<int>> distinct;
        symmetry.ForEachAutomorphism([&](const GridMap& map) {
            EXPECT_TRUE(visits++ > 0 || map == GridMap{}) << "the identity comes first";
            if (test.Size > 1000) return true;
            std::vector<int> images;
            for (int cell = 0; cell < 81; ++cell) {
                images.push_back(map.Image(cell));
                EXPECT_EQ(clues[images.back()], clues[cell]);
            }
            distinct.insert(images);
            return true;
        });
        EXPECT_EQ(visits, test.Size);
        EXPECT_EQ(static_cast<std::int64_t>(distinct.size()), test.Size > 1000 ? 0 : test.Size);
        // A moved pattern has a conjugate group of the same size.
        const GridMap map{{4, 3, 5, 8, 6, 7, 1, 0, 2}, {6, 8, 7, 2, 1, 0, 3, 5, 4}, true};
        Pattern moved{};
        for (int cell = 0; cell < 81; ++cell) moved[map.Image(cell)] = clues[cell];
        EXPECT_EQ(PatternSymmetry(moved).GroupSize(), test.Size);
    }
    // Symmetric about the anti-diagonal alone.
    EXPECT_EQ(SymmetryName(Cells(".X" + std::string(69, '.') + "X" + std::string(9, '.'))),
              "diagonal");
}

TEST(PatternSymmetry, FormIsTheSmallestImageAndSharedByEquivalentPuzzles) {
    std::mt19937 random(2);
    for (const GroupCase& test : kGroups) {
        const Pattern clues = Cells(test.Cells);
        if (std::count(clues.begin(), clues.end(), true) < 17) continue;
        SCOPED_TRACE(test.Cells);
        const PatternSymmetry symmetry(clues);
        // Random digits on the clue cells: a form does not ask for a valid puzzle.
        CellValues puzzle{};
        for (int cell = 0; cell < 81; ++cell)
            if (clues[cell]) puzzle[cell] = static_cast<std::int8_t>(1 + random() % 9);
        const std::string form = symmetry.CanonicalForm(puzzle);
        // Every automorphism of a small group; three spread over a huge one.
        const std::int64_t stride = test.Size > 1000 ? test.Size / 3 + 1 : 1;
        std::int64_t index = 0;
        std::string smallest = Renamed(puzzle);
        symmetry.ForEachAutomorphism([&](const GridMap& map) {
            if (index++ % stride != 0) return true;
            smallest = std::min(smallest, Renamed(puzzle, map));
            EXPECT_EQ(symmetry.CanonicalForm(Moved(puzzle, map, map.Rows[0] + 1)), form);
            return true;
        });
        EXPECT_TRUE(stride > 1 ? form <= smallest : form == smallest);
        if (stride > 1) continue;
        // One given changed: the forms agree exactly when some image matches.
        CellValues other = puzzle;
        const auto given = std::find_if(other.begin(), other.end(), [](int v) { return v != 0; });
        *given = static_cast<std::int8_t>(*given % 9 + 1);
        bool equivalent = false;
        symmetry.ForEachAutomorphism([&](const GridMap& map) {
            equivalent = equivalent || Renamed(puzzle, map) == Renamed(other);
            return true;
        });
        EXPECT_EQ(symmetry.CanonicalForm(other) == form, equivalent);
    }
    // Transposed, the first row reads 1 1 instead of 1 2.
    CellValues puzzle{};
    puzzle[0] = puzzle[9] = 4;
    puzzle[1] = 5;
    EXPECT_EQ(CanonicalForm(puzzle), "11" + std::string(7, '0') + "2" + std::string(71, '0'));
}

TEST(SymmetricCells, OrbitsStartAtTheClickedCell) {
    using V = std::vector<int>;
    EXPECT_EQ(SymmetricCells(10, DrawSymmetry::None), V{10});
    EXPECT_EQ(SymmetricCells(10, DrawSymmetry::HalfTurn), (V{10, 70}));
    EXPECT_EQ(SymmetricCells(1, DrawSymmetry::QuarterTurn), (V{1, 17, 79, 63}));
    EXPECT_EQ(SymmetricCells(40, DrawSymmetry::QuarterTurn), V{40});
    EXPECT_EQ(SymmetricCells(3, DrawSymmetry::Mirror), (V{3, 5}));
    EXPECT_EQ(SymmetricCells(76, DrawSymmetry::Mirror), V{76});
    EXPECT_EQ(SymmetricCells(1, DrawSymmetry::Diagonal), (V{1, 9}));
    EXPECT_EQ(SymmetricCells(20, DrawSymmetry::Diagonal), V{20});
}

}  // namespace
}  // namespace cluemill
