// SPDX-License-Identifier: MIT
#include "cli/SheetCommand.h"

#include <ostream>

#ifdef CLUEMILL_HAVE_SHEETS
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <istream>
#include <optional>

#include "cli/Options.h"
#include "cli/PuzzleLines.h"
#include "sheets/SheetJob.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"
#endif

namespace cluemill {

#ifdef CLUEMILL_HAVE_SHEETS

namespace {

const Command kSheet = {
    "sheet",
    "[FILE] --output OUT [--per-page 1|2|4|6] [--solutions]\n"
    "                          [--title TEXT] [--page a4|letter] [--grade]",
    "Prints the puzzles of FILE, or of standard input when no FILE is given, on\n"
    "printable pages: each puzzle as a grid with its givens and its number, 1, 2,\n"
    "... in input order. Puzzle lines are read as by 'rate': characters 1 to 81\n"
    "are the cells row by row, \"1\" to \"9\" a given and any other character an\n"
    "empty cell; empty lines and lines beginning with '#' are skipped. The names\n"
    "of the files written are printed, one a line.\n",
    {{"--output", "OUT",
      "the file to write; its extension chooses the format: .pdf (every page in one file), "
      ".svg (one file per page) or .png (one picture per page, 300 dpi). SVG and PNG pages "
      "of a sheet of several pages go to NAME-1.EXT, NAME-2.EXT, ... beside OUT",
      1, 0},
     {"--per-page", "N", "puzzles on a page: 1, 2, 4 (default) or 6", 1, 6},
     {"--solutions", nullptr, "the solutions follow on pages of their own, nine to a page"},
     {"--title", "TEXT", "a title at the top of every page", 1, 0},
     {"--page", "PAPER", "a4 (default) or letter", 1, 0},
     {"--grade", nullptr,
      "each puzzle's class beside it: Very Easy, Easy, Medium, Hard, Very Hard or Others"}},
    1,
    "\nA puzzle line that cannot be printed is reported on standard error and\n"
    "skipped, and the exit status is then 1:\n"
    "  line N: a puzzle needs 81 characters\n"
    "  line N: two givens share a digit in a row, column or box\n"
    "  line N: the puzzle has no unique solution\n"
    "With nothing left to print no file is written (exit status 1). A file that\n"
    "cannot be written is named (exit status 1). Exit status 0 otherwise, 2 on\n"
    "a usage error.\n",
};

// The sheet's options from the parsed arguments; what is wrong with them,
// or nothing.
std::string SheetOptionsOf(const Arguments& arguments, SheetOptions& options) {
    const std::int64_t perPage = arguments.Number("--per-page", 4);
    if (perPage == 3 || perPage == 5) return "--per-page takes 1, 2, 4 or 6";
    options.PerPage = static_cast<int>(perPage);
    options.Solutions = arguments.Has("--solutions");
    options.Title = arguments.Text("--title");
    std::string page = arguments.Text("--page", "a4");
    std::transform(page.begin(), page.end(), page.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (page != "a4" && page != "letter") return "--page takes a4 or letter";
    options.Page = page == "a4" ? SheetOptions::Paper::A4 : SheetOptions::Paper::Letter;
    if (!arguments.Has("--output")) return "--output OUT is needed";
    if (!SheetFormatOf(arguments.Text("--output"))) return "OUT must end in .pdf, .svg or .png";
    return {};
}

// The puzzles of in that a solver finishes, numbered from 1; every other
// line is reported on err. Returns the exit status of the reading: 0, 1
// after a line skipped, 2 after a read error.
int ReadSheetPuzzles(std::istream& in, bool grade, std::ostream& err,
                     std::vector<SheetPuzzle>& puzzles) {
    const auto solver = std::make_unique<Solver>();
    bool skipped = false;
    const int status = ReadPuzzleLines(
        in, "sheet",
        [&](const std::string& line, long long number) {
            if (const char* problem =
                    AddSheetPuzzle(*solver, ReadPuzzleText(line), grade, puzzles)) {
                err << "line " << number << ": " << problem << '\n';
                skipped = true;
            }
        },
        [&](const std::string& text) { err << text; });
    return status == 0 && skipped ? 1 : status;
}

// The renderer's entry point from the module cluemill-sheet.so: beside the
// program (in the build), where it is installed (found from the program's
// folder), or in the build folder (for the build's other programs, as the
// tests).
// Nothing when none loads; why goes to err.
SheetEntry LoadRenderer(std::ostream& err) {
    std::vector<std::string> places;
    std::error_code ignored;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ignored);
    if (!exe.empty()) {
        places.push_back((exe.parent_path() / "cluemill-sheet.so").string());
        places.push_back((exe.parent_path() / CLUEMILL_SHEET_MODULE_INSTALLED).string());
    }
    places.push_back(CLUEMILL_SHEET_MODULE_BUILT);
    std::string why;
    for (const std::string& place : places) {
        if (access(place.c_str(), R_OK) != 0) continue;
        // Kept loaded: Qt's libraries do not like being unloaded.
        if (void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (void* entry = dlsym(module, kSheetEntry)) {
                return reinterpret_cast<SheetEntry>(entry);
            }
        }
        why = dlerror();
    }
    err << "cluemill-cli sheet: the renderer cluemill-sheet.so cannot be loaded"
        << (why.empty() ? std::string(" (not found)") : ": " + why) << '\n';
    return nullptr;
}

}  // namespace

int RunSheet(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kSheet, args, arguments, out, err); status >= 0) {
        return status;
    }
    SheetOptions options;
    if (const std::string problem = SheetOptionsOf(arguments, options); !problem.empty()) {
        err << "cluemill-cli sheet: " << problem << "\n\n" << CommandHelp(kSheet);
        return kExitUsage;
    }
    const std::string output = arguments.Text("--output");
    const std::string file = arguments.Operands().empty() ? "" : arguments.Operands()[0];
    std::vector<SheetPuzzle> puzzles;
    const int status = ReadInput(file, in, err, "sheet", [&](std::istream& input) {
        return ReadSheetPuzzles(input, arguments.Has("--grade"), err, puzzles);
    });
    if (status == 2) return status;
    if (puzzles.empty()) {
        err << "cluemill-cli sheet: no puzzle to print; nothing written\n";
        return 1;
    }
    const SheetEntry write = LoadRenderer(err);
    if (write == nullptr) return kExitUsage;
    SheetJob job{std::move(puzzles), options, output, *SheetFormatOf(output), {}, {}};
    write(&job);
    for (const std::string& name : job.Written) out << name << '\n';
    if (!job.Failed.empty()) {
        err << "cluemill-cli sheet: cannot write '" << job.Failed << "'\n";
        return kExitSomeFailed;
    }
    return status;
}

#else

int RunSheet(const std::vector<std::string>&, std::istream&, std::ostream&, std::ostream& err) {
    err << "cluemill-cli sheet: this cluemill-cli was built without Qt; sheets need Qt 6 "
           "(build with CLUEMILL_BUILD_GUI=ON)\n";
    return 2;
}

#endif

}  // namespace cluemill
