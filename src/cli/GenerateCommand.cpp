// SPDX-License-Identifier: MIT
// cluemill-cli grade and generate: the generator's acceptance for puzzle
// lines, and the whole generation run, headless.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/Main.h"
#include "cli/Cli.h"
#include "cli/CliPlatform.h"
#include "cli/GenerateJobs.h"
#include "cli/PuzzleLines.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

constexpr const char* kGradeHelp =
    "Usage: cluemill-cli grade [--minimal] [--limit] [--expand N] [--seed S] [--jobs N] [FILE]\n"
    "\n"
    "Decides every puzzle line of FILE (standard input when no FILE is given)\n"
    "as a generation run decides a candidate, without writing any file: the\n"
    "givens are the pattern, the options those of the window. Line rules as\n"
    "for 'cluemill-cli rate'. One line per puzzle, fields separated by TABs:\n"
    "  puzzle81  accepted  difficulty  counter  givens81  solution81\n"
    "\n"
    "  accepted    1 or 0\n"
    "  difficulty  the class 1 (Very Easy) to 6 (Others) of an accepted puzzle, 0\n"
    "  counter     NotExpanded, Minimal or Expanded, or '-'\n"
    "  givens81    the accepted puzzle ('.' for empty; with expansion the added\n"
    "              givens too), or '-'\n"
    "  solution81  its solution, or '-'\n"
    "\n"
    "  --minimal   \"Check Minimal\": accept only minimal puzzles\n"
    "  --limit     \"Limited to Very Hard\": accept only puzzles logic solves\n"
    "  --expand N  add up to N givens (1 to 3) to make a candidate unique\n"
    "  --seed S    a fixed seed for the order in which expansions are tried\n"
    "  --jobs N    puzzles decided side by side on N cores (default: all of\n"
    "              them); the output is the same for every N (with --expand\n"
    "              and --seed the lines are decided one after the other)\n";

constexpr const char* kGenerateHelp =
    "Usage: cluemill-cli generate (--pattern CODE|LINE81 | --random-pattern) [--count N]\n"
    "         [--minimal] [--limit] [--expand 0..3] [--renew-after N] [--format 0..6]\n"
    "         [--seed S] [--jobs N] [--data-dir DIR] [--progress]\n"
    "\n"
    "The generation run of the window, headless: the pattern is checked,\n"
    "registered in Patterns.rec of DIR (default: the program's folder), and\n"
    "filled with digits until N puzzles are accepted, the fillings run out, or\n"
    "Ctrl-C. Accepted puzzles are written in the chosen format (0 Tavix\n"
    "Sudoku .sds, 1 Simple Sudoku, 2 Sudocue, 3 Into Sudoku, 4 Sudoku\n"
    "Explainer, 5 81 char (.), 6 81 char (0)) and printed one per line:\n"
    "  givens81  class  counter  solution81\n"
    "and a summary goes to standard error. A pattern the window would refuse\n"
    "is refused with its message and exit status 2.\n"
    "\n"
    "  --pattern        a 22-digit code, or 81 characters (1-9, X, x, #, * a clue)\n"
    "  --random-pattern draw a library pattern at every renewal\n"
    "  --count N        stop after N accepted puzzles\n"
    "  --minimal, --limit, --expand N   as in 'cluemill-cli grade'\n"
    "  --renew-after N  new base after N rejected candidates (default 250)\n"
    "  --format F       output format (default 0)\n"
    "  --seed S         a fixed seed: the same run every time (for the same N)\n"
    "  --jobs N         N runs side by side, one per core (default: the number of\n"
    "                   cores), numbered as by one run; with --seed their\n"
    "                   puzzles are written in the order in which the runs\n"
    "                   found them, counted in digits placed\n"
    "  --progress       a live progress line on standard error (a terminal)\n";

constexpr std::array<const char*, 3> kCounterNames = {"NotExpanded", "Minimal", "Expanded"};

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
    gInterrupted = true;
}

// The options shared by grade and generate.
struct RunOptions {
    bool Minimal = false;
    bool Limit = false;
    int Expand = 0;
    std::optional<std::uint64_t> Seed;
};

// Sets the window's options as the command line gives them.
void ApplyOptions(Main& main, const RunOptions& options) {
    main.Form.CheckMinimal.Value = options.Minimal ? 1 : 0;
    main.Form.CheckLimit.Value = options.Limit ? 1 : 0;
    for (int i = 0; i < 4; ++i) main.Form.Option1[i].Value = i == options.Expand;
    main.Option1_Click(options.Expand);
}

void ShowPattern(Main& main, const Pattern& clues) {
    for (int i = 0; i < kCells; ++i)
        main.Form.Grid[i].BackColor = clues[i] ? kRed : kWindowBackground;
}

