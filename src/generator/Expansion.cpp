// SPDX-License-Identifier: MIT
// Rescuing a candidate by adding one, two or three givens taken from its
// solution: every single open cell first, then every pair, then every triple,
// in a shuffled order; the first addition that makes the puzzle unique wins.
//
// Most trials cannot succeed, and most of those are told without a search.
// The added givens come from one solution S. Any other solution S' of the
// candidate is ruled out only by an added cell where S' differs from S, so
// the cells where S' differs form a set that every successful trial must
// hit. A trial is counted first: with another solution it fails whatever
// the options, and that solution, which solves the candidate too, gives one
// more set; only a trial with one solution goes on to UniqueSud, which
// grades it (under "Limited to Very Hard" it may still fail, giving no set).
// A trial that misses a set found so far is skipped. Only trials that must
// fail are skipped, so the first success, and with it the expansion and its
// class, is the one the plain order finds. A skipped trial still polls, as
// a failed one does: a halt is seen at the same moment, and a job's count of
// polls, which orders the puzzles of a seeded run of several jobs, stays
// what it was.
#include <utility>

#include "generator/Generator.h"
#include "solver/SolutionCounter.h"

namespace cluemill {

namespace {

// At most this many sets are kept; later ones are dropped, which only makes
// the filter less sharp. Every set comes from a trial that hit all the sets
// before it: a failed level-3 expansion of a 22-clue candidate keeps a few
// dozen.
constexpr int kMaxSets = 256;

// The sets of open cells that every successful trial must hit, one per other
// solution found.
class OtherSolutions {
  public:
    explicit OtherSolutions(CellSet open) : open_(open) {}

    // The cells one of which a trial holding `held` and one more cell must
    // add: the intersection of the sets that held misses (every open cell
    // when held hits them all).
    CellSet Needed(CellSet held) const {
        CellSet needed = open_;
        for (int k = 0; k < count_; ++k) {
            if ((sets_[k] & held).Empty()) needed = needed & sets_[k];
        }
        return needed;
    }
    void Add(CellSet differing) {
        if (count_ < kMaxSets) sets_[count_++] = differing;
    }

