// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <system_error>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "cli/PuzzleLines.h"
#include "cli/RunOptions.h"
#include "output/PuzzleFormats.h"
#include "patterns/PatternImport.h"
#include "patterns/PatternLibrary.h"
#include "patterns/Symmetry.h"

namespace cluemill {

namespace {

const Command kPatterns = {
    "patterns",
    "[--data-dir DIR] COMMAND",
    "The pattern library Patterns.rec in the data folder DIR (default: the\n"
    "program's folder when it can be written, else ~/.local/share/cluemill).\n"
    "\n"
    "Commands:\n"
    "  list [--long]      one line per record: number, code and the eighteen\n"
    "                    counters (Not Expanded, Expanded, Minimal; each Very\n"
    "                    Easy to Others), separated by TABs; --long adds the\n"
    "                    clue count, the symmetry, the puzzles recorded and\n"
    "                    each class's share of them in %\n"
    "  show N            pattern N as nine lines of 'X' (clue) and '.'\n"
    "  add CODE|LINE81   append the pattern unless the library has it; prints\n"
    "                    its record number\n"
    "  encode [LINE81..] the code of each pattern line (standard input when\n"
    "                    none is given)\n"
    "  decode [CODE..]   the pattern line of each code, 'X' for a clue\n"
    "  forecast CODE|LINE81 [--seconds S] [--jobs N] [--minimal] [--limit]\n"
    "           [--expand N] [--seed S] [--candidates N]\n"
    "                    run the generator on the pattern for S seconds (default\n"
    "                    5), writing nothing, and tell what a run will give: per\n"
    "                    class the share of candidates accepted and the puzzles an\n"
    "                    hour with their 95% intervals, and the wait for the first\n"
    "                    puzzle; last a line 'accepted-per-hour EST LOW HIGH'. A\n"
    "                    pattern the generator refuses is refused (exit status 2)\n"
    "  import FILE.sds [--yes | --dry-run]\n"
    "                    walk the puzzles of a Tavix Sudoku file and offer each\n"
    "                    new pattern that suits the generator (at least 20\n"
    "                    clues, symmetric under a half turn, the centre a clue\n"
    "                    exactly when the count is odd, clues in two lines of\n"
    "                    every band and stack, at most four empty boxes); asks\n"
    "                    y(es), n(o) or c(ancel) for each on the terminal.\n"
    "                    Prints a line per offered pattern: the puzzle's\n"
    "                    number in the file, the code and, when appended, the\n"
    "                    record number.\n"
    "\n"
    "A pattern line has 81 characters, one per cell row by row; '1' to '9',\n"
    "'X', 'x', '#' and '*' mark a clue, any other character an empty cell.\n"
    "A code has 22 hexadecimal digits and begins with 00 or 01. A bad code or\n"
    "line is refused with exit status 2.\n",
    {{"--data-dir", "DIR", "the folder of Patterns.rec", 1, 0},
     {"--yes", nullptr, "import: append every pattern offered"},
     {"--dry-run", nullptr, "import: append nothing, and name each pattern once"},
     {"--long", nullptr, "list: the clue count, symmetry and class shares too"},
     {"--seconds", "S", "forecast: sample for S seconds (default 5)", 1, 86400},
     {"--candidates", "N", "forecast: sample N candidates a job instead", 1, INT64_MAX},
     {"--jobs", "N", "forecast: N runs side by side (default: one per core)", 1, 256},
     kMinimalOption,
     kLimitOption,
     kExpandOption,
     {"--seed", "S", "forecast: a fixed seed for the sample", 0, INT64_MAX}},
    SIZE_MAX,
};

// Each operand, or else each non-empty line of in; with comments set, lines
// beginning with '#' are skipped (a pattern line may begin with '#', a clue).
int ForEachInput(const std::vector<std::string>& items, std::istream& in, bool comments,
                 const std::function<bool(const std::string&)>& each) {
    if (!items.empty()) {
        for (const auto& item : items) {
            if (!each(item)) return 2;
        }
        return 0;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || (comments && line.front() == '#')) continue;
        if (!each(line)) return 2;
    }
    return 0;
}

enum class ImportMode { Ask, Yes, DryRun };

// The import's walk over a native puzzle file, answered on the terminal or
// by the mode.
int ImportPatterns(PatternLibrary& library, const std::string& fileName, ImportMode mode,
                   std::istream& in, std::ostream& out, std::ostream& err) {
    SdsFile file;
    if (!file.Open(fileName)) {
        err << "cluemill-cli patterns: cannot open " << fileName << '\n';
        return 1;
    }
    if (file.Count() == 0) {
        err << "cluemill-cli patterns: " << fileName << " does not contain sudokus\n";
        return 1;
    }
    std::unordered_set<std::string> known = LibraryCodes(library);
    std::int64_t offered = 0;
    std::int64_t appended = 0;
    int status = 0;
    for (std::int64_t r = 1; r <= file.Count(); ++r) {
        const std::optional<Pattern> clues = file.Read(r);
        if (!clues) {
            err << "cluemill-cli patterns: cannot read puzzle " << r << " of " << fileName << '\n';
            status = 1;
            break;
        }
        if (CheckImportable(*clues) != ImportRefusal::None) continue;
        const std::string code = EncodePattern(*clues);
        if (known.count(code) != 0) continue;
        ++offered;
        char answer = 'y';
        if (mode == ImportMode::DryRun) {
            known.insert(code);  // each pattern is named once
            answer = 'n';
        } else if (mode == ImportMode::Ask) {
            const std::string line = PatternLine(*clues);
            err << "Puzzle " << r << ": " << code << '\n';
            for (int row = 0; row < 9; ++row) err << "  " << line.substr(row * 9, 9) << '\n';
            err << "Import this pattern ? [y/n/c] " << std::flush;
            std::string reply;
            answer =
                std::getline(in, reply) && !reply.empty()
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(reply.front())))
                    : 'c';
        }
        if (answer == 'c') break;
        out << r << '\t' << code;
        if (answer == 'y') {
            PatternRecord record;
            record.PatternCode = code;
            const std::int32_t k = library.AppendPattern(record);
            if (k == 0) {
                out << '\n';
                err << "cluemill-cli patterns: cannot write " << library.File.string() << '\n';
                return 1;
            }
            known.insert(code);
            ++appended;
            out << '\t' << k;
        }
        out << '\n';
    }
    err << "cluemill-cli patterns: " << offered << (offered == 1 ? " pattern" : " patterns")
        << " offered, " << appended << " appended\n";
    return status;
}

