// SPDX-License-Identifier: MIT
// cluemill-cli canon: the canonical form of every puzzle line under the
// symmetries of its own pattern.
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "cli/PuzzleLines.h"
#include "patterns/Symmetry.h"
#include "tester/PuzzleText.h"

namespace cluemill {

namespace {

const Command kCanon = {
    "canon",
    "[FILE]",
    "Prints for every puzzle line of FILE (standard input when no FILE is given;\n"
    "line rules as for 'cluemill-cli rate') the puzzle, its canonical form and\n"
    "the number of symmetries of its pattern, separated by TABs:\n"
    "  puzzle81  canonical81  automorphisms\n"
    "\n"
    "A symmetry of the grid permutes the bands, the rows inside each band, the\n"
    "stacks and the columns inside each stack, and may transpose; those that map\n"
    "the puzzle's givens onto themselves are its pattern's automorphisms. Two\n"
    "puzzles of one pattern are equivalent when an automorphism and a renaming\n"
    "of the digits turn one into the other. The canonical form is the smallest\n"
    "of the puzzle's images, its digits renamed in order of first appearance, as\n"
    "81 characters with 0 for an empty cell: equivalent puzzles, and only they,\n"
    "share it.\n",
    {},
    1,
    kLineCommandExits,
};

// The symmetries of the patterns met so far: puzzles of one pattern come
// together in the files setters work with.
class Forms {
  public:
    void Append(const std::string& line, std::string& result) {
        const CellValues puzzle = ReadPuzzleText(line);
        Pattern clues{};
        for (int cell = 0; cell < kCells; ++cell) clues[cell] = puzzle[cell] > 0;
        const std::string code = EncodePattern(clues);
        auto found = groups_.find(code);
        if (found == groups_.end()) {
            if (groups_.size() >= kKept) groups_.clear();
            found = groups_.emplace(code, std::make_unique<PatternSymmetry>(clues)).first;
        }
        AppendPuzzleText(result, puzzle, '.');
        result += '\t' + found->second->CanonicalForm(puzzle) + '\t' +
                  std::to_string(found->second->GroupSize()) + '\n';
    }

  private:
    static constexpr std::size_t kKept = 256;
    std::map<std::string, std::unique_ptr<PatternSymmetry>> groups_;
};

}  // namespace

int RunCanon(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    Arguments arguments;
    if (const int status = ParseArguments(kCanon, args, arguments, out, err); status >= 0) {
        return status;
    }
    const std::string file = arguments.Operands().empty() ? "" : arguments.Operands()[0];
    Forms forms;
    std::string result;
    return ReadInput(file, in, err, "canon", [&](std::istream& input) {
        return ForEachPuzzleLine(input, err, "canon", [&](const std::string& line) {
            result.clear();
            forms.Append(line, result);
            out << result;
        });
    });
}

}  // namespace cluemill
