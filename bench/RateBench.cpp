// SPDX-License-Identifier: MIT
//
// Solver throughput on the puzzle collections of the shared bench folder.
// Each benchmark loads its collection once; an iteration solves every puzzle
// of it, and items_per_second is puzzles per second. See bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "solver/Solver.h"
#include "tester/PuzzleText.h"

namespace {

namespace fs = std::filesystem;

#ifndef CLUEMILL_BENCH_DATA
#define CLUEMILL_BENCH_DATA ""
#endif

// The folder of the collections: $CLUEMILL_BENCH_DATA if set, else the path
// compiled in.
fs::path DataFolder() {
    if (const char* env = std::getenv("CLUEMILL_BENCH_DATA"); env != nullptr && *env != '\0') {
        return fs::path(env);
    }
    return fs::path(CLUEMILL_BENCH_DATA);
}

struct Corpus {
    std::string Name;  // file name without ".txt"
    std::vector<cluemill::CellValues> Puzzles;
    std::string Error;  // why the benchmark is skipped; empty when loaded
};

// Reads one puzzle per line the way `cluemill-cli rate` does (empty lines,
// '#' lines and lines under 81 characters skipped), keeping only puzzles the
// solver is actually run on: no conflicting givens and at least one empty cell.
Corpus LoadCorpus(const fs::path& folder, const std::string& name) {
    Corpus corpus;
    corpus.Name = name;
    const fs::path file = folder / (name + ".txt");
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        corpus.Error = "cannot open " + file.string();
        return corpus;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#' || line.size() < cluemill::kCells) continue;
        const cluemill::CellValues puzzle = cluemill::ReadPuzzleText(line);
        if (cluemill::GivensConflict(puzzle) || cluemill::CountEmptyCells(puzzle) == 0) continue;
        corpus.Puzzles.push_back(puzzle);
    }
    if (corpus.Puzzles.empty()) corpus.Error = "no puzzle to solve in " + file.string();
    return corpus;
}

// The whole rating of a puzzle, as `cluemill-cli rate` runs it: logic pass,
// then the solution-counting search when the logic pass does not finish.
void BM_UniqueSud(benchmark::State& state, const Corpus* corpus) {
    if (!corpus->Error.empty()) {
        state.SkipWithError(corpus->Error.c_str());
        return;
    }
    cluemill::Solver solver;
    for (auto _ : state) {
        for (const auto& puzzle : corpus->Puzzles) {
            solver.Puzzle = puzzle;
            bool unique = solver.UniqueSud(cluemill::SearchSwitches{});
            benchmark::DoNotOptimize(unique);
        }
        benchmark::ClobberMemory();
    }
    const auto count = static_cast<std::int64_t>(corpus->Puzzles.size());
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["puzzles"] = static_cast<double>(count);
}

// The logic pass alone: givens set up, then the techniques until the grid is
// complete, a dead end is met or nothing applies. No search.
void BM_LogicPass(benchmark::State& state, const Corpus* corpus) {
    if (!corpus->Error.empty()) {
        state.SkipWithError(corpus->Error.c_str());
        return;
    }
    cluemill::Solver solver;
    for (auto _ : state) {
        for (const auto& puzzle : corpus->Puzzles) {
            solver.Puzzle = puzzle;
            int open = solver.SetUpGivens();
            solver.Difficulty = 0;
            bool solved = solver.PreSolve(open);
            benchmark::DoNotOptimize(solved);
            benchmark::DoNotOptimize(open);
        }
        benchmark::ClobberMemory();
    }
    const auto count = static_cast<std::int64_t>(corpus->Puzzles.size());
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["puzzles"] = static_cast<double>(count);
}

// Loads the collections (once, before any timing) and registers the
// benchmarks; runs before main, so BENCHMARK_MAIN needs nothing more.
const std::vector<Corpus>& RegisterAll() {
    static const std::vector<Corpus> corpora = [] {
        const fs::path folder = DataFolder();
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) {
            std::cerr << "cluemill_bench: the puzzle folder " << folder.string()
                      << " is missing; every benchmark is skipped.\n"
                      << "Put the collections there, or set CLUEMILL_BENCH_DATA to their folder.\n";
        }
        std::vector<Corpus> loaded;
        for (const char* name :
             {"qqwing-2000", "top1465", "17clue_every10th", "serg_benchmark_every2nd",
              "candidates-22", "candidates-26", "candidates-30"}) {
            loaded.push_back(LoadCorpus(folder, name));
        }
        return loaded;
    }();
    for (const auto& corpus : corpora) {
        benchmark::RegisterBenchmark(("UniqueSud/" + corpus.Name).c_str(), BM_UniqueSud, &corpus)
            ->Unit(benchmark::kMillisecond);
    }
    for (const auto& corpus : corpora) {
        if (corpus.Name != "qqwing-2000" && corpus.Name != "top1465") continue;
        benchmark::RegisterBenchmark(("LogicPass/" + corpus.Name).c_str(), BM_LogicPass, &corpus)
            ->Unit(benchmark::kMillisecond);
    }
    return corpora;
}

[[maybe_unused]] const std::vector<Corpus>& kRegistered = RegisterAll();

}  // namespace

BENCHMARK_MAIN();
