// SPDX-License-Identifier: MIT
// The logic techniques, one call at a time, on the hand-made candidate grids
// of tests/data/solver_techniques.txt; and the bookkeeping under them.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "solver/Solver.h"

namespace cluemill {
namespace {

using Masks = std::array<CandidateMask, kCells>;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        const auto first = part.find_first_not_of(' ');
        const auto last = part.find_last_not_of(' ');
        parts.push_back(first == std::string::npos ? "" : part.substr(first, last - first + 1));
    }
    return parts;
}

std::vector<int> CellsOf(const std::string& text) {
    std::vector<int> cells;
    if (text != "-") {
        for (const auto& cell : Split(text, ',')) cells.push_back(std::stoi(cell));
    }
    return cells;
}

CandidateMask DigitsOf(const std::string& text) {
    CandidateMask mask = 0;
    for (const char c : text) {
        if (c != '-') mask = static_cast<CandidateMask>(mask | DigitBit(c - '0'));
    }
    return mask;
}

// "r4", "c0", "b8": a row, column or box, as an index into kUnitTable.
const Unit& UnitOf(const std::string& text) {
    const int kind = text[0] == 'r' ? 0 : text[0] == 'c' ? 1 : 2;
    return kUnitTable[9 * kind + (text[1] - '0')];
}

bool Peers(int a, int b) {
    const bool sameBox = a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3;
    return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || sameBox);
}

void Prepare(Solver& s, const std::string& steps) {
    for (const auto& step : Split(steps, ';')) {
        std::istringstream in(step);
        std::string verb, a, b, c;
        in >> verb >> a >> b >> c;
        if (verb == "keep") {
            const std::vector<int> keep = CellsOf(c);
            for (const int cell : UnitOf(b).Cells) {
                if (std::find(keep.begin(), keep.end(), cell) != keep.end()) continue;
                for (const char d : a) s.Candidates.Clear(cell, d - '0');
            }
        } else if (verb == "set") {
            for (const int cell : CellsOf(a)) s.Candidates.Set(cell, DigitsOf(b));
        } else if (verb == "place") {
            s.Assign(std::stoi(a), std::stoi(b));
            s.Board[std::stoi(b)] = static_cast<std::int8_t>(std::stoi(a));
        } else if (!verb.empty()) {
            ADD_FAILURE() << "unknown step " << step;
        }
    }
}

bool Call(Solver& s, const std::string& technique) {
    std::istringstream in(technique);
    std::string name;
    int a = 0, b = 0, c = 0, d = 0;
    in >> name >> a >> b >> c >> d;
    if (name == "hidden") return s.HiddenSingle();
    if (name == "naked") return s.NakedSingle();
    if (name == "pointing") return s.PointingPair();
    if (name == "boxline") return s.BoxLine();
    if (name == "discardpp") return s.DiscardPP(a, b, c);
    if (name == "discardbl") return s.DiscardBL(a, b, c, d);
    const bool naked = name.starts_with("naked");
    return s.NakedHidden(naked, std::stoi(name.substr(naked ? 5 : 6)));
}

TEST(TechniqueTest, HandMadeGrids) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/solver_techniques.txt");
    ASSERT_TRUE(in);
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        ++rows;
        const std::vector<std::string> fields = Split(line, '|');
        ASSERT_EQ(fields.size(), 3u);
        Solver s;
        s.Candidates.Fill(kAllDigits);
        Prepare(s, fields[1]);
        Masks expected = s.Candidates.Cells();
        CellValues board = s.Board;
        std::istringstream want(fields[2]);
        std::string what, digits, cells;
        want >> what >> digits >> cells;
        if (what == "place") {
            const int digit = std::stoi(digits), at = std::stoi(cells);
            for (int cell = 0; cell < kCells; ++cell) {
                if (Peers(cell, at)) expected[cell] &= static_cast<CandidateMask>(~DigitBit(digit));
            }
            expected[at] = 0;
            board[at] = static_cast<std::int8_t>(digit);
        } else if (what == "remove") {
            for (const int cell : CellsOf(cells)) expected[cell] &= ~DigitsOf(digits);
        }

        EXPECT_EQ(Call(s, fields[0]), what != "none");
        for (int cell = 0; cell < kCells; ++cell) {
            EXPECT_EQ(s.Candidates[cell], expected[cell]) << "cell " << cell;
        }
        EXPECT_EQ(s.Board, board);
    }
    EXPECT_GT(rows, 70);
}

// Assign empties the cell and takes the digit from its 20 peers only;
// RemoveCandidate reports whether the candidate was there.
TEST(TechniqueTest, Bookkeeping) {
    for (const int cell : {0, 8, 40, 80}) {
        Solver s;
        s.Candidates.Fill(kAllDigits);
        s.Candidates.Set(cell, DigitsOf("23"));
        s.Assign(5, cell);
        int cleared = 0;
        for (int c = 0; c < kCells; ++c) {
            const CandidateMask want = c == cell        ? 0
                                       : Peers(c, cell) ? kAllDigits & ~DigitBit(5)
                                                        : kAllDigits;
            EXPECT_EQ(s.Candidates[c], want) << cell << " " << c;
            cleared += Peers(c, cell);
        }
        EXPECT_EQ(cleared, 20);
        EXPECT_EQ(s.Board, CellValues{});
        EXPECT_TRUE(s.RemoveCandidate(6, (cell + 41) % kCells));
        EXPECT_FALSE(s.CandidateRemoved(6, (cell + 41) % kCells));
        EXPECT_FALSE(s.HasCandidate((cell + 41) % kCells, 6));
    }
}

}  // namespace
}  // namespace cluemill
