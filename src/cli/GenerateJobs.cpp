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

struct Job {
    std::unique_ptr<CliPlatform> Platform;
    std::unique_ptr<Main> Engine;
    std::mutex Lock;
    std::condition_variable Ready;      // a puzzle was queued, or the job ended
    std::condition_variable SpaceFree;  // the writer took a puzzle, or stop
    std::deque<AcceptedPuzzle> Queue;
    bool Done = false;
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
            j.Candidates.store(j.Engine->CandidatesTried, std::memory_order_relaxed);
            if (j.Stop.load(std::memory_order_relaxed)) j.Engine->CommandHalt_Click();
        };
        j.Engine->OnAccepted = [&j] {
            AcceptedPuzzle puzzle = j.Engine->LastAccepted();
            std::unique_lock lock(j.Lock);
            j.SpaceFree.wait(lock, [&] { return j.Queue.size() < kQueueLimit || j.Stop.load(); });
            j.Queue.push_back(std::move(puzzle));
            j.Ready.notify_one();
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
            j.Ready.notify_one();
        });
    }

    auto total = [&] {
        std::int64_t sum = 0;
        for (const auto& job : all) sum += job->Candidates.load(std::memory_order_relaxed);
        return sum;
    };
    std::vector<bool> finished(all.size(), false);
    std::size_t live = all.size();
    std::size_t next = 0;
    while (live > 0) {
        writer.CandidatesTried = total();
        writer.Platform.DoEvents();
        if (writer.HaltRequested) break;
        Job& job = *all[next];
        std::optional<AcceptedPuzzle> puzzle;
        {
            std::unique_lock lock(job.Lock);
            // A bounded wait, so that the writer's DoEvents (Ctrl-C, progress)
            // keeps running while the job searches.
            if (!job.Ready.wait_for(lock, std::chrono::milliseconds(50),
                                    [&] { return !job.Queue.empty() || job.Done; })) {
                continue;
            }
            if (!job.Queue.empty()) {
                puzzle = std::move(job.Queue.front());
                job.Queue.pop_front();
                job.SpaceFree.notify_one();
            }
        }
        if (puzzle) {
            writer.RecordAccepted(*puzzle);
        } else {
            finished[next] = true;
            --live;
        }
        if (live == 0) break;
        do next = (next + 1) % all.size();
        while (finished[next]);
    }

    for (auto& job : all) {
        std::lock_guard lock(job->Lock);
        job->Stop = true;
        job->SpaceFree.notify_all();
    }
    for (auto& thread : threads) thread.join();
    std::int64_t candidates = 0;
    for (const auto& job : all) candidates += job->Engine->CandidatesTried;
    writer.CandidatesTried = candidates;
    return live > 0;
}

}  // namespace cluemill
