// SPDX-License-Identifier: MIT
#include "generator/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace cluemill {

namespace {

// Accepted puzzles a job may hold before it waits for the writer: a guard
// on memory only (a few hundred bytes a puzzle, about a megabyte a job),
// which a job reaches only when it is thousands of puzzles ahead of another.
constexpr std::size_t kQueueLimit = 4096;

// The longest the writer waits without being woken: it polls its own
// halt (Ctrl-C, a time limit) and progress at least this often and, in a
// run without a seed, takes the puzzles queued since.
constexpr auto kWriterWait = std::chrono::milliseconds(5);

// What wakes the writer: a job queued a puzzle, passed the stamp the writer
// waits for, or ended.
struct WriterSignal {
    std::mutex Lock;
    std::condition_variable Changed;
    bool Pending = false;

    void Raise() {
        {
            std::lock_guard lock(Lock);
            Pending = true;
        }
        Changed.notify_one();
    }
    void Wait() {
        std::unique_lock lock(Lock);
        Changed.wait_for(lock, kWriterWait, [&] { return Pending; });
        Pending = false;
    }
};

// An accepted puzzle with the number of polls its job had made when it was
// accepted: the job's own clock, the same in every run of a seed.
struct StampedPuzzle {
    std::int64_t At = 0;
    AcceptedPuzzle Puzzle;
};

// One job: a generator on a thread of its own, which observes its own run,
// queues what it accepts, and publishes its progress for the writer.
struct Job final : RunObserver {
    Job(std::optional<std::uint64_t> seed, const PatternLibrary& library, WriterSignal& signal)
        : Random(seed),
          Engine(Random),
          Library(library),
          Signal(signal),
          WakeOnAccept(seed.has_value()) {}

    bool Poll() override {
        Published.store(++Placements, std::memory_order_release);
        Candidates.store(Engine.CandidatesTried, std::memory_order_relaxed);
        if (Placements == WakeAt.load(std::memory_order_relaxed)) Signal.Raise();
        return Stop.load(std::memory_order_relaxed);
    }
    void Accepted(const AcceptedPuzzle& puzzle) override {
        StampedPuzzle stamped{Placements, puzzle};
        {
            std::unique_lock lock(Lock);
            SpaceFree.wait(lock, [&] { return Queue.size() < kQueueLimit || Stop.load(); });
            Queue.push_back(std::move(stamped));
        }
        if (WakeOnAccept) Signal.Raise();
    }
    Pattern PatternOf(std::int32_t record) override {
        return DecodePattern(Library.ReadPatternRecord(record).PatternCode);
    }

    StreamRandom Random;
    Generator Engine;
    PatternLibrary Library;
    WriterSignal& Signal;
    // A seeded run's writer waits for the next puzzle in stamp order and is
    // woken for each. Without a seed it looks every few milliseconds and
    // takes what has come: a wake-up per puzzle would cost the jobs a
    // switch of thread each, several percent of a fast pattern's run.
    const bool WakeOnAccept;
    std::mutex Lock;
    std::condition_variable SpaceFree;  // the writer took a puzzle, or stop
    std::deque<StampedPuzzle> Queue;
    bool Done = false;
    // Polls so far: counted by the job, published for the writer.
    std::int64_t Placements = 0;
    // The job reads and writes these before every digit it places: each has
    // a cache line of its own, which nothing else writes (the writer sets
    // WakeAt only when it has to wait for this job).
    alignas(64) std::atomic<std::int64_t> Published{0};
    alignas(64) std::atomic<std::int64_t> Candidates{0};
    alignas(64) std::atomic<bool> Stop{false};
    // The poll at which the writer wants to hear from this job: then a
    // puzzle another job queued may be certain of its place.
    alignas(64) std::atomic<std::int64_t> WakeAt{-1};
};

using Jobs = std::vector<std::unique_ptr<Job>>;

// What the writer sees of each job now. A job's later puzzles carry at
// least the polls it had published before its queue was looked at.
std::vector<JobView> Views(const Jobs& jobs) {
    std::vector<JobView> views(jobs.size());
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        views[k].Published = jobs[k]->Published.load(std::memory_order_acquire);
        std::lock_guard lock(jobs[k]->Lock);
        if (!jobs[k]->Queue.empty()) views[k].Front = jobs[k]->Queue.front().At;
        views[k].Done = jobs[k]->Done;
    }
    return views;
}

AcceptedPuzzle TakeFront(Job& job) {
    std::lock_guard lock(job.Lock);
    AcceptedPuzzle puzzle = std::move(job.Queue.front().Puzzle);
    job.Queue.pop_front();
    job.SpaceFree.notify_one();
    return puzzle;
}

