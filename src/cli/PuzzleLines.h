// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "patterns/PatternLibrary.h"

namespace cluemill {

// Calls each(line) for every puzzle line of in: a CR before the line end is
// dropped, empty lines and lines beginning with '#' are skipped, and a line
// shorter than 81 characters is reported on err as "line N: a puzzle needs
// 81 characters". Returns the exit status: 0, 1 after a short line, 2 after
// a read error.
int ForEachPuzzleLine(std::istream& in, std::ostream& err, const std::string& command,
                      const std::function<void(const std::string&)>& each);

// Runs read on the file named `file`, or on in when file is empty or "-".
// A folder or a file that cannot be opened is reported on err (exit 2).
int ReadInput(const std::string& file, std::istream& in, std::ostream& err, const std::string& command,
              const std::function<int(std::istream&)>& read);

// A pattern as 81 characters, 'X' for a clue and '.' for an empty cell.
std::string PatternLine(const Pattern& clues);

// A pattern code (upper case), from a code or an 81-character pattern line
// in which 1-9, X, x, # and * mark a clue; empty, with the reason in why,
// when text is neither.
std::string PatternCodeOf(std::string text, std::string& why);

}  // namespace cluemill
