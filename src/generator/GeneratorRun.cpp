// SPDX-License-Identifier: MIT
// A generation run: the pattern's cells are filled by a depth-first
// enumeration in a shuffled order, and every complete, consistent filling is
// handed to UniqueModSud until the user halts or the enumeration runs out.
#include <bit>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/Main.h"
#include "generator/UnitCounts.h"
#include "output/Inventory.h"

namespace cluemill {

namespace {

constexpr std::array<const char*, 4> kSeeking = {"Cluemill - Seeking", "Cluemill - Seeking >",
                                                 "Cluemill - Seeking > >",
                                                 "Cluemill - Seeking > > >"};

}  // namespace

int Main::CountNum(int cellIndex) const {
    const CellValues& puzzle = Solver.Puzzle;
    const int d = puzzle[cellIndex];
    const int r = cellIndex / 9;
    const int c = cellIndex % 9;
    int n = 0;
    for (int j = 0; j < 9; ++j) n += puzzle[r * 9 + j] == d ? 1 : 0;
    if (n != 1) return 0;
    for (int j = 0; j < 9; ++j) n += puzzle[c + 9 * j] == d ? 1 : 0;
    if (n != 2) return 0;
    const int box = 27 * (r / 3) + 3 * (c / 3);
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) n += puzzle[box + 9 * a + b] == d ? 1 : 0;
    }
    return n;
}

void Main::ShowCounts() {
    for (int k = 0; k < 6; ++k) {
        Form.StatusBar.Panels[k] =
            kPanelLabels[k] + std::to_string(StoredCount[k]) + " +" + std::to_string(NewCount[k]);
    }
}

void Main::CollectPattern() {
    ClueCount = 0;
    Depth = -1;
    for (int i = 0; i < kCells; ++i) {
        Form.Grid[i].ForeColor = kBlack;
        Form.Grid[i].Caption.clear();
        ClueCells[i] = 0;
        if (Form.Grid[i].BackColor == kRed) {
            ++Depth;
            ClueCells[Depth] = i;
            ++ClueCount;
        }
    }
}

std::string Main::PatternProblem() const {
    if (ClueCount < 20) return "A minimum of 20 clues is required !";
    for (int b = 0; b < 3; ++b) {
        int rowMask = 0;
        int columnMask = 0;
        for (int i = 0; i < ClueCount; ++i) {
            const int cell = ClueCells[i];
            if (cell / 9 / 3 == b) rowMask |= 1 << (cell / 9 % 3);
            if (cell % 9 / 3 == b) columnMask |= 1 << (cell % 9 % 3);
        }
        for (int k = 0; k < 3; ++k) {
            if (rowMask == 0 || rowMask == 1 << k)
                return "More than one empty row in the same band is not allowed !";
            if (columnMask == 0 || columnMask == 1 << k) {
                return "More than one empty column in the same stack is not allowed !";
            }
        }
    }
    int boxes = 0;
    for (int box = 0; box < 9; ++box) {
        bool used = false;
        for (int i = 0; i < ClueCount; ++i) used |= BoxOf(ClueCells[i]) == box;
        boxes += used ? 1 : 0;
    }
    if (9 - boxes > 4) return "More than four empty boxes are not allowed !";
    return {};
}

void Main::CommandGenerate_Click() {
    if (StartRun()) EndRun(Run());
}

bool Main::StartRun() {
    for (auto& cell : Form.Grid) {
        cell.Caption.clear();
        Platform.Refresh(cell);
    }
    Form.Main.Caption = "Cluemill";
    NewCount.fill(0);
    ShowCounts();

    const bool randomPatterns = Form.CheckRandomPattern.Value == 1;
    if (!randomPatterns) {
        CollectPattern();
        if (const std::string problem = PatternProblem(); !problem.empty()) {
            Platform.MessageBox(problem, "Cluemill");
            return false;
        }
        const std::string code = EncodeGrid();
        Form.PatternName.Caption = "Pattern name: " + code;
        Library.PatternRec = PatternRecord{};
        Library.PatternRec.PatternCode = code;
        if (const std::int32_t k = Library.FindPattern(code); k > 0) {
            Library.PatternRec = Library.ReadPatternRecord(k);
            Library.CurrentPattern = k;
        } else {
            const std::int32_t added = Library.AppendPattern(Library.PatternRec);
            Library.CurrentPattern = added > 0 ? added : Library.PatternCount;
        }
        DisplayPerformance();
        Form.PreviousPattern.Enabled = Library.CurrentPattern > 1;
        Form.NextPattern.Enabled = Library.CurrentPattern < Library.PatternCount;
        Form.PickPattern.Enabled = Library.PatternCount > 0;
    } else if (!RandomPatternsUsable()) {
        Platform.MessageBox(
            "\"Random patterns\" needs a library pattern of at least two clues: draw a pattern and "
            "generate "
            "from it first, or untick \"Random patterns\".",
            "Cluemill");
        return false;
    }

    SaveGUI();
    DisableGUI();
    CandidatesTried = 0;
    Generating = true;
    HaltRequested = false;
    Form.CommandHalt.Visible = true;
    Form.CommandGenerate.Visible = false;
    return true;
}

void Main::EndRun(bool halted) {
    Form.CommandGenerate.Visible = true;
    Form.CommandHalt.Visible = false;
    Platform.MessageBox(halted ? "Generator halted" : "All clue-grids generated", "Cluemill");
    Generating = false;
    RestoreGUI();
}

