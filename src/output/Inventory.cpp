// SPDX-License-Identifier: MIT
#include "output/Inventory.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

#include "patterns/PatternLibrary.h"

namespace cluemill {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool MatchesFilePattern(std::string_view name, std::string_view pattern) {
    // File names are UTF-8: a character is a lead byte and its continuation
    // bytes (10xxxxxx).
    std::size_t at = 0;
    for (const char p : pattern) {
        if (at >= name.size()) return false;
        std::size_t next = at + 1;
        while (next < name.size() && (static_cast<unsigned char>(name[next]) & 0xC0) == 0x80)
            ++next;
        if (p != '?' && (next != at + 1 || Lower(p) != Lower(name[at]))) return false;
        at = next;
    }
    return at == name.size();
}

std::array<std::int32_t, 6> CountStored(const std::filesystem::path& appFolder,
                                        OutputFormat format) {
    std::array<std::int32_t, 6> counts{};
    const FormatInfo& info = Info(format);
    for (int c = 1; c <= 6; ++c) {
        std::error_code error;
        if (info.OneFilePerClass) {
            const auto length =
                std::filesystem::file_size(OutputFile(appFolder, format, c, 1), error);
            if (!error) {
                counts[c - 1] = static_cast<std::int32_t>(std::min<std::int64_t>(
                    RoundedRecordCount(length, info.RecordLength), INT32_MAX));
            }
            continue;
        }
        const std::string pattern = std::string(ClassWord(c)) + "_????" + info.Extension;
        std::int32_t count = 0;
        for (std::filesystem::directory_iterator it(appFolder / info.Folder, error), end;
             !error && it != end; it.increment(error)) {
            std::error_code kind;
            if (it->is_regular_file(kind) &&
                MatchesFilePattern(it->path().filename().string(), pattern))
                ++count;
        }
        counts[c - 1] = count;
    }
    return counts;
}

}  // namespace cluemill
