// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "generator/Generator.h"
#include "patterns/Symmetry.h"

namespace cluemill {

// A setter's order beyond a plain run: how many puzzles of each class,
// puzzles distinct up to symmetry, and a time limit.
struct BatchSettings {
    // Per class (index class - 1): the puzzles wanted, or nothing. With any
    // quota set, only classes with a quota still open are written.
    std::array<std::optional<std::int64_t>, 6> Quota{};
    // Never write a puzzle equivalent to one already written for the same
    // pattern in the data folder.
    bool Distinct = false;
    // The run ends as if halted after this many seconds.
    std::optional<double> Seconds;

    bool HasQuota() const;
    // True when the batch asks nothing beyond a plain run.
    bool Plain() const { return !HasQuota() && !Distinct && !Seconds; }
};

// The class of a name as a setter writes it: "1" to "6", or "very-easy",
// "easy", "medium", "hard", "very-hard", "others"; 0 for anything else.
int ClassOfName(const std::string& name);
// Quotas from "CLASS=N[,CLASS=N...]"; the reason when the text is not that.
std::optional<std::string> ParseQuotas(const std::string& text, BatchSettings& batch);

// The canonical forms of the puzzles written for each pattern in a data
// folder: Distinct/CODE.txt, one 81-character form and a line end per
// puzzle. Every check of a form and the addition of a new one happen under
// the file's lock, so two programs working in the folder never both write
// equivalent puzzles; what others added is read as it comes.
class DistinctIndex {
  public:
    explicit DistinctIndex(std::filesystem::path appFolder) : folder_(appFolder / "Distinct") {}
    // Adds the puzzle's form for the pattern and returns true, or returns
    // false when an equivalent puzzle was written before. A form that cannot
    // be stored (the file cannot be written) lets the puzzle through, is
    // still kept for this run, and leaves the file in Unstored (errno says
    // why); the next Add clears it.
    bool Add(const std::string& patternCode, const Pattern& pattern, const CellValues& givens);
    const std::optional<std::filesystem::path>& Unstored() const { return unstored_; }

  private:
    struct Known {
        std::unique_ptr<PatternSymmetry> Symmetry;
        std::set<std::string> Forms;
        std::uint64_t Read = 0;  // bytes of the file read so far
    };
    std::filesystem::path folder_;
    std::map<std::string, Known> known_;
    std::optional<std::filesystem::path> unstored_;
};

// Keeps a batch's order while its puzzles come: which to write, which to
// pass over, when the order is filled and when time is up.
class BatchKeeper {
  public:
    enum class Verdict {
        Write,      // wanted: write it and count it
        NotWanted,  // its class is not asked for or its quota is met: count it only
        Duplicate,  // equivalent to one written before: neither write nor count it
    };

    BatchKeeper(const BatchSettings& batch, const std::filesystem::path& appFolder);
    // The fate of an accepted puzzle of the pattern (code and cells); a
    // puzzle to write is counted against its quota (and, with distinct
    // puzzles, its form kept) at once.
    Verdict Consider(const AcceptedPuzzle& puzzle, const std::string& patternCode,
                     const Pattern& pattern);
    // Every quota is met.
    bool Filled() const;
    // The time limit has passed (read the clock once per call).
    bool TimeUp() const;
    // The distinct puzzles' file that the last puzzle written could not be
    // stored in, if any (errno says why).
    std::optional<std::filesystem::path> Unstored() const {
        return index_ ? index_->Unstored() : std::nullopt;
    }
    std::int64_t Duplicates() const { return duplicates_; }
    std::int64_t Written() const { return written_; }

  private:
    BatchSettings batch_;
    std::array<std::int64_t, 6> writtenPerClass_{};
    std::int64_t written_ = 0;
    std::int64_t duplicates_ = 0;
    std::optional<DistinctIndex> index_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace cluemill
