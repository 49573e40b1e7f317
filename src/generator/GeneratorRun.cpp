// SPDX-License-Identifier: MIT
// A generation run: the pattern's cells are filled by a depth-first
// enumeration in a shuffled order, and every complete, consistent filling is
// decided by UniqueModSud until the observer halts or the enumeration runs
// out.
#include <bit>
#include <utility>

#include "generator/Generator.h"

namespace cluemill {

namespace {

constexpr std::array<const char*, 5> kProblemTexts = {
    "", "A minimum of 20 clues is required !",
    "More than one empty row in the same band is not allowed !",
    "More than one empty column in the same stack is not allowed !",
    "More than four empty boxes are not allowed !"};

}  // namespace

PatternProblem CheckPattern(const Pattern& clues) {
    int count = 0;
    for (const bool clue : clues) count += clue ? 1 : 0;
    if (count < 20) return PatternProblem::TooFewClues;
    for (int b = 0; b < 3; ++b) {
        int rowMask = 0;
        int columnMask = 0;
        for (int cell = 0; cell < kCells; ++cell) {
            if (!clues[cell]) continue;
            if (cell / 9 / 3 == b) rowMask |= 1 << (cell / 9 % 3);
            if (cell % 9 / 3 == b) columnMask |= 1 << (cell % 9 % 3);
        }
        for (int k = 0; k < 3; ++k) {
            if (rowMask == 0 || rowMask == 1 << k) return PatternProblem::EmptyRows;
            if (columnMask == 0 || columnMask == 1 << k) return PatternProblem::EmptyColumns;
        }
    }
    int boxes = 0;
    for (int box = 0; box < 9; ++box) {
        bool used = false;
        for (int cell = 0; cell < kCells; ++cell)
            used = used || (clues[cell] && BoxOf(cell) == box);
        boxes += used ? 1 : 0;
    }
    return 9 - boxes > 4 ? PatternProblem::EmptyBoxes : PatternProblem::None;
}

const char* PatternProblemText(PatternProblem problem) {
    return kProblemTexts[static_cast<int>(problem)];
}

void RaiseCounter(PatternRecord& record, const AcceptedPuzzle& puzzle) {
    auto& counters = puzzle.Counter == PatternCounter::Minimal    ? record.Minimal
                     : puzzle.Counter == PatternCounter::Expanded ? record.Expanded
                                                                  : record.NotExpanded;
    ++counters[puzzle.Difficulty - 1];
}

std::string PuzzleLine(const AcceptedPuzzle& puzzle) {
    std::string line(kCells, '0');
    for (int cell = 0; cell < kCells; ++cell) {
        if (puzzle.Givens[cell] >= 1) line[cell] = static_cast<char>('0' + puzzle.Solution[cell]);
    }
    return line;
}

void Generator::CollectPattern(const Pattern& clues) {
    ClueCount = 0;
    Depth = -1;
    ClueCells.fill(0);
    for (int cell = 0; cell < kCells; ++cell) {
        if (clues[cell]) ClueCells[static_cast<std::size_t>(++Depth)] = cell;
    }
    ClueCount = Depth + 1;
}

void Generator::NewBase() {
    Depth = 0;
    Solver.Puzzle.fill(0);
    counts_.Rebuild(Solver.Puzzle);
    base_.DigitPos.fill(0);
    for (int p = 0; p < ClueCount; ++p) {
        base_.ClueOrder[p] = p;
        for (int d = 0; d <= 9; ++d) base_.DigitOrder[p][d] = d;
    }
    random_.Randomize();
    // Position 0 keeps the lowest clue cell: the swaps draw from 1 on.
    for (int swap = 0; swap < 100; ++swap) {
        const int a = 1 + static_cast<int>(random_.Random() * (ClueCount - 1));
        const int b = 1 + static_cast<int>(random_.Random() * (ClueCount - 1));
        std::swap(base_.ClueOrder[a], base_.ClueOrder[b]);
    }
    CellSet later;
    for (int p = ClueCount - 1; p >= 0; --p) {
        base_.LaterClues[p] = later;
        later = later | CellSet::Of(ClueCells[base_.ClueOrder[p]]);
    }
    for (int p = 0; p < ClueCount; ++p) {
        for (int swap = 0; swap < 50; ++swap) {
            const int a = 1 + static_cast<int>(9 * random_.Random());
            const int b = 1 + static_cast<int>(9 * random_.Random());
            std::swap(base_.DigitOrder[p][a], base_.DigitOrder[p][b]);
        }
    }
}

bool Generator::LaterCluesHaveRoom(int cell) const {
    bool room = true;
    (kPeerSets[cell] & base_.LaterClues[Depth]).ForEach([&](int later) {
        room = room && (Solver.Puzzle[later] != 0 || counts_.HasRoom(later));
    });
    return room;
}

RunEnd Generator::Run(const RunSettings& settings, RunObserver& observer) {
    settings_ = &settings;
    observer_ = &observer;
    NewCount.fill(0);
    CandidatesTried = 0;
    record_ = 0;
    if (!settings.RandomPatterns) CollectPattern(settings.Clues);
    for (;;) {
        // Renew the base.
        std::int32_t invalidCount = 0;
        if (observer.Poll()) return RunEnd::Halted;
        if (settings.RandomPatterns) {
            // A library pattern of fewer than two clues cannot be shuffled:
            // another one is drawn.
            do {
                random_.Randomize();
                record_ = 1 + static_cast<std::int32_t>(random_.Random() * settings.PatternCount);
                CollectPattern(observer.PatternOf(record_));
            } while (ClueCount < 2);
        }
        NewBase();

        // Enumerate the fillings of this base.
        for (bool renew = false; !renew;) {
            if (Depth == -1) return RunEnd::Exhausted;
            if (observer.Poll()) return RunEnd::Halted;
            const int cell = ClueCells[base_.ClueOrder[Depth]];
            int& position = base_.DigitPos[cell];
            position = (position + 1) % 10;
            const int digit = base_.DigitOrder[Depth][position];
            counts_.Change(cell, Solver.Puzzle[cell], digit);
            Solver.Puzzle[cell] = static_cast<std::int8_t>(digit);
            if (position == 0) {
                --Depth;
                continue;
            }
            if (CountNum(cell) != 3) continue;
            if (Depth < ClueCount - 1) {
                // A later clue cell of this cell's row, column or box left
                // with no digit can never be filled: no filling lies under
                // this digit, so the next one is tried here at once. The
                // fillings and their order stay the same; only placements
                // that lead nowhere are skipped.
                if (LaterCluesHaveRoom(cell)) ++Depth;
                continue;
            }
            // A complete filling: fewer than eight distinct digits cannot
            // make a unique puzzle and is not counted.
            unsigned used = 0;
            for (int i = 0; std::popcount(used) < 8 && i < ClueCount; ++i) {
                used |= 1u << Solver.Puzzle[ClueCells[i]];
            }
            if (std::popcount(used) >= 8) {
                ++CandidatesTried;
                if (UniqueModSud()) {
                    ++NewCount[Solver.Difficulty - 1];
                    observer.Accepted(LastAccepted());
                    renew = true;
                    continue;
                }
                observer.Rejected(invalidCount);
                if (++invalidCount == settings.RenewAfter) {
                    renew = true;
                    continue;
                }
            }
            if (++Depth == ClueCount) --Depth;
        }
    }
}

bool Generator::Decide(const CellValues& candidate, const RunSettings& settings,
                       RunObserver& observer) {
    settings_ = &settings;
    observer_ = &observer;
    record_ = 0;
    Pattern clues{};
    for (int cell = 0; cell < kCells; ++cell) clues[cell] = candidate[cell] > 0;
    CollectPattern(clues);
    Solver.Puzzle = candidate;
    return UniqueModSud();
}

AcceptedPuzzle Generator::LastAccepted() const {
    return {Solver.Puzzle, Solver.Board, Solver.Difficulty, lastCounter_, record_, lastByLogic_};
}

}  // namespace cluemill
