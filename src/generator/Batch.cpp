// SPDX-License-Identifier: MIT
#include "generator/Batch.h"

#include <cerrno>
#include <sstream>
#include <system_error>
#include <vector>

#include "patterns/RecordFile.h"

namespace cluemill {

namespace {

constexpr std::array<const char*, 6> kClassKeys = {"very-easy", "easy",      "medium",
                                                   "hard",      "very-hard", "others"};

// A stored form: 81 characters and a line end.
constexpr std::size_t kFormRecord = 82;

}  // namespace

bool BatchSettings::HasQuota() const {
    for (const auto& quota : Quota) {
        if (quota) return true;
    }
    return false;
}

int ClassOfName(const std::string& name) {
    if (name.size() == 1 && name[0] >= '1' && name[0] <= '6') return name[0] - '0';
    for (std::size_t c = 0; c < kClassKeys.size(); ++c) {
        if (name == kClassKeys[c]) return static_cast<int>(c) + 1;
    }
    return 0;
}

std::optional<std::string> ParseQuotas(const std::string& text, BatchSettings& batch) {
    std::istringstream items(text);
    std::string item;
    bool any = false;
    while (std::getline(items, item, ',')) {
        const auto equals = item.find('=');
        const int difficulty = ClassOfName(item.substr(0, equals));
        if (equals == std::string::npos || difficulty == 0) {
            return "a quota is CLASS=N, CLASS 1 to 6 or a class name, not '" + item + "'";
        }
        const std::string count = item.substr(equals + 1);
        std::int64_t n = -1;
        try {
            std::size_t used = 0;
            n = std::stoll(count, &used);
            if (used != count.size()) n = -1;
        } catch (const std::exception&) {
            n = -1;
        }
        if (n < 0) return "a quota's number is a whole number from 0, not '" + count + "'";
        batch.Quota[static_cast<std::size_t>(difficulty - 1)] = n;
        any = true;
    }
    if (!any) return "no quota given";
    return std::nullopt;
}

bool DistinctIndex::Add(const std::string& patternCode, const Pattern& pattern,
                        const CellValues& givens) {
    Known& known = known_[patternCode];
    if (!known.Symmetry) known.Symmetry = std::make_unique<PatternSymmetry>(pattern);
    const std::string form = known.Symmetry->CanonicalForm(givens);
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
    const std::filesystem::path path = folder_ / (patternCode + ".txt");
    unstored_.reset();
    auto file = RecordFile::Open(path, RecordFile::Access::Write);
    if (!file) {
        const int reason = errno;
        if (!known.Forms.insert(form).second) return false;
        unstored_ = path;
        errno = reason;
        return true;
    }
    // What others added since the last look, under the lock: whole records
    // only (a record is written whole, but a file cut short by hand is not).
    const std::uint64_t length = file->Length() / kFormRecord * kFormRecord;
    if (length > known.Read) {
        std::vector<char> added(static_cast<std::size_t>(length - known.Read));
        const auto read = file->ReadAt(known.Read, added.data(), added.size()).value_or(0);
        for (std::size_t at = 0; at + kFormRecord <= read; at += kFormRecord) {
            known.Forms.emplace(added.data() + at, 81);
        }
        known.Read += read / kFormRecord * kFormRecord;
    }
    if (!known.Forms.insert(form).second) return false;
    if (file->WriteWhole(length, form + '\n')) {
        known.Read = length + kFormRecord;
    } else {
        unstored_ = path;
    }
    return true;
}

BatchKeeper::BatchKeeper(const BatchSettings& batch, const std::filesystem::path& appFolder)
    : batch_(batch) {
    if (batch.Distinct) index_.emplace(appFolder);
}

BatchKeeper::Verdict BatchKeeper::Consider(const AcceptedPuzzle& puzzle,
                                           const std::string& patternCode, const Pattern& pattern) {
    const auto c = static_cast<std::size_t>(puzzle.Difficulty - 1);
    if (batch_.HasQuota() && (!batch_.Quota[c] || writtenPerClass_[c] >= *batch_.Quota[c])) {
        return Verdict::NotWanted;
    }
    if (index_ && !index_->Add(patternCode, pattern, puzzle.Givens)) {
        ++duplicates_;
        return Verdict::Duplicate;
    }
    ++writtenPerClass_[c];
    ++written_;
    return Verdict::Write;
}

bool BatchKeeper::Filled() const {
    if (!batch_.HasQuota()) return false;
    for (std::size_t c = 0; c < 6; ++c) {
        if (batch_.Quota[c] && writtenPerClass_[c] < *batch_.Quota[c]) return false;
    }
    return true;
}

bool BatchKeeper::TimeUp() const {
    return batch_.Seconds &&
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count() >=
               *batch_.Seconds;
}

}  // namespace cluemill
