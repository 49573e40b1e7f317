// SPDX-License-Identifier: MIT
#include "cli/Options.h"

#include <ostream>
#include <sstream>

namespace cluemill {

namespace {

constexpr std::size_t kHelpColumn = 20;
constexpr std::size_t kLineWidth = 79;

// A whole decimal number from low to high, the whole of text.
bool ParseNumber(const std::string& text, std::int64_t low, std::int64_t high,
                 std::int64_t& value) {
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used);
        return used == text.size() && value >= low && value <= high;
    } catch (const std::exception&) {
        return false;
    }
}

// "  --name VALUE" and the help beside it, wrapped under itself.
void WriteOption(std::ostream& out, const std::string& name, const std::string& help) {
    std::string line = "  " + name;
    line += line.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : "\n";
    if (line.back() == '\n') {
        out << line;
        line = std::string(kHelpColumn, ' ');
    }
    std::istringstream words(help);
    std::string word;
    bool first = true;
    while (words >> word) {
        if (!first && line.size() + 1 + word.size() > kLineWidth) {
            out << line << '\n';
            line = std::string(kHelpColumn, ' ');
            first = true;
        }
        line += (first ? "" : " ") + word;
        first = false;
    }
    out << line << '\n';
}

// "--name" or "-x": anything else is an operand ("-" for standard input, a
// pattern line of 81 characters that begins with "-").
bool LooksLikeOption(const std::string& arg) {
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (arg.size() == 2) return arg[0] == '-' && letter(arg[1]);
    return arg.size() > 2 && arg[0] == '-' && arg[1] == '-' && letter(arg[2]);
}

const Option* FindOption(const Command& command, const std::string& name) {
    for (const Option& option : command.Options) {
        if (name == option.Name) return &option;
    }
    return nullptr;
}

}  // namespace

std::string Arguments::Text(const std::string& name, const std::string& fallback) const {
    const auto found = values_.find(name);
    return found == values_.end() ? fallback : found->second;
}

std::int64_t Arguments::Number(const std::string& name, std::int64_t fallback) const {
    const auto found = values_.find(name);
    std::int64_t value = fallback;
    if (found != values_.end()) ParseNumber(found->second, INT64_MIN, INT64_MAX, value);
    return value;
}

std::string CommandHelp(const Command& command) {
    std::ostringstream out;
    out << "Usage: cluemill-cli " << command.Name << ' ' << command.Synopsis << "\n\n"
        << command.Description;
    if (!command.Options.empty()) {
        out << "\nOptions:\n";
        for (const Option& option : command.Options) {
            WriteOption(out,
                        std::string(option.Name) + (option.Value ? " " : "") +
                            (option.Value ? option.Value : ""),
                        option.Help);
        }
    }
    WriteOption(out, "-h, --help", "this help");
    out << command.Epilogue;
    return out.str();
}

int ParseArguments(const Command& command, const std::vector<std::string>& args,
                   Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string prefix = std::string("cluemill-cli ") + command.Name + ": ";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << CommandHelp(command);
            return kExitOk;
        }
        if (!LooksLikeOption(arg)) {
            arguments.operands_.push_back(arg);
            continue;
        }
        const Option* option = FindOption(command, arg);
        std::int64_t number = 0;
        const bool valueMissing = option != nullptr && option->Value != nullptr &&
                                  (i + 1 >= args.size() ||
                                   (option->Low <= option->High &&
                                    !ParseNumber(args[i + 1], option->Low, option->High, number)));
        if (option == nullptr || valueMissing) {
            err << prefix << "bad option '" << arg << "'\n\n" << CommandHelp(command);
            return kExitUsage;
        }
        arguments.values_[arg] = option->Value != nullptr ? args[++i] : std::string();
    }
    if (arguments.operands_.size() > command.MaxOperands) {
        err << prefix
            << (command.MaxOperands == 1
                    ? std::string("expected at most one FILE")
                    : "expected at most " + std::to_string(command.MaxOperands) + " operands")
            << "\n\n"
            << CommandHelp(command);
        return kExitUsage;
    }
    return -1;
}

}  // namespace cluemill
