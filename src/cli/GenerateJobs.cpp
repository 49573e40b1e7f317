// SPDX-License-Identifier: MIT
#include "cli/GenerateJobs.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/CliPlatform.h"

namespace cluemill {

namespace {

// Accepted puzzles a job may hold before it waits for the writer. A job runs
// ahead of the turn order while another job is in a barren stretch; a few
// hundred bytes a puzzle keep this bounded at about a megabyte.
constexpr std::size_t kQueueLimit = 4096;

// How long the writer sleeps when it has nothing it may write yet: the
// longest a written puzzle or a halt waits for it.
constexpr auto kWriterWait = std::chrono::milliseconds(5);

// An accepted puzzle with the number of digit placements its job had made
// when it was accepted: the job's own clock, the same in every run of a seed.
struct StampedPuzzle {
    std::int64_t At = 0;
    AcceptedPuzzle Puzzle;
};

struct Job {
    std::unique_ptr<CliPlatform> Platform;
    std::unique_ptr<Main> Engine;
    std::mutex Lock;
    std::condition_variable SpaceFree;  // the writer took a puzzle, or stop
    std::deque<StampedPuzzle> Queue;
    bool Done = false;
    // Digit placements so far: counted by the job, published for the writer.
    std::int64_t Placements = 0;
    alignas(64) std::atomic<std::int64_t> Published{0};
    // CandidatesTried of the engine, published for the writer's progress,
    // and the writer's request to halt. The job reads and writes them before
    // every digit it places: each has a cache line of its own, which nothing
    // else writes.
    alignas(64) std::atomic<std::int64_t> Candidates{0};
    alignas(64) std::atomic<bool> Stop{false};
};

// An engine with writer's pattern and options that records nothing.
void Configure(Main& engine, const Main& writer) {
    engine.Form.CheckMinimal.Value = writer.Form.CheckMinimal.Value;
    engine.Form.CheckLimit.Value = writer.Form.CheckLimit.Value;
    for (int i = 0; i < 4; ++i) engine.Form.Option1[i].Value = writer.Form.Option1[i].Value;
    engine.ExpandLevel = writer.ExpandLevel;
    engine.RenewAfter = writer.RenewAfter;
    engine.Form.CheckRandomPattern.Value = writer.Form.CheckRandomPattern.Value;
    engine.Library.File = writer.Library.File;
    engine.Library.PatternCount = writer.Library.PatternCount;
    engine.Library.CurrentPattern = writer.Library.CurrentPattern;
    engine.Library.PatternRec = writer.Library.PatternRec;
    engine.AppFolder = writer.AppFolder;
    engine.Form.Grid = writer.Form.Grid;
    engine.ClueCount = writer.ClueCount;
    engine.ClueCells = writer.ClueCells;
    engine.Form.Combo2.ListIndex = -1;
    engine.WritesFiles = false;
    engine.Generating = true;
    engine.HaltRequested = false;
    engine.CandidatesTried = 0;
}

}  // namespace

std::uint64_t JobSeed(std::uint64_t seed, int job) {
    if (job == 0) return seed;
    // SplitMix64 of the seed and the job: distinct, well spread streams.
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(job);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return (z ^ (z >> 31)) & 0x7FFFFFFFFFFFFFFFULL;
}

bool RunJobs(Main& writer, int jobs, std::optional<std::uint64_t> seed) {
    std::vector<std::unique_ptr<Job>> all;
    for (int k = 0; k < jobs; ++k) {
        auto job = std::make_unique<Job>();
        const std::optional<std::uint64_t> jobSeed =
            seed ? std::optional<std::uint64_t>(JobSeed(*seed, k)) : std::nullopt;
        job->Platform = std::make_unique<CliPlatform>(writer.Platform.ProgramFolder(), jobSeed);
        job->Engine = std::make_unique<Main>(*job->Platform);
        Configure(*job->Engine, writer);
        Job& j = *job;
        j.Platform->OnDoEvents = [&j] {
            j.Published.store(++j.Placements, std::memory_order_release);
            j.Candidates.store(j.Engine->CandidatesTried, std::memory_order_relaxed);
            if (j.Stop.load(std::memory_order_relaxed)) j.Engine->CommandHalt_Click();
        };
        j.Engine->OnAccepted = [&j] {
            StampedPuzzle puzzle{j.Placements, j.Engine->LastAccepted()};
            std::unique_lock lock(j.Lock);
            j.SpaceFree.wait(lock, [&] { return j.Queue.size() < kQueueLimit || j.Stop.load(); });
            j.Queue.push_back(std::move(puzzle));
        };
        all.push_back(std::move(job));
    }

    std::vector<std::thread> threads;
    threads.reserve(all.size());
    for (auto& job : all) {
        threads.emplace_back([&j = *job] {
            j.Engine->Run();
            std::lock_guard lock(j.Lock);
            j.Done = true;
        });
    }

    auto total = [&] {
        std::int64_t sum = 0;
        for (const auto& job : all) sum += job->Candidates.load(std::memory_order_relaxed);
        return sum;
    };
    // With a seed the puzzles are written in the order of their stamps (ties:
    // the lower job first). The earliest queued puzzle may be written once no
    // other job can still accept an earlier one: each other job has ended,
    // has a later puzzle queued, or has made more placements than its stamp.
    bool halted = false;
    bool haltedWhileRecording = false;
    for (;;) {
        writer.CandidatesTried = total();
        writer.Platform.DoEvents();
        if (writer.HaltRequested) {
            halted = true;
            break;
        }
        std::size_t first = all.size();
        std::int64_t firstAt = 0;
        bool running = false;
        for (std::size_t k = 0; k < all.size(); ++k) {
            std::lock_guard lock(all[k]->Lock);
            if (!all[k]->Queue.empty()) {
                if (first == all.size() || all[k]->Queue.front().At < firstAt) {
                    first = k;
                    firstAt = all[k]->Queue.front().At;
                }
            } else if (!all[k]->Done) {
                running = true;
            }
        }
        if (first == all.size() && !running) break;  // every job ran out of fillings
        bool safe = first < all.size();
        // Without a seed no run repeats another, so the order is free: a
        // puzzle is written as soon as it is queued, and a job that places
        // digits faster than another never waits for it.
        for (std::size_t k = 0; seed && safe && k < all.size(); ++k) {
            if (k == first) continue;
            Job& other = *all[k];
            const std::int64_t published = other.Published.load(std::memory_order_acquire);
            std::lock_guard lock(other.Lock);
            // A job's later puzzles carry at least the placements it had
            // published before its queue was looked at.
            const std::int64_t earliest = !other.Queue.empty() ? other.Queue.front().At : published;
            safe = (other.Queue.empty() && other.Done) || earliest > firstAt ||
                   (earliest == firstAt && k > first);
        }
        if (!safe) {
            // Nothing queued (the jobs are searching), or one lags behind:
            // look again a little later. Every wake-up of the writer takes a
            // core from a job and its cache with it, so the writer wakes
            // rarely and then writes everything that has become safe.
            std::this_thread::sleep_for(kWriterWait);
            continue;
        }
        StampedPuzzle puzzle;
        {
            std::lock_guard lock(all[first]->Lock);
            puzzle = std::move(all[first]->Queue.front());
            all[first]->Queue.pop_front();
            all[first]->SpaceFree.notify_one();
        }
        writer.RecordAccepted(puzzle.Puzzle);
        if (writer.HaltRequested) {
            haltedWhileRecording = true;
            halted = true;
            break;
        }
    }

    for (auto& job : all) {
        std::lock_guard lock(job->Lock);
        job->Stop = true;
        job->SpaceFree.notify_all();
    }
    for (auto& thread : threads) thread.join();
    // A halt from outside (Ctrl-C) loses no puzzle a job had accepted: with
    // every job ended, each queued puzzle may be written, in stamp order
    // (ties: the lower job first) as before. A halt the writer asked for
    // itself (the count reached) keeps the rest unwritten, and so does a
    // recording that asks for a halt on the way.
    if (halted && !haltedWhileRecording) {
        writer.HaltRequested = false;
        for (;;) {
            Job* first = nullptr;
            for (auto& job : all) {
                if (!job->Queue.empty() &&
                    (first == nullptr || job->Queue.front().At < first->Queue.front().At)) {
                    first = job.get();
                }
            }
            if (first == nullptr) break;
            writer.RecordAccepted(first->Queue.front().Puzzle);
            first->Queue.pop_front();
            if (writer.HaltRequested) break;
        }
        writer.HaltRequested = true;
    }
    std::int64_t candidates = 0;
    for (const auto& job : all) candidates += job->Engine->CandidatesTried;
    writer.CandidatesTried = candidates;
    return halted;
}

}  // namespace cluemill
