// SPDX-License-Identifier: MIT
// cluemill-cli generate: a generation run without a window. One generator,
// or one per job, decides the candidates; this thread records every accepted
// puzzle (statistics, output file) and prints it.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <istream>
#include <ostream>
#include <set>
#include <string>

#include "cli/Cli.h"
#include "cli/PuzzleLines.h"
#include "cli/RunOptions.h"
#include "generator/Batch.h"
#include "generator/ParallelRun.h"
#include "output/Inventory.h"
#include "output/PuzzleFormats.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

const Command kGenerate = {
    "generate",
    "(--pattern CODE|LINE81 | --random-pattern) [--count N]\n"
    "         [--minimal] [--limit] [--expand 0..3] [--renew-after N] [--format 0..6]\n"
    "         [--seed S] [--jobs N] [--data-dir DIR] [--progress]\n"
    "         [--quota CLASS=N[,CLASS=N...]] [--distinct] [--time SECONDS]",
    "The generation run of the window, headless: the pattern is checked,\n"
    "registered in Patterns.rec of the data folder, and filled with digits\n"
    "until N puzzles are written, the fillings run out, or Ctrl-C. Accepted\n"
    "puzzles (of a batch, those it asks for) are written in the chosen format\n"
    "(0 Tavix Sudoku .sds, 1 Simple Sudoku, 2 Sudocue, 3 Into Sudoku, 4 Sudoku\n"
    "Explainer, 5 81 char (.), 6 81 char (0)) and printed one per line:\n"
    "  givens81  class  counter  solution81\n"
    "and a summary goes to standard error. A pattern the window would refuse\n"
    "is refused with its message and exit status 2.\n",
    {{"--pattern", "CODE", "a 22-digit code, or 81 characters (1-9, X, x, #, * a clue)", 1, 0},
     {"--random-pattern", nullptr, "draw a library pattern at every renewal"},
     {"--count", "N", "stop after N puzzles written", 1, INT64_MAX},
     kMinimalOption,
     kLimitOption,
     kExpandOption,
     {"--renew-after", "N", "new base after N rejected candidates (default 250)", 1, INT32_MAX},
     {"--format", "F", "output format (default 0)", 0, 6},
     {"--seed", "S", "a fixed seed: the same run every time (for the same N)", 0, INT64_MAX},
     {"--jobs", "N",
      "N runs side by side, one per core (default: the number of cores), numbered as by one "
      "run; with --seed their puzzles are written in the order in which the runs found them, "
      "counted in digits placed",
      1, 256},
     {"--data-dir", "DIR",
      "the data folder: Patterns.rec and the output folders (default: the program's folder "
      "when it can be written, else ~/.local/share/cluemill)",
      1, 0},
     {"--progress", nullptr, "a live progress line on standard error (a terminal)"},
     {"--quota", "CLASS=N,...",
      "write only puzzles of the classes named, N of each at most; the run ends when every "
      "quota is met. CLASS is 1 to 6 or very-easy, easy, medium, hard, very-hard, others. "
      "Puzzles of other classes still count in the pattern's statistics",
      1, 0},
     {"--distinct", nullptr,
      "never write a puzzle equivalent (by a symmetry of the pattern and a renaming of the "
      "digits) to one written before for the pattern in DIR, by any program; their forms are "
      "kept in DIR/Distinct"},
     {"--time", "SECONDS", "end the run after so many seconds, as Ctrl-C does", 1, 31'536'000}},
    0,
    "\nA puzzle or a pattern record that cannot be written is reported on standard\n"
    "error, once per file, and the run goes on. Exit status 0 after a run, 1 when\n"
    "something could not be written (or the data folder cannot be made), 2 on a\n"
    "usage error or a refused pattern.\n",
};

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
    gInterrupted = true;
}

// The data folder as a run uses it: its output folders, its library, and
// the puzzles its chosen format holds.
struct DataFolder {
    std::filesystem::path Path;
    PatternLibrary Library;
    OutputFormat Format = OutputFormat::Tavix;
    std::array<std::int32_t, 6> StoredCount{};

