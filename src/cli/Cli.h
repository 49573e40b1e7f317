// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace cluemill {

// Runs cluemill-cli with its arguments (without the program name), reading
// standard input from in and writing to out and err. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

// cluemill-cli rate [FILE]: one result line per puzzle line.
int RunRate(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);

// cluemill-cli test [--minimal] [FILE]: the uniqueness test per puzzle line.
int RunTest(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);

// cluemill-cli patterns [--data-dir DIR] list|show|add|encode|decode.
int RunPatterns(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);

// cluemill-cli grade: the generator's acceptance for each puzzle line.
int RunGrade(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);
// cluemill-cli patterns forecast PATTERN [options]: a sample run of the
// pattern that writes nothing, and what a run will give.
int ForecastPattern(const std::string& pattern, const class Arguments& arguments, std::ostream& out,
                    std::ostream& err);
// cluemill-cli canon [FILE]: the canonical form of every puzzle line.
int RunCanon(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);
// cluemill-cli generate: a generation run, headless.
int RunGenerate(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);
// The program's folder (where the executable lies).
std::string ProgramFolder();
// The data folder of a command: --data-dir when given, else the program's
// folder when it can be written, else the user's data folder; made with its
// parents when missing. Nothing when it cannot be made (said on err).
std::optional<std::filesystem::path> PrepareDataFolder(const std::optional<std::string>& named,
                                                       const std::string& command,
                                                       std::ostream& err);

}  // namespace cluemill
