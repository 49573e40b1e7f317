// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cluemill {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSomeFailed = 1;  // some input lines or files could not be used
inline constexpr int kExitUsage = 2;       // a usage error, or input refused as a whole

// One option of a command: its name, the name of its value (none for a
// switch), what it does, and for a number the range it must lie in.
struct Option {
    const char* Name;
    const char* Value = nullptr;
    const char* Help = "";
    // A number from Low to High when Low <= High; any text otherwise.
    std::int64_t Low = 1;
    std::int64_t High = 0;
};

// A command of cluemill-cli: its name, what follows the name in its usage
// line, what it does (the help text before the options), its options, and
// how many operands it takes (the FILE of a line command, say).
struct Command {
    const char* Name;
    const char* Synopsis;
    const char* Description;
    std::vector<Option> Options;
    std::size_t MaxOperands = 0;
    // What the help says after the options (exit statuses, examples).
    const char* Epilogue = "";
};

// The arguments of one call, as the command's table reads them.
class Arguments {
  public:
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    // The value given to an option, or fallback when it was not given.
    std::string Text(const std::string& name, const std::string& fallback = "") const;
    std::int64_t Number(const std::string& name, std::int64_t fallback) const;
    // The value given to an option, or nothing.
    std::optional<std::string> Optional(const std::string& name) const {
        return Has(name) ? std::optional<std::string>(Text(name)) : std::nullopt;
    }
    const std::vector<std::string>& Operands() const { return operands_; }

  private:
    friend int ParseArguments(const Command&, const std::vector<std::string>&, Arguments&,
                              std::ostream&, std::ostream&);
    std::map<std::string, std::string> values_;
    std::vector<std::string> operands_;
};

// What the puzzle-line commands share: the jobs option and the words on
// short lines and exit statuses.
inline constexpr Option kJobsOption = {
    "--jobs", "N",
    "puzzles worked on side by side on N cores (default: all of them); the output is the same "
    "for every N",
    1, 256};
inline constexpr const char* kLineCommandExits =
    "\nA line shorter than 81 characters is reported on standard error as\n"
    "'line N: a puzzle needs 81 characters' and skipped; the exit status is\n"
    "then 1. Exit status 0 otherwise, 2 on a usage error.\n";

// The help of a command, made from its table.
std::string CommandHelp(const Command& command);

// Reads args by the command's table. --help (or -h) prints the help on out
// and returns kExitOk; an unknown option, a value missing or out of range, or
// too many operands is reported on err ("cluemill-cli NAME: bad option
// '--x'"), followed by the help, and returns kExitUsage; otherwise returns
// -1 with arguments filled. A lone "-" is an operand (standard input).
int ParseArguments(const Command& command, const std::vector<std::string>& args,
                   Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace cluemill