bool Main::RandomPatternsUsable() {
    for (std::int32_t k = 1; k <= Library.PatternCount; ++k) {
        const Pattern clues = DecodePattern(Library.ReadPatternRecord(k).PatternCode);
        int count = 0;
        for (const bool clue : clues) count += clue ? 1 : 0;
        if (count >= 2) return true;
    }
    return false;
}

bool Main::Run() {
    std::array<int, kCells> clueOrder{};
    std::array<std::array<int, 10>, kCells> digitOrder{};
    std::array<int, kCells> digitPos{};
    std::int32_t invalidCount = 0;
    // CountNum of the enumeration, from counts that follow Puzzle. A
    // rejected candidate leaves Puzzle as it was handed over.
    UnitCounts counts;
    // Per position of the clue order, the clue cells of the positions after it.
    std::array<CellSet, kCells> laterClues{};
    // Whether every later clue cell in a row, column or box of cell can
    // still take a digit.
    const auto laterCluesHaveRoom = [&](int cell) {
        bool room = true;
        (kPeerSets[cell] & laterClues[Depth]).ForEach([&](int later) {
            room = room && (Solver.Puzzle[later] != 0 || counts.HasRoom(later));
        });
        return room;
    };

    for (;;) {
        // Renew the base.
        invalidCount = 0;
        Platform.DoEvents();
        if (HaltRequested) return true;
        if (Form.CheckRandomPattern.Value == 1) {
            // A library pattern of fewer than two clues cannot be shuffled:
            // another one is drawn.
            do {
                Platform.Randomize();
                Library.CurrentPattern =
                    1 + static_cast<std::int32_t>(Platform.Random() * Library.PatternCount);
                DisplayPattern();
                DisplayPerformance();
                CollectPattern();
            } while (ClueCount < 2);
        }
        Depth = 0;
        Solver.Puzzle.fill(0);
        counts.Rebuild(Solver.Puzzle);
        digitPos.fill(0);
        for (int p = 0; p < ClueCount; ++p) {
            clueOrder[p] = p;
            for (int d = 0; d <= 9; ++d) digitOrder[p][d] = d;
        }
        Platform.Randomize();
        // Position 0 keeps the lowest clue cell: the swaps draw from 1 on.
        for (int swap = 0; swap < 100; ++swap) {
            const int a = 1 + static_cast<int>(Platform.Random() * (ClueCount - 1));
            const int b = 1 + static_cast<int>(Platform.Random() * (ClueCount - 1));
            std::swap(clueOrder[a], clueOrder[b]);
        }
        CellSet later;
        for (int p = ClueCount - 1; p >= 0; --p) {
            laterClues[p] = later;
            later = later | CellSet::Of(ClueCells[clueOrder[p]]);
        }
        for (int p = 0; p < ClueCount; ++p) {
            for (int swap = 0; swap < 50; ++swap) {
                const int a = 1 + static_cast<int>(9 * Platform.Random());
                const int b = 1 + static_cast<int>(9 * Platform.Random());
                std::swap(digitOrder[p][a], digitOrder[p][b]);
            }
        }

        // Enumerate the fillings of this base.
        bool renew = false;
        while (!renew) {
            if (Depth == -1) return false;
            Platform.DoEvents();
            if (HaltRequested) return true;
            const int cell = ClueCells[clueOrder[Depth]];
            digitPos[cell] = (digitPos[cell] + 1) % 10;
            const int digit = digitOrder[Depth][digitPos[cell]];
            counts.Change(cell, Solver.Puzzle[cell], digit);
            Solver.Puzzle[cell] = static_cast<std::int8_t>(digit);
            if (digitPos[cell] == 0) {
                --Depth;
                continue;
            }
            if (counts.CountNum(cell, digit) != 3) continue;
            if (Depth < ClueCount - 1) {
                // A later clue cell of this cell's row, column or box left
                // with no digit can never be filled: no filling lies under
                // this digit, so the next one is tried here at once. The
                // fillings and their order stay the same; only placements
                // that lead nowhere are skipped.
                if (!laterCluesHaveRoom(cell)) continue;
                ++Depth;
                continue;
            }
            // A complete filling: fewer than eight distinct digits cannot
            // make a unique puzzle and is not counted.
            unsigned used = 0;
            for (int i = 0; std::popcount(used) < 8 && i < ClueCount; ++i)
                used |= 1u << Solver.Puzzle[ClueCells[i]];
            if (std::popcount(used) >= 8) {
                ++CandidatesTried;
                if (UniqueModSud()) {
                    ++StoredCount[Solver.Difficulty - 1];
                    ++NewCount[Solver.Difficulty - 1];
                    ShowCounts();
                    Form.Main.Caption = "Cluemill";
                    if (OnAccepted) OnAccepted();
                    renew = true;
                    continue;
                }
                Form.Main.Caption = kSeeking[invalidCount % 4];
                if (++invalidCount == RenewAfter) {
                    renew = true;
                    continue;
                }
            }
            if (++Depth == ClueCount) --Depth;
        }
    }
}

void Main::CommandHalt_Click() {
    HaltRequested = true;
}

void Main::Combo1_Click() {
    try {
        RenewAfter = std::stoi(Form.Combo1.Text());
    } catch (const std::exception&) {
        // No entry selected: the setting stays as it was.
    }
}

void Main::Option1_Click(int index) {
    ExpandLevel = index;
}

void Main::CheckRandomPattern_Click() {
    if (Form.CheckRandomPattern.Value == 1) {
        SavePatternEditor();
        DisablePatternEditor();
    } else {
        RestorePatternEditor();
    }
}

}  // namespace cluemill
