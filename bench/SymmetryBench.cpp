// SPDX-License-Identifier: MIT
//
// Pattern symmetry: canonical forms of puzzles on patterns with small
// automorphism groups, the group computation itself (random puzzle patterns,
// the empty and the full pattern), and the form of a whole grid, whose group
// is every grid map. items_per_second is forms or groups per second.
//
//   cmake --build build --target cluemill_symmetry_bench
//   build/bench/cluemill_symmetry_bench --benchmark_filter=CanonicalForm
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "patterns/Symmetry.h"

namespace {

using cluemill::CellValues;
using cluemill::Pattern;
using cluemill::PatternSymmetry;

constexpr int kBatch = 1024;

// Patterns of 22 to 24 clues whose groups have 1, 2, 4 and 8 maps.
const char* PatternWithGroup(int size) {
    switch (size) {
        case 1:
            return "...XX......X..............X..X...XX.X....X.....X....X.....XX...X....X......X.X."
                   ".X";
        case 2:
            return "..X.XX..X...XX........X.....X....X.....X.X.....X....X.....X........XX...X..XX."
                   "X..";
        case 4:
            return ".....X.X.X...XX......X.....XX..X.X...X.X.X.X...X.X..XX.....X......XX...X.X.X..."
                   "..";
        default:
            return "X..........XXXX.X..X........X...X.X..X.....X..X.X...X........X..X.XXXX........."
                   ".X";
    }
}

Pattern Cells(const std::string& text) {
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = text[cell] == 'X';
    return clues;
}

// Random digits on the clue cells; a form does not need a valid puzzle.
std::vector<CellValues> Puzzles(const Pattern& clues, std::mt19937& random) {
    std::vector<CellValues> puzzles(kBatch);
    for (auto& puzzle : puzzles) {
        for (int cell = 0; cell < 81; ++cell)
            if (clues[cell]) puzzle[cell] = static_cast<std::int8_t>(1 + random() % 9);
    }
    return puzzles;
}

// Random patterns of 17 to 30 clues, as puzzles bring them.
std::vector<Pattern> PuzzlePatterns(std::mt19937& random) {
    std::vector<Pattern> patterns(kBatch);
    for (auto& clues : patterns) {
        const int count = 17 + static_cast<int>(random() % 14);
        for (int placed = 0; placed < count;) {
            const auto cell = random() % 81;
            if (clues[cell]) continue;
            clues[cell] = true;
            ++placed;
        }
    }
    return patterns;
}

void CanonicalForm(benchmark::State& state) {
    std::mt19937 random(1);
    const Pattern clues = Cells(PatternWithGroup(static_cast<int>(state.range(0))));
    const PatternSymmetry symmetry(clues);
    const std::vector<CellValues> puzzles = Puzzles(clues, random);
    for (auto _ : state) {
        for (const auto& puzzle : puzzles) benchmark::DoNotOptimize(symmetry.CanonicalForm(puzzle));
    }
    state.counters["group"] = static_cast<double>(symmetry.GroupSize());
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(CanonicalForm)->Arg(1)->Arg(2)->Arg(4)->Arg(8);

// The group of every pattern anew, then one form: what a puzzle of its own
// pattern costs.
void GroupAndForm(benchmark::State& state) {
    std::mt19937 random(2);
    std::vector<CellValues> puzzles;
    for (const Pattern& clues : PuzzlePatterns(random))
        puzzles.push_back(Puzzles(clues, random)[0]);
    for (auto _ : state) {
        for (const auto& puzzle : puzzles)
            benchmark::DoNotOptimize(cluemill::CanonicalForm(puzzle));
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(GroupAndForm);

// 0: random puzzle patterns; 1: the empty pattern; 2: all 81 cells.
void PatternGroup(benchmark::State& state) {
    std::mt19937 random(3);
    std::vector<Pattern> patterns = PuzzlePatterns(random);
    if (state.range(0) > 0)
        patterns.assign(1, Cells(std::string(81, state.range(0) == 1 ? '.' : 'X')));
    for (auto _ : state) {
        for (const auto& clues : patterns)
            benchmark::DoNotOptimize(PatternSymmetry(clues).GroupSize());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patterns.size()));
}
BENCHMARK(PatternGroup)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A solution grid, so regular that many maps tie with the smallest form and
// are compared to the end: 3,359,232 automorphisms.
void FullGridForm(benchmark::State& state) {
    CellValues grid{};
    for (int cell = 0; cell < 81; ++cell) {
        const int r = cell / 9;
        grid[cell] = static_cast<std::int8_t>((r * 3 + r / 3 + cell % 9) % 9 + 1);
    }
    for (auto _ : state) benchmark::DoNotOptimize(cluemill::CanonicalForm(grid));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FullGridForm)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
