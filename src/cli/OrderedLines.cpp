// SPDX-License-Identifier: MIT
// The puzzle lines of rate and grade worked on by several jobs, the results
// written in the order of the lines.
#include <condition_variable>
#include <deque>
#include <functional>
#include <istream>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "cli/PuzzleLines.h"
#include "solver/Geometry.h"

namespace cluemill {

namespace {

// A run of consecutive input lines: puzzle lines cut to 81 characters, which
// a worker replaces by their results, and messages about short lines.
struct LineBatch {
    struct Entry {
        std::string Text;
        bool Message = false;
    };
    std::vector<Entry> Entries;
    bool Done = false;
};

// A batch closes at this many lines; a few batches per job are read ahead.
constexpr std::size_t kBatchLines = 64;
constexpr std::size_t kBatchesPerJob = 4;

// Replaces the batch's puzzle lines by their results.
void Work(const LineWorker& work, LineBatch& batch) {
    std::string result;
    for (auto& entry : batch.Entries) {
        if (entry.Message) continue;
        result.clear();
        work(entry.Text, result);
        entry.Text.swap(result);
    }
}

void Write(const LineBatch& batch, std::ostream& out, std::ostream& err) {
    for (const auto& entry : batch.Entries) (entry.Message ? err : out) << entry.Text;
}

// Batches read on this thread, worked on by the jobs and written in order by
// the job that finishes the batch at the front.
class OrderedBatches {
  public:
    OrderedBatches(std::ostream& out, std::ostream& err, int jobs,
                   const std::function<LineWorker()>& makeWorker)
        : out_(out), err_(err), jobs_(static_cast<std::size_t>(jobs)), makeWorker_(makeWorker) {}

    // Hands a batch to the jobs, starting them with the first: an input of
    // one batch is done on this thread, without starting any. Started one
    // batch at a time, the last job began milliseconds after the first.
    void Submit(LineBatch batch) {
        while (threads_.size() < jobs_) {
            workers_.push_back(makeWorker_());
            threads_.emplace_back([this, &work = workers_.back()] { RunJob(work); });
        }
        std::unique_lock lock(mutex_);
        roomReady_.wait(lock, [&] { return read_ - written_ < kBatchesPerJob * jobs_; });
        batches_.push_back(std::move(batch));
        ++read_;
        workReady_.notify_one();
    }
    bool Started() const { return !threads_.empty(); }
    // Lets the jobs finish what was submitted.
    void Finish() {
        {
            std::lock_guard lock(mutex_);
            endOfInput_ = true;
        }
        workReady_.notify_all();
        for (auto& thread : threads_) thread.join();
    }

  private:
    void RunJob(const LineWorker& work) {
        std::unique_lock lock(mutex_);
        for (;;) {
            workReady_.wait(lock, [&] { return claimed_ < read_ || endOfInput_; });
            if (claimed_ == read_) return;
            // Deque elements stay where they are while others are added or
            // taken from the front.
            LineBatch& batch = batches_[claimed_++ - written_];
            lock.unlock();
            Work(work, batch);
            lock.lock();
            batch.Done = true;
            // Every finished batch at the front, in order.
            while (!batches_.empty() && batches_.front().Done) {
                Write(batches_.front(), out_, err_);
                batches_.pop_front();
                ++written_;
                roomReady_.notify_one();
            }
        }
    }

    std::ostream& out_;
    std::ostream& err_;
    std::size_t jobs_;
    const std::function<LineWorker()>& makeWorker_;
    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable roomReady_;
    // Batches not yet written, the oldest first; batch n (counting from 0)
    // is batches_[n - written_].
    std::deque<LineBatch> batches_;
    std::size_t read_ = 0;
    std::size_t claimed_ = 0;
    std::size_t written_ = 0;
    bool endOfInput_ = false;
    std::deque<LineWorker> workers_;
    std::vector<std::thread> threads_;
};

}  // namespace

int ForEachPuzzleLine(std::istream& in, std::ostream& out, std::ostream& err,
                      const std::string& command, int jobs,
                      const std::function<LineWorker()>& makeWorker) {
    if (jobs <= 1) {
        const LineWorker work = makeWorker();
        std::string result;
        return ForEachPuzzleLine(in, err, command, [&](const std::string& line) {
            result.clear();
            work(line, result);
            out << result;
        });
    }
    // Reading from a stream tied to out (std::cin is tied to std::cout)
    // flushes out on this thread, while a job may be writing to it: bytes
    // written twice or lost. The lines are read untied; the tie comes back.
    struct Untie {
        std::istream& In;
        std::ostream* Tied = In.tie(nullptr);
        ~Untie() { In.tie(Tied); }
    } untie{in};
    OrderedBatches ordered(out, err, jobs, makeWorker);
    LineBatch batch;
    const auto add = [&](std::string text, bool message) {
        batch.Entries.push_back({std::move(text), message});
        if (batch.Entries.size() == kBatchLines) ordered.Submit(std::exchange(batch, LineBatch{}));
    };
    const int status = ReadPuzzleLines(
        in, command,
        [&](std::string& line, long long) {
            line.resize(kCells);
            add(line, false);
        },
        [&](const std::string& text) { add(text, true); });
    if (!ordered.Started()) {
        Work(makeWorker(), batch);
        Write(batch, out, err);
        return status;
    }
    if (!batch.Entries.empty()) ordered.Submit(std::move(batch));
    ordered.Finish();
    return status;
}

}  // namespace cluemill
