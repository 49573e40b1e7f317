// SPDX-License-Identifier: MIT
#include "cli/PuzzleLines.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <system_error>

#include "solver/Geometry.h"

namespace cluemill {

int ForEachPuzzleLine(std::istream& in, std::ostream& err, const std::string& command,
                      const std::function<void(const std::string&)>& each) {
    std::string line;
    int status = 0;
    long long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        if (line.size() < kCells) {
            err << "line " << number << ": a puzzle needs 81 characters\n";
            status = 1;
            continue;
        }
        each(line);
    }
    if (in.bad()) {
        err << "cluemill-cli " << command << ": read error after line " << number << "\n";
        return 2;
    }
    return status;
}

int ReadInput(const std::string& file, std::istream& in, std::ostream& err, const std::string& command,
              const std::function<int(std::istream&)>& read) {
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

}  // namespace cluemill
