// SPDX-License-Identifier: MIT
#include "cli/PuzzleLines.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <istream>
#include <mutex>
#include <ostream>
#include <system_error>
#include <thread>
#include <vector>

#include "solver/Geometry.h"

namespace cluemill {

int ReadPuzzleLines(std::istream& in, const std::string& command,
                    const std::function<void(std::string&, long long)>& each,
                    const std::function<void(const std::string&)>& report) {
    std::string line;
    int status = 0;
    long long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        if (line.size() < kCells) {
            report("line " + std::to_string(number) + ": a puzzle needs 81 characters\n");
            status = 1;
            continue;
        }
        each(line, number);
    }
    if (in.bad()) {
        report("cluemill-cli " + command + ": read error after line " + std::to_string(number) +
               "\n");
        return 2;
    }
    return status;
}

int ForEachPuzzleLine(std::istream& in, std::ostream& err, const std::string& command,
                      const std::function<void(const std::string&)>& each) {
    return ReadPuzzleLines(
        in, command, [&](std::string& line, long long) { each(line); },
        [&](const std::string& text) { err << text; });
}

int DefaultJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

int ReadInput(const std::string& file, std::istream& in, std::ostream& err,
              const std::string& command, const std::function<int(std::istream&)>& read) {
    if (file.empty() || file == "-") return read(in);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        err << "cluemill-cli " << command << ": '" << file << "' is a folder, not a file\n";
        return 2;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        err << "cluemill-cli " << command << ": cannot open '" << file << "'\n";
        return 2;
    }
    return read(stream);
}

namespace {

bool IsClueMark(char c) {
    return (c >= '1' && c <= '9') || c == 'X' || c == 'x' || c == '#' || c == '*';
}

}  // namespace

std::string PatternLine(const Pattern& clues) {
    std::string line(81, '.');
    for (int i = 0; i < 81; ++i) {
        if (clues[i]) line[i] = 'X';
    }
    return line;
}

std::string PatternCodeOf(std::string text, std::string& why) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() == 81) {
        Pattern clues{};
        for (int i = 0; i < 81; ++i) clues[i] = IsClueMark(text[i]);
        return EncodePattern(clues);
    }
    if (const auto problem = CheckPatternCode(text)) {
        why = text.size() > 22 && text.size() != 81
                  ? "a pattern line has 81 characters, not " + std::to_string(text.size())
                  : *problem;
        return {};
    }
    // The library compares codes character for character, in upper case.
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace cluemill
