// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "generator/Generator.h"

namespace cluemill {

// The one who records the puzzles of a run of several jobs, on the thread
// that started it.
class JobsWriter {
  public:
    virtual ~JobsWriter() = default;
    // Called while the writer waits, every few milliseconds, with the
    // candidates the jobs have decided so far: true halts every job (the
    // puzzles they had accepted are still recorded).
    virtual bool Poll(std::int64_t candidates) = 0;
    // Records an accepted puzzle: true ends the run at once, recording no
    // other puzzle (a count reached).
    virtual bool Record(const AcceptedPuzzle& puzzle) = 0;
};

// What the writer sees of one job when it orders their puzzles: the stamp of
// its earliest queued puzzle, the polls it had published before its queue
// was looked at, and whether it has ended.
struct JobView {
    std::optional<std::int64_t> Front;
    std::int64_t Published = 0;
    bool Done = false;
};

// The job whose queued puzzle comes first: the earliest stamp, on a tie the
// lower job. jobs.size() when nothing is queued.
std::size_t EarliestQueued(const std::vector<JobView>& jobs);
// Whether the puzzle of job `first` stamped `at` may be recorded now in a
// seeded run: no other job can still queue one that comes before it (each
// has ended with nothing queued, or its earliest puzzle, queued or still to
// come, has a later stamp, or the same stamp and a higher job).
bool NothingEarlierToCome(const std::vector<JobView>& jobs, std::size_t first, std::int64_t at);

// The seed of job `job` of a run seeded with `seed`: job 0 keeps the seed
// itself, so that a run of one job is the run without jobs.
std::uint64_t JobSeed(std::uint64_t seed, int job);

// How a run of several jobs ended, and the candidates its jobs decided.
struct JobsResult {
    RunEnd End = RunEnd::Exhausted;
    std::int64_t CandidatesTried = 0;
};

// Runs `jobs` generators with the same settings side by side, each on its
// own thread with its own random stream (JobSeed of seed, or the clock), and
// hands their accepted puzzles to the writer. Random patterns are read from
// library, a copy per job. Each puzzle carries the number of polls its job
// had made when it was accepted: with a seed, puzzles are recorded in that
// order (ties: the lower job first), so a seeded run records the same
// puzzles every time; without one, each is recorded as soon as it comes.
JobsResult RunJobs(const RunSettings& settings, int jobs, std::optional<std::uint64_t> seed,
                   const PatternLibrary& library, JobsWriter& writer);

}  // namespace cluemill
