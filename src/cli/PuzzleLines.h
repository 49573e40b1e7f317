// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "patterns/PatternLibrary.h"

namespace cluemill {

// The line rules of the puzzle-line commands: each(line, number) for every
// puzzle line (numbered from 1 among all lines), report(text) for a line too
// short and for a read error. Returns the exit status: 0, 1 after a short
// line, 2 after a read error.
int ReadPuzzleLines(std::istream& in, const std::string& command,
                    const std::function<void(std::string&, long long)>& each,
                    const std::function<void(const std::string&)>& report);

// Calls each(line) for every puzzle line of in: a CR before the line end is
// dropped, empty lines and lines beginning with '#' are skipped, and a line
// shorter than 81 characters is reported on err as "line N: a puzzle needs
// 81 characters". Returns the exit status: 0, 1 after a short line, 2 after
// a read error.
int ForEachPuzzleLine(std::istream& in, std::ostream& err, const std::string& command,
                      const std::function<void(const std::string&)>& each);

// Turns one puzzle line into the text printed for it (appended to result).
using LineWorker = std::function<void(const std::string& line, std::string& result)>;

// ForEachPuzzleLine with the work spread over `jobs` threads, each with a
// worker of its own from makeWorker (called on this thread before any line
// is read). Results go to out and short-line messages to err in the order of
// the lines, exactly as one job would print them; a worker sees only the
// first 81 characters of a line. Lines are read ahead by a bounded amount,
// so memory stays flat on inputs of any length. One job runs on this thread.
int ForEachPuzzleLine(std::istream& in, std::ostream& out, std::ostream& err,
                      const std::string& command, int jobs,
                      const std::function<LineWorker()>& makeWorker);

// The number of jobs the line commands use when not told: one per core.
int DefaultJobs();

// Runs read on the file named `file`, or on in when file is empty or "-".
// A folder or a file that cannot be opened is reported on err (exit 2).
int ReadInput(const std::string& file, std::istream& in, std::ostream& err,
              const std::string& command, const std::function<int(std::istream&)>& read);

// A pattern as 81 characters, 'X' for a clue and '.' for an empty cell.
std::string PatternLine(const Pattern& clues);

// A pattern code (upper case), from a code or an 81-character pattern line
// in which 1-9, X, x, # and * mark a clue; empty, with the reason in why,
// when text is neither.
std::string PatternCodeOf(std::string text, std::string& why);

}  // namespace cluemill