// The acceptance of a generation run for puzzle lines: a window of its own
// with the options set, deciding one candidate after the other.
class Grader {
  public:
    explicit Grader(const RunOptions& options) : platform_(".", options.Seed), main_(platform_) {
        ApplyOptions(main_, options);
        // A candidate of a run, with no format chosen and no library record:
        // nothing is written.
        main_.Generating = true;
        main_.HaltRequested = false;
        main_.Form.Combo2.ListIndex = -1;
        main_.Library.CurrentPattern = 0;
    }

    void Grade(const std::string& line, std::string& result) {
        const CellValues puzzle = ReadPuzzleText(line);
        Pattern clues{};
        for (int i = 0; i < kCells; ++i) clues[i] = puzzle[i] > 0;
        ShowPattern(main_, clues);
        main_.Library.PatternRec = PatternRecord{};
        main_.Solver.Puzzle = puzzle;
        const bool accepted = !GivensConflict(puzzle) && main_.UniqueModSud();
        AppendPuzzleText(result, puzzle, '.');
        if (accepted) {
            result += "\t1\t" + std::to_string(main_.Solver.Difficulty) + '\t' +
                      kCounterNames[static_cast<int>(main_.LastCounter)] + '\t';
            AppendPuzzleText(result, main_.Solver.Puzzle, '.');
            result += '\t';
            AppendPuzzleText(result, main_.Solver.Board, '.');
        } else {
            result += "\t0\t0\t-\t-\t-";
        }
        result += '\n';
    }

  private:
    CliPlatform platform_;
    Main main_;
};

}  // namespace

int RunGrade(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    RunOptions options;
    std::string file;
    std::int64_t jobs = DefaultJobs();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::int64_t value = 0;
        if (arg == "--help" || arg == "-h") {
            out << kGradeHelp;
            return 0;
        } else if (arg == "--minimal") {
            options.Minimal = true;
        } else if (arg == "--limit") {
            options.Limit = true;
        } else if (arg == "--expand" && i + 1 < args.size() &&
                   ParseNumber(args[i + 1], 0, 3, value)) {
            options.Expand = static_cast<int>(value);
            ++i;
        } else if (arg == "--seed" && i + 1 < args.size() &&
                   ParseNumber(args[i + 1], 0, INT64_MAX, value)) {
            options.Seed = static_cast<std::uint64_t>(value);
            ++i;
        } else if (arg == "--jobs" && i + 1 < args.size() &&
                   ParseNumber(args[i + 1], 1, 256, jobs)) {
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "cluemill-cli grade: bad option '" << arg << "'\n\n" << kGradeHelp;
            return 2;
        } else if (file.empty()) {
            file = arg;
        } else {
            err << "cluemill-cli grade: expected at most one FILE\n";
            return 2;
        }
    }
    // With expansion and a seed the expansions of all lines follow one random
    // stream, so they are tried one line after the other.
    if (options.Seed && options.Expand > 0) jobs = 1;
    return ReadInput(file, in, err, "grade", [&](std::istream& input) {
        return ForEachPuzzleLine(input, out, err, "grade", static_cast<int>(jobs), [&] {
            return
                [grader = std::make_shared<Grader>(options)](
                    const std::string& line, std::string& result) { grader->Grade(line, result); };
        });
    });
}