  private:
    CellSet open_;
    std::array<CellSet, kMaxSets> sets_;
    int count_ = 0;
};

CellSet Differing(const CellValues& a, const CellValues& b) {
    CellSet cells;
    for (int cell = 0; cell < kCells; ++cell) {
        if (a[cell] != b[cell]) cells = cells | CellSet::Of(cell);
    }
    return cells;
}

// The cells where a solution of the position (board, candidates) other than
// `solution` (one of its solutions) differs from it; empty when there is
// no other.
CellSet OtherSolution(const CellValues& board, CandidateGrid candidates,
                      const CellValues& solution) {
    CellValues found{};
    if (CountSolutions(board, candidates, found) < 2) return {};
    if (found != solution) return Differing(found, solution);
    // The counter met `solution` first: ask for one that differs from it in
    // one open cell after the other. A cell where none differs keeps its
    // digit for the later counts.
    for (int cell = 0; cell < kCells; ++cell) {
        if (board[cell] != 0 || CountDigits(candidates[cell]) < 2) continue;
        candidates.Clear(cell, solution[cell]);
        if (CountSolutions(board, candidates, found) > 0) return Differing(found, solution);
        candidates.Set(cell, DigitBit(solution[cell]));
    }
    return {};
}

// The grid `solution` with the cells of `open` emptied, and the candidates
// the filled cells leave them. A full grid holds every digit once in each
// unit, so a unit misses exactly the digits of its emptied cells.
void OpenUp(const CellValues& solution, CellSet open, CellValues& board,
            CandidateGrid& candidates) {
    board = solution;
    std::array<CandidateMask, kUnits> missing{};
    open.ForEach([&](int cell) {
        board[cell] = 0;
        const CandidateMask bit = DigitBit(solution[cell]);
        missing[RowOf(cell)] |= bit;
        missing[9 + ColumnOf(cell)] |= bit;
        missing[18 + BoxOf(cell)] |= bit;
    });
    std::array<CandidateMask, kCells> cells{};
    std::array<CellSet, 9> digits{};
    open.ForEach([&](int cell) {
        const auto mask = static_cast<CandidateMask>(
            missing[RowOf(cell)] & missing[9 + ColumnOf(cell)] & missing[18 + BoxOf(cell)]);
        cells[cell] = mask;
        for (unsigned m = mask; m != 0; m &= m - 1) {
            digits[std::countr_zero(m)] = digits[std::countr_zero(m)] | CellSet::Of(cell);
        }
    });
    candidates.Load(cells, digits);
}

// The cells where another solution of solver.Puzzle differs from
// `solution`, one of its solutions; empty when it has no other. Sets the
// solver up from its Puzzle.
//
// The fewer the cells, the more trials the set rules out, so the set is
// narrowed: its cells are given their digits of `solution` one at a time,
// with the rest of the set open and every other cell as in `solution`, and
// while another solution remains, it differs in fewer cells. Narrowing stops
// at the first cell that cannot be given its digit: going on to a set from
// which no cell can be dropped costs more counts than the trials it saves.
CellSet FewestDiffering(Solver& solver, const CellValues& solution) {
    solver.SetUpGivens();
    CellSet differing = OtherSolution(solver.Board, solver.Candidates, solution);
    const CellSet first = differing;
    CellValues board{};
    CandidateGrid candidates;
    bool narrowing = true;
    first.ForEach([&](int cell) {
        if (!narrowing || !differing.Contains(cell)) return;
        CellSet open = differing;
        open.Erase(cell);
        OpenUp(solution, open, board, candidates);
        const CellSet fewer = OtherSolution(board, candidates, solution);
        narrowing = !fewer.Empty();
        if (narrowing) differing = fewer;
    });
    return differing;
}

}  // namespace

bool Generator::ModifyTask() {
    const CellValues savedPuzzle = Solver.Puzzle;
    const CellValues savedBoard = Solver.Board;
    ExpandedPuzzle = savedPuzzle;
    std::array<int, kCells> openCells{};
    std::array<int, kCells + 1> order{};  // positions 1 to n, as the shuffle counts them
    int n = 0;
    CellSet open;
    for (int cell = 0; cell < kCells; ++cell) {
        if (savedPuzzle[cell] != 0) continue;
        openCells[n] = cell;
        open = open | CellSet::Of(cell);
        ++n;
        order[n] = n;
    }
    random_.Randomize();
    for (int swap = 0; swap < 100 && n > 0; ++swap) {
        const int a = 1 + static_cast<int>(random_.Random() * n);
        const int b = 1 + static_cast<int>(random_.Random() * n);
        std::swap(order[a], order[b]);
    }
    auto cellAt = [&](int k) { return openCells[order[k] - 1]; };
    auto restore = [&] {
        Solver.Puzzle = savedPuzzle;
        Solver.Board = savedBoard;
    };

    OtherSolutions others(open);
    // One trial: the cells held and the last one added, which must be among
    // the cells needed (Needed(held)) or the trial fails for sure. 1
    // accepted, -1 halted, 0 go on.
    auto trial = [&](CellSet held, int last, CellSet& needed) {
        if (needed.Contains(last)) {
            Solver.Puzzle = savedPuzzle;
            const CellSet added = held | CellSet::Of(last);
            added.ForEach([&](int cell) { Solver.Puzzle[cell] = savedBoard[cell]; });
            // A trial with another solution fails whatever the options; the
            // counter tells it sooner than UniqueSud, and hands the other
            // solution over. It agrees with S on the added cells, so its
            // set misses them: the cells needed narrow to it.
            const CellSet differing = FewestDiffering(Solver, savedBoard);
            if (!differing.Empty()) {
                others.Add(differing);
                needed = needed & differing;
            } else if (Solver.UniqueSud(Switches())) {
                added.ForEach([&](int cell) { ExpandedPuzzle[cell] = Solver.Puzzle[cell]; });
                restore();
                return 1;
            }
        }
        if (observer_->Poll()) {
            restore();
            return -1;
        }
        return 0;
    };

    observer_->Working(RunStage::ExpansionLevel1);
    CellSet needed = others.Needed({});
    for (int k1 = 1; k1 <= n; ++k1) {
        if (const int r = trial({}, cellAt(k1), needed)) return r > 0;
    }
    if (settings_->ExpandLevel == 1) {
        restore();
        return false;
    }
    observer_->Working(RunStage::ExpansionLevel2);
    for (int k1 = 1; k1 <= n - 1; ++k1) {
        const CellSet held = CellSet::Of(cellAt(k1));
        needed = others.Needed(held);
        for (int k2 = k1 + 1; k2 <= n; ++k2) {
            if (const int r = trial(held, cellAt(k2), needed)) return r > 0;
        }
    }
    if (settings_->ExpandLevel == 2) {
        restore();
        return false;
    }
    observer_->Working(RunStage::ExpansionLevel3);
    for (int k1 = 1; k1 <= n - 2; ++k1) {
        for (int k2 = k1 + 1; k2 <= n - 1; ++k2) {
            const CellSet held = CellSet::Of(cellAt(k1)) | CellSet::Of(cellAt(k2));
            needed = others.Needed(held);
            for (int k3 = k2 + 1; k3 <= n; ++k3) {
                if (const int r = trial(held, cellAt(k3), needed)) return r > 0;
            }
        }
    }
    restore();
    observer_->Working(RunStage::ExpansionFailed);
    return false;
}

}  // namespace cluemill