    DataFolder(const std::filesystem::path& path, OutputFormat format)
        : Path(path), Format(format) {
        CreateOutputFolders(path);
        Library.File = path / "Patterns.rec";
        Library.Count();
        StoredCount = CountStored(path, format);
    }
};

// Records and prints every accepted puzzle of the run, counts them, and
// tells when the count asked for is reached; shows the progress line.
class RunRecorder final : public RunObserver, public JobsWriter {
  public:
    RunRecorder(DataFolder& data, const BatchSettings& batch, std::int64_t count, bool progress,
                std::ostream& out, std::ostream& err)
        : data_(data),
          batch_(batch),
          keeper_(batch, data.Path),
          count_(count),
          progress_(progress),
          out_(out),
          err_(err) {}

    // The single run's observer. The clock of a time limit is read once in
    // a few thousand polls: a poll comes before every digit placed.
    bool Poll() override {
        if ((++polls_ & 4095) == 0 && keeper_.TimeUp()) halt_ = true;
        return Poll(generator_ != nullptr ? generator_->CandidatesTried : 0);
    }
    void Accepted(const AcceptedPuzzle& puzzle) override { halt_ = Record(puzzle) || halt_; }
    Pattern PatternOf(std::int32_t record) override {
        return DecodePattern(data_.Library.ReadPatternRecord(record).PatternCode);
    }
    void Watch(const Generator& generator) { generator_ = &generator; }

    // The writer of a run of several jobs.
    bool Poll(std::int64_t candidates) override {
        candidates_ = candidates;
        if (gInterrupted || keeper_.TimeUp()) halt_ = true;
        if (progress_) ShowProgress();
        return halt_;
    }
    bool Record(const AcceptedPuzzle& puzzle) override;
    // True when a puzzle or a pattern record could not be written.
    bool WritesFailed() const { return !failed_.empty(); }

    void SetCandidates(std::int64_t candidates) { candidates_ = candidates; }
    void Summary(RunEnd end, int jobs) const;

  private:
    void ShowProgress();
    // Says once per file (or per folder of a format with a file per puzzle)
    // that something could not be written there, and why (errno).
    void Failed(const std::filesystem::path& where);
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

    DataFolder& data_;
    BatchSettings batch_;
    BatchKeeper keeper_;
    std::int64_t count_;
    std::uint32_t polls_ = 0;
    bool progress_;
    std::ostream& out_;
    std::ostream& err_;
    const Generator* generator_ = nullptr;
    bool halt_ = false;
    std::int64_t accepted_ = 0;
    std::int64_t candidates_ = 0;
    std::array<std::int32_t, 6> newCount_{};
    std::set<std::filesystem::path> failed_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastProgress_ = start_;
};

bool RunRecorder::Record(const AcceptedPuzzle& puzzle) {
    PatternLibrary& library = data_.Library;
    // Under random patterns every puzzle may come from another record; only
    // this thread writes the library, so the record on file is current.
    if (puzzle.Record != 0) {
        library.CurrentPattern = puzzle.Record;
        library.PatternRec = library.ReadPatternRecord(puzzle.Record);
    }
    errno = 0;
    const BatchKeeper::Verdict verdict = keeper_.Consider(
        puzzle, library.PatternRec.PatternCode, DecodePattern(library.PatternRec.PatternCode));
    if (const auto unstored = keeper_.Unstored();
        unstored && verdict == BatchKeeper::Verdict::Write) {
        Failed(*unstored);
    }
    if (verdict == BatchKeeper::Verdict::Duplicate) return false;
    // A puzzle of a class not asked for still counts in the pattern's
    // statistics, so that its shares stay true.
    RaiseCounter(library.PatternRec, puzzle);
    ++newCount_[puzzle.Difficulty - 1];
    ++accepted_;
    errno = 0;
    if (!library.MergePatternRecord(library.CurrentPattern, library.PatternRec)) {
        Failed(library.File);
    }
    if (verdict == BatchKeeper::Verdict::NotWanted) return keeper_.Filled();
    const int difficulty = puzzle.Difficulty;
    const std::string record =
        BuildRecord(data_.Format, puzzle.Givens, puzzle.Solution, PuzzleLine(puzzle));
    errno = 0;
    if (SaveStoredPuzzle(data_.Path, data_.Format, difficulty, record,
                         data_.StoredCount[difficulty - 1]) == 0) {
        Failed(Info(data_.Format).OneFilePerClass
                   ? OutputFile(data_.Path, data_.Format, difficulty, 1)
                   : data_.Path / Info(data_.Format).Folder);
    }
    ++data_.StoredCount[difficulty - 1];
    std::string line;
    AppendPuzzleText(line, puzzle.Givens, '.');
    line += '\t' + std::to_string(difficulty) + '\t' + CounterName(puzzle.Counter) + '\t';
    AppendPuzzleText(line, puzzle.Solution, '.');
    out_ << line << '\n' << std::flush;
    return (count_ > 0 && keeper_.Written() >= count_) || keeper_.Filled();
}