int RunGenerate(const std::vector<std::string>& args, std::istream&, std::ostream& out,
                std::ostream& err) {
    RunOptions options;
    std::string patternText;
    bool randomPattern = false;
    std::int64_t count = 0;  // 0 = until exhausted or interrupted
    std::int64_t renewAfter = 250;
    std::int64_t format = 0;
    std::int64_t jobs = DefaultJobs();
    std::optional<std::string> dataDir;
    bool progress = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        std::int64_t value = 0;
        if (arg == "--help" || arg == "-h") {
            out << kGenerateHelp;
            return 0;
        } else if (arg == "--pattern" && hasValue) {
            patternText = args[++i];
        } else if (arg == "--random-pattern") {
            randomPattern = true;
        } else if (arg == "--count" && hasValue && ParseNumber(args[i + 1], 1, INT64_MAX, count)) {
            ++i;
        } else if (arg == "--minimal") {
            options.Minimal = true;
        } else if (arg == "--limit") {
            options.Limit = true;
        } else if (arg == "--expand" && hasValue && ParseNumber(args[i + 1], 0, 3, value)) {
            options.Expand = static_cast<int>(value);
            ++i;
        } else if (arg == "--renew-after" && hasValue &&
                   ParseNumber(args[i + 1], 1, INT32_MAX, renewAfter)) {
            ++i;
        } else if (arg == "--format" && hasValue && ParseNumber(args[i + 1], 0, 6, format)) {
            ++i;
        } else if (arg == "--seed" && hasValue && ParseNumber(args[i + 1], 0, INT64_MAX, value)) {
            options.Seed = static_cast<std::uint64_t>(value);
            ++i;
        } else if (arg == "--jobs" && hasValue && ParseNumber(args[i + 1], 1, 256, jobs)) {
            ++i;
        } else if (arg == "--data-dir" && hasValue) {
            dataDir = args[++i];
        } else if (arg == "--progress") {
            progress = true;
        } else {
            err << "cluemill-cli generate: bad option '" << arg << "'\n\n" << kGenerateHelp;
            return 2;
        }
    }
    if (randomPattern == !patternText.empty()) {
        err << "cluemill-cli generate: give either --pattern or --random-pattern\n\n"
            << kGenerateHelp;
        return 2;
    }
    std::string code;
    if (!randomPattern) {
        std::string why;
        code = PatternCodeOf(patternText, why);
        if (code.empty()) {
            err << "cluemill-cli generate: " << why << '\n';
            return 2;
        }
    }

    CliPlatform platform(dataDir.value_or(ProgramFolder()), options.Seed);
    Main main(platform);
    main.Form_Load();
    ApplyOptions(main, options);
    main.RenewAfter = static_cast<std::int32_t>(renewAfter);
    main.Form.Combo2.ListIndex = static_cast<int>(format);
    main.Combo2_Click();
    if (randomPattern) {
        main.Form.CheckRandomPattern.Value = 1;
        main.CheckRandomPattern_Click();
    } else {
        ShowPattern(main, DecodePattern(code));
    }

    const auto start = std::chrono::steady_clock::now();
    auto lastProgress = start;
    std::int64_t accepted = 0;
    const bool showProgress = progress && isatty(STDERR_FILENO) != 0;
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    main.OnAccepted = [&] {
        ++accepted;
        std::string line;
        AppendPuzzleText(line, main.Solver.Puzzle, '.');
        line += '\t' + std::to_string(main.Solver.Difficulty) + '\t' +
                kCounterNames[static_cast<int>(main.LastCounter)] + '\t';
        AppendPuzzleText(line, main.Solver.Board, '.');
        out << line << '\n' << std::flush;
        if (count > 0 && accepted >= count) main.CommandHalt_Click();
    };
    platform.OnDoEvents = [&] {
        if (gInterrupted) main.CommandHalt_Click();
        if (!showProgress) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress < std::chrono::milliseconds(250)) return;
        lastProgress = now;
        err << "\r" << main.CandidatesTried << " candidates, " << accepted << " accepted, "
            << static_cast<std::int64_t>(static_cast<double>(main.CandidatesTried) / seconds())
            << "/s   " << std::flush;
    };

    gInterrupted = false;
    // Ctrl-C halts the run; the summary is still printed. The handler stays
    // until the command returns: a second SIGINT right behind the first (as
    // `timeout` sends one to the program and one to its process group) must
    // not end the program before its summary.
    struct InterruptHandler {
        void (*previous)(int) = std::signal(SIGINT, OnInterrupt);
        ~InterruptHandler() { std::signal(SIGINT, previous); }
    } interruptHandler;
    platform.LastMessage.clear();
    if (main.StartRun()) {
        main.EndRun(jobs == 1 ? main.Run() : RunJobs(main, static_cast<int>(jobs), options.Seed));
    }
    if (showProgress) err << '\n';

    const std::string& message = platform.LastMessage;
    if (!main.Generating && message != "Generator halted" &&
        message != "All clue-grids generated") {
        err << "cluemill-cli generate: " << message << '\n';
        return 2;
    }
    static constexpr std::array<const char*, 6> kClasses = {"Very Easy", "Easy",      "Medium",
                                                            "Hard",      "Very Hard", "Others"};
    err << message << '\n'
        << "pattern " << main.Library.PatternRec.PatternCode << " (record "
        << main.Library.CurrentPattern << ")\n"
        << jobs << (jobs == 1 ? " job\n" : " jobs\n");
    for (int c = 0; c < 6; ++c) err << kClasses[c] << ": " << main.NewCount[c] << '\n';
    const double elapsed = seconds();
    err << main.CandidatesTried << " candidates in " << elapsed << " s ("
        << static_cast<std::int64_t>(
               elapsed > 0 ? static_cast<double>(main.CandidatesTried) / elapsed : 0)
        << " per second), " << accepted << " accepted\n";
    return 0;
}

}  // namespace cluemill