// One line per record: number, code, the eighteen counters; long: the clue
// count, the symmetry's name, the puzzles recorded and each class's share.
void ListPatterns(const PatternLibrary& library, bool longForm, std::ostream& out) {
    for (std::int32_t k = 1; k <= library.PatternCount; ++k) {
        const PatternRecord record = library.ReadPatternRecord(k);
        out << k << '\t' << record.PatternCode;
        std::array<std::int64_t, 6> perClass{};
        for (const auto* family : {&record.NotExpanded, &record.Expanded, &record.Minimal}) {
            for (int c = 0; c < 6; ++c) {
                out << '\t' << (*family)[c];
                perClass[c] += (*family)[c];
            }
        }
        if (longForm) {
            const Pattern clues = DecodePattern(record.PatternCode);
            std::int64_t puzzles = 0;
            for (const auto n : perClass) puzzles += n;
            out << '\t' << std::count(clues.begin(), clues.end(), true) << '\t'
                << SymmetryName(clues) << '\t' << puzzles;
            for (const auto n : perClass) {
                char share[32];
                std::snprintf(share, sizeof share, "%.2f",
                              puzzles > 0 ? 100.0 * static_cast<double>(n) / puzzles : 0.0);
                out << '\t' << share;
            }
        }
        out << '\n';
    }
}

}  // namespace

int RunPatterns(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kPatterns, args, arguments, out, err); status >= 0) {
        return status;
    }
    const std::vector<std::string>& rest = arguments.Operands();
    const bool yes = arguments.Has("--yes");
    const bool dryRun = arguments.Has("--dry-run");
    if (rest.empty() || ((yes || dryRun) && (rest.front() != "import" || (yes && dryRun)))) {
        err << CommandHelp(kPatterns);
        return kExitUsage;
    }
    // A forecast reads and writes nothing in the data folder.
    if (rest.front() == "forecast" && rest.size() == 2) {
        return ForecastPattern(rest[1], arguments, out, err);
    }
    const auto folder = PrepareDataFolder(arguments.Optional("--data-dir"), "patterns", err);
    if (!folder) return kExitSomeFailed;
    PatternLibrary library;
    library.File = *folder / "Patterns.rec";
    library.Count();
    const std::string command = rest.front();
    const std::vector<std::string> operands(rest.begin() + 1, rest.end());

    if (command == "list" && operands.empty()) {
        ListPatterns(library, arguments.Has("--long"), out);
        return 0;
    }
    if (command == "show" && operands.size() == 1) {
        std::int64_t k = 0;
        try {
            k = std::stoll(operands[0]);
        } catch (const std::exception&) {
            k = 0;
        }
        if (k < 1 || k > library.PatternCount) {
            err << "cluemill-cli patterns: there is no pattern " << operands[0]
                << " (the library holds " << library.PatternCount << ")\n";
            return 2;
        }
        const std::string line = PatternLine(
            DecodePattern(library.ReadPatternRecord(static_cast<std::int32_t>(k)).PatternCode));
        for (int row = 0; row < 9; ++row) out << line.substr(row * 9, 9) << '\n';
        return 0;
    }
    if (command == "add" && operands.size() == 1) {
        std::string why;
        const std::string code = PatternCodeOf(operands[0], why);
        if (code.empty()) {
            err << "cluemill-cli patterns: " << why << '\n';
            return 2;
        }
        std::int32_t k = library.FindPattern(code);
        if (k == 0) {
            PatternRecord record;
            record.PatternCode = code;
            k = library.AppendPattern(record);
            if (k == 0) {
                err << "cluemill-cli patterns: cannot write " << library.File.string() << '\n';
                return 1;
            }
        }
        out << k << '\n';
        return 0;
    }
    if (command == "import" && operands.size() == 1) {
        const ImportMode mode = yes      ? ImportMode::Yes
                                : dryRun ? ImportMode::DryRun
                                         : ImportMode::Ask;
        return ImportPatterns(library, operands[0], mode, in, out, err);
    }
    if (command == "encode" || command == "decode") {
        const bool encode = command == "encode";
        return ForEachInput(operands, in, !encode, [&](const std::string& item) {
            std::string why;
            if (encode && item.size() < 81)
                why = "a pattern line has 81 characters, not " + std::to_string(item.size());
            if (!encode && item.size() != 22) why = *CheckPatternCode(item);
            const std::string code = why.empty()
                                         ? PatternCodeOf(encode ? item.substr(0, 81) : item, why)
                                         : std::string();
            if (code.empty()) {
                err << "cluemill-cli patterns: " << why << '\n';
                return false;
            }
            out << (encode ? code : PatternLine(DecodePattern(code))) << '\n';
            return true;
        });
    }
    err << "cluemill-cli patterns: unknown command or wrong operands\n\n" << CommandHelp(kPatterns);
    return 2;
}

}  // namespace cluemill