// Asks every job that may still queue a puzzle before the one of job
// `first` stamped `at` to wake the writer when it has passed that stamp;
// false when one already has (the writer looks again at once).
bool AskToWake(const Jobs& jobs, std::size_t first, std::int64_t at) {
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        if (k == first) continue;
        // A lower job must go past the stamp, a higher one only reach it.
        const std::int64_t passed = k < first ? at + 1 : at;
        jobs[k]->WakeAt.store(passed, std::memory_order_relaxed);
        if (jobs[k]->Published.load(std::memory_order_acquire) >= passed) return false;
    }
    return true;
}

// The writer's loop until a halt or the end of every job; true when halted,
// recording set when a recording asked for the halt. In a seeded run it
// sleeps until a job has something that may change what it may write, so
// no puzzle waits for it to look again; the jobs never wait for it.
bool WriteWhileRunning(const Jobs& jobs, bool seeded, JobsWriter& writer, WriterSignal& signal,
                       bool& recording) {
    recording = false;
    for (;;) {
        std::int64_t candidates = 0;
        for (const auto& job : jobs) candidates += job->Candidates.load(std::memory_order_relaxed);
        if (writer.Poll(candidates)) return true;
        const std::vector<JobView> views = Views(jobs);
        const std::size_t first = EarliestQueued(views);
        const bool running =
            std::any_of(views.begin(), views.end(), [](const JobView& view) { return !view.Done; });
        if (first == jobs.size() && !running) return false;  // every job ran out of fillings
        // Without a seed no run repeats another, so the order is free: a
        // puzzle is written within a few milliseconds of being queued.
        if (first == jobs.size()) {
            signal.Wait();
            continue;
        }
        if (seeded && !NothingEarlierToCome(views, first, *views[first].Front)) {
            if (AskToWake(jobs, first, *views[first].Front)) signal.Wait();
            continue;
        }
        if (writer.Record(TakeFront(*jobs[first]))) {
            recording = true;
            return true;
        }
    }
}

}  // namespace

std::size_t EarliestQueued(const std::vector<JobView>& jobs) {
    std::size_t first = jobs.size();
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        if (jobs[k].Front && (first == jobs.size() || *jobs[k].Front < *jobs[first].Front)) {
            first = k;
        }
    }
    return first;
}

bool NothingEarlierToCome(const std::vector<JobView>& jobs, std::size_t first, std::int64_t at) {
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        if (k == first || (!jobs[k].Front && jobs[k].Done)) continue;
        const std::int64_t earliest = jobs[k].Front.value_or(jobs[k].Published);
        if (earliest < at || (earliest == at && k < first)) return false;
    }
    return true;
}

std::uint64_t JobSeed(std::uint64_t seed, int job) {
    if (job == 0) return seed;
    // SplitMix64 of the seed and the job: distinct, well spread streams.
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(job);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return (z ^ (z >> 31)) & 0x7FFFFFFFFFFFFFFFULL;
}

JobsResult RunJobs(const RunSettings& settings, int jobs, std::optional<std::uint64_t> seed,
                   const PatternLibrary& library, JobsWriter& writer) {
    WriterSignal signal;
    Jobs all;
    for (int k = 0; k < jobs; ++k) {
        all.push_back(std::make_unique<Job>(
            seed ? std::optional<std::uint64_t>(JobSeed(*seed, k)) : std::nullopt, library,
            signal));
    }
    std::vector<std::thread> threads;
    threads.reserve(all.size());
    for (auto& job : all) {
        threads.emplace_back([&settings, &j = *job] {
            j.Engine.Run(settings, j);
            {
                std::lock_guard lock(j.Lock);
                j.Done = true;
            }
            j.Signal.Raise();
        });
    }

    bool recording = false;
    const bool halted = WriteWhileRunning(all, seed.has_value(), writer, signal, recording);
    for (auto& job : all) {
        std::lock_guard lock(job->Lock);
        job->Stop = true;
        job->SpaceFree.notify_all();
    }
    for (auto& thread : threads) thread.join();
    // A halt from outside (Ctrl-C) loses no puzzle a job had accepted: with
    // every job ended, each queued puzzle is recorded, in stamp order (ties:
    // the lower job first) as before. A halt a recording asked for (the
    // count reached) records no other.
    while (halted && !recording) {
        const std::size_t first = EarliestQueued(Views(all));
        if (first == all.size() || writer.Record(TakeFront(*all[first]))) break;
    }
    JobsResult result{halted ? RunEnd::Halted : RunEnd::Exhausted, 0};
    for (const auto& job : all) result.CandidatesTried += job->Engine.CandidatesTried;
    return result;
}

}  // namespace cluemill
