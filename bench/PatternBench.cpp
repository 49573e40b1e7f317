// SPDX-License-Identifier: MIT
//
// The pattern library at scale: a page of the picker repainted from
// libraries of growing size, and `cluemill-cli patterns import --yes` over a
// file of 10,000 puzzles that all bring a new pattern. See bench/README.md.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "output/Performance.h"
#include "patterns/Picker.h"

namespace {

namespace fs = std::filesystem;
using cluemill::Pattern;

fs::path BenchFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("cluemill_bench_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Pattern i: a symmetric 20-clue base with one added pair of cells (c, 80 - c)
// per bit of i, so that every pattern differs and each suits the import.
Pattern SuitablePattern(int i) {
    static constexpr const char* kBase =
        "X...X...X.X.....X....X.X...X.......X..X...X..X.......X...X.X....X.....X.X...X...X";
    Pattern clues{};
    for (int cell = 0; cell < 81; ++cell) clues[cell] = kBase[cell] == 'X';
    int bit = 0;
    for (int cell = 0; cell < 40 && (i >> bit) != 0; ++cell) {
        if (clues[cell]) continue;
        if ((i >> bit & 1) != 0) clues[cell] = clues[80 - cell] = true;
        ++bit;
    }
    return clues;
}

void WriteLibrary(const fs::path& folder, int count) {
    std::ofstream out(folder / "Patterns.rec", std::ios::binary);
    for (int k = 0; k < count; ++k) {
        cluemill::PatternRecord record;
        record.PatternCode = cluemill::EncodePattern(SuitablePattern(k));
        record.NotExpanded[0] = k;
        const auto bytes = cluemill::ToBytes(record);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
}

// One page of 88 thumbnails, each read from its record, with the grid, the
// cursor and the statistics of the highlighted pattern: what every key
// press in the picker costs. The page shown is the middle one.
void PaintPickPage(benchmark::State& state) {
    const int patterns = static_cast<int>(state.range(0));
    const fs::path folder = BenchFolder("picker");
    WriteLibrary(folder, patterns);
    cluemill::PatternLibrary library;
    library.File = folder / "Patterns.rec";
    library.Count();
    cluemill::Picker picker;
    picker.Layout(library.PatternCount);
    picker.PickPage = picker.PickPages / 2;
    for (auto _ : state) {
        picker.PaintPage(library);
        picker.DrawFrame(cluemill::Picker::kPaletteWhite);
        const auto record =
            library.ReadPatternRecord(static_cast<std::int32_t>(picker.Highlighted() + 1));
        benchmark::DoNotOptimize(cluemill::PerformanceLines(record.NotExpanded, false, '.'));
        benchmark::DoNotOptimize(picker.Canvas().Pixel(8, 8));
    }
    state.SetItemsProcessed(state.iterations());
    fs::remove_all(folder);
}
BENCHMARK(PaintPickPage)->Arg(88)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond);

void ImportYes(benchmark::State& state) {
    const int puzzles = static_cast<int>(state.range(0));
    const fs::path folder = BenchFolder("import");
    const fs::path file = folder / "puzzles.sds";
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < puzzles; ++i) {
            std::string record(166, '\0');
            const Pattern clues = SuitablePattern(i);
            for (int cell = 0; cell < 81; ++cell)
                record[cell] = clues[cell] ? static_cast<char>(1 + cell % 9) : '\0';
            out << record;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / "Patterns.rec");
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        state.ResumeTiming();
        const int status = cluemill::RunCli(
            {"patterns", "--data-dir", folder.string(), "import", file.string(), "--yes"}, in, out,
            err);
        if (status != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * puzzles);
    fs::remove_all(folder);
}
BENCHMARK(ImportYes)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