void RunRecorder::Failed(const std::filesystem::path& where) {
    const int reason = errno;
    if (!failed_.insert(where).second) return;
    if (progress_) err_ << '\n';
    err_ << "cluemill-cli generate: cannot write " << where.string() << ": "
         << (reason != 0 ? std::strerror(reason) : "the record holds another pattern") << '\n';
}

void RunRecorder::ShowProgress() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < std::chrono::milliseconds(250)) return;
    lastProgress_ = now;
    err_ << "\r" << candidates_ << " candidates, " << accepted_ << " accepted, "
         << static_cast<std::int64_t>(static_cast<double>(candidates_) / Seconds()) << "/s   "
         << std::flush;
}

void RunRecorder::Summary(RunEnd end, int jobs) const {
    if (progress_) err_ << '\n';
    err_ << (end == RunEnd::Halted ? "Generator halted" : "All clue-grids generated") << '\n'
         << "pattern " << data_.Library.PatternRec.PatternCode << " (record "
         << data_.Library.CurrentPattern << ")\n"
         << jobs << (jobs == 1 ? " job\n" : " jobs\n");
    for (int c = 0; c < 6; ++c) err_ << kClassNames[c] << ": " << newCount_[c] << '\n';
    const double elapsed = Seconds();
    err_ << candidates_ << " candidates in " << elapsed << " s ("
         << static_cast<std::int64_t>(elapsed > 0 ? static_cast<double>(candidates_) / elapsed : 0)
         << " per second), " << accepted_ << " accepted\n";
    if (batch_.Plain()) return;
    err_ << keeper_.Written() << " written";
    if (batch_.Distinct) err_ << ", " << keeper_.Duplicates() << " duplicates skipped";
    if (keeper_.Filled()) {
        err_ << ", every quota met";
    } else if (keeper_.TimeUp()) {
        err_ << ", time is up";
    }
    err_ << '\n';
}

// The pattern registered in the library as a run in the window registers
// it; an empty text when it is refused (why says so).
std::string RegisterPattern(PatternLibrary& library, const std::string& code, std::string& why) {
    if (const PatternProblem problem = CheckPattern(DecodePattern(code));
        problem != PatternProblem::None) {
        why = PatternProblemText(problem);
        return {};
    }
    library.PatternRec = PatternRecord{};
    library.PatternRec.PatternCode = code;
    if (const std::int32_t k = library.FindPattern(code); k > 0) {
        library.PatternRec = library.ReadPatternRecord(k);
        library.CurrentPattern = k;
    } else {
        const std::int32_t added = library.AppendPattern(library.PatternRec);
        library.CurrentPattern = added > 0 ? added : library.PatternCount;
    }
    return code;
}

bool HasShufflablePattern(const PatternLibrary& library) {
    for (std::int32_t k = 1; k <= library.PatternCount; ++k) {
        const Pattern clues = DecodePattern(library.ReadPatternRecord(k).PatternCode);
        if (std::count(clues.begin(), clues.end(), true) >= 2) return true;
    }
    return false;
}

}  // namespace

