// SPDX-License-Identifier: MIT
// cluemill-cli grade: the generator's acceptance for puzzle lines.
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/PuzzleLines.h"
#include "cli/RunOptions.h"
#include "generator/Generator.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

const Command kGrade = {
    "grade",
    "[--minimal] [--limit] [--expand N] [--seed S] [--jobs N] [FILE]",
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
    "  solution81  its solution, or '-'\n",
    {kMinimalOption,
     kLimitOption,
     kExpandOption,
     {"--seed", "S", "a fixed seed for the order in which expansions are tried", 0, INT64_MAX},
     {"--jobs", "N",
      "puzzles decided side by side on N cores (default: all of them); the output is the same "
      "for every N (with --expand and --seed the lines are decided one after the other)",
      1, 256}},
    1,
    kLineCommandExits,
};

// Nothing to show or halt while one candidate is decided.
class QuietRun final : public RunObserver {
  public:
    bool Poll() override { return false; }
    void Accepted(const AcceptedPuzzle&) override {}
};

// The acceptance of a generation run for puzzle lines: a generator of its
// own deciding one candidate after the other.
class Grader {
  public:
    Grader(const RunSettings& settings, std::optional<std::uint64_t> seed)
        : random_(seed), generator_(random_), settings_(settings) {}

    void Grade(const std::string& line, std::string& result) {
        const CellValues puzzle = ReadPuzzleText(line);
        const bool accepted =
            !GivensConflict(puzzle) && generator_.Decide(puzzle, settings_, quiet_);
        AppendPuzzleText(result, puzzle, '.');
        if (accepted) {
            const AcceptedPuzzle grade = generator_.LastAccepted();
            result += "\t1\t" + std::to_string(grade.Difficulty) + '\t' +
                      CounterName(grade.Counter) + '\t';
            AppendPuzzleText(result, grade.Givens, '.');
            result += '\t';
            AppendPuzzleText(result, grade.Solution, '.');
        } else {
            result += "\t0\t0\t-\t-\t-";
        }
        result += '\n';
    }

  private:
    StreamRandom random_;
    Generator generator_;
    RunSettings settings_;
    QuietRun quiet_;
};

}  // namespace

int RunGrade(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kGrade, args, arguments, out, err); status >= 0) {
        return status;
    }
    const RunSettings settings = AcceptanceSettings(arguments);
    std::optional<std::uint64_t> seed;
    if (arguments.Has("--seed")) seed = static_cast<std::uint64_t>(arguments.Number("--seed", 0));
    // With expansion and a seed the expansions of all lines follow one random
    // stream, so they are tried one line after the other.
    const int jobs = seed && settings.ExpandLevel > 0
                         ? 1
                         : static_cast<int>(arguments.Number("--jobs", DefaultJobs()));
    const std::string file = arguments.Operands().empty() ? "" : arguments.Operands()[0];
    return ReadInput(file, in, err, "grade", [&](std::istream& input) {
        return ForEachPuzzleLine(input, out, err, "grade", jobs, [&] {
            return
                [grader = std::make_shared<Grader>(settings, seed)](
                    const std::string& line, std::string& result) { grader->Grade(line, result); };
        });
    });
}

}  // namespace cluemill