int RunGenerate(const std::vector<std::string>& args, std::istream&, std::ostream& out,
                std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kGenerate, args, arguments, out, err); status >= 0) {
        return status;
    }
    const bool randomPattern = arguments.Has("--random-pattern");
    if (randomPattern == arguments.Has("--pattern")) {
        err << "cluemill-cli generate: give either --pattern or --random-pattern\n\n"
            << CommandHelp(kGenerate);
        return kExitUsage;
    }
    std::string why;
    const std::string code =
        randomPattern ? std::string() : PatternCodeOf(arguments.Text("--pattern"), why);
    if (!randomPattern && code.empty()) {
        err << "cluemill-cli generate: " << why << '\n';
        return kExitUsage;
    }
    BatchSettings batch;
    if (arguments.Has("--quota")) {
        if (const auto problem = ParseQuotas(arguments.Text("--quota"), batch)) {
            err << "cluemill-cli generate: " << *problem << '\n';
            return kExitUsage;
        }
    }
    batch.Distinct = arguments.Has("--distinct");
    if (arguments.Has("--time")) batch.Seconds = static_cast<double>(arguments.Number("--time", 0));

    const auto folder = PrepareDataFolder(arguments.Optional("--data-dir"), "generate", err);
    if (!folder) return kExitSomeFailed;
    DataFolder data(*folder, static_cast<OutputFormat>(arguments.Number("--format", 0)));
    if (!randomPattern && RegisterPattern(data.Library, code, why).empty()) {
        err << "cluemill-cli generate: " << why << '\n';
        return kExitUsage;
    }
    if (randomPattern && !HasShufflablePattern(data.Library)) {
        err << "cluemill-cli generate: --random-pattern needs a library pattern of at least two "
               "clues\n";
        return kExitUsage;
    }
    RunSettings settings = AcceptanceSettings(arguments);
    settings.RandomPatterns = randomPattern;
    settings.PatternCount = data.Library.PatternCount;
    if (!randomPattern) settings.Clues = DecodePattern(code);
    settings.RenewAfter = static_cast<std::int32_t>(arguments.Number("--renew-after", 250));
    std::optional<std::uint64_t> seed;
    if (arguments.Has("--seed")) seed = static_cast<std::uint64_t>(arguments.Number("--seed", 0));
    const int jobs = static_cast<int>(arguments.Number("--jobs", DefaultJobs()));

    RunRecorder recorder(data, batch, arguments.Number("--count", 0),
                         arguments.Has("--progress") && isatty(STDERR_FILENO) != 0, out, err);
    gInterrupted = false;
    // Ctrl-C halts the run; the summary is still printed. The handler stays
    // until the command returns: a second SIGINT right behind the first (as
    // `timeout` sends one to the program and one to its process group) must
    // not end the program before its summary.
    struct InterruptHandler {
        void (*previous)(int) = std::signal(SIGINT, OnInterrupt);
        ~InterruptHandler() { std::signal(SIGINT, previous); }
    } interruptHandler;
    RunEnd end = RunEnd::Exhausted;
    // A seeded run of one job records on the job's own thread, so that it
    // stops at the very candidate it always did. Otherwise even one job
    // gets a thread of its own, and recording a puzzle (two files opened,
    // locked and written) runs beside it, on another core where there is
    // one: for a pattern that gives thousands of puzzles a second that is
    // a tenth of the run.
    if (jobs == 1 && seed) {
        StreamRandom random(seed);
        Generator generator(random);
        recorder.Watch(generator);
        end = generator.Run(settings, recorder);
        recorder.SetCandidates(generator.CandidatesTried);
    } else {
        const JobsResult result = RunJobs(settings, jobs, seed, data.Library, recorder);
        end = result.End;
        recorder.SetCandidates(result.CandidatesTried);
    }
    recorder.Summary(end, jobs);
    return recorder.WritesFailed() ? kExitSomeFailed : kExitOk;
}

}  // namespace cluemill
