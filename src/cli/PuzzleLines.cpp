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

namespace {

// The line rules of the puzzle-line commands: each(line) for every puzzle
// line, report(text) for a line too short and for a read error. Returns the
// exit status: 0, 1 after a short line, 2 after a read error.
int ReadPuzzleLines(std::istream& in, const std::string& command,
                    const std::function<void(std::string&)>& each,
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
        each(line);
    }
    if (in.bad()) {
        report("cluemill-cli " + command + ": read error after line " + std::to_string(number) +
               "\n");
        return 2;
    }
    return status;
}

}  // namespace

int ForEachPuzzleLine(std::istream& in, std::ostream& err, const std::string& command,
                      const std::function<void(const std::string&)>& each) {
    return ReadPuzzleLines(
        in, command, [&](std::string& line) { each(line); },
        [&](const std::string& text) { err << text; });
}

bool ParseNumber(const std::string& text, std::int64_t low, std::int64_t high,
                 std::int64_t& value) {
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used);
        return used == text.size() && value >= low && value <= high;
    } catch (const std::exception&) {
        return false;
    }
}

int DefaultJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

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

    std::mutex mutex;
    std::condition_variable workReady;
    std::condition_variable roomReady;
    // Batches not yet written, the oldest first; batch n (counting from 0)
    // is batches[n - written].
    std::deque<LineBatch> batches;
    std::size_t read = 0;
    std::size_t claimed = 0;
    std::size_t written = 0;
    bool endOfInput = false;

    // Called with the lock held by the job that finished a batch: writes
    // every finished batch at the front, in order.
    auto writeFinished = [&] {
        while (!batches.empty() && batches.front().Done) {
            for (const auto& entry : batches.front().Entries)
                (entry.Message ? err : out) << entry.Text;
            batches.pop_front();
            ++written;
            roomReady.notify_one();
        }
    };
    auto runJob = [&](const LineWorker& work) {
        std::unique_lock lock(mutex);
        for (;;) {
            workReady.wait(lock, [&] { return claimed < read || endOfInput; });
            if (claimed == read) return;
            // Deque elements stay where they are while others are added or
            // taken from the front.
            LineBatch& batch = batches[claimed++ - written];
            lock.unlock();
            std::string result;
            for (auto& entry : batch.Entries) {
                if (entry.Message) continue;
                result.clear();
                work(entry.Text, result);
                entry.Text.swap(result);
            }
            lock.lock();
            batch.Done = true;
            writeFinished();
        }
    };

    // The jobs start with the first whole batch: an input of one batch is
    // done on this thread, without starting any. Started one batch at a
    // time, the last job began milliseconds after the first.
    std::deque<LineWorker> workers;
    std::vector<std::thread> threads;
    LineBatch batch;
    auto submit = [&] {
        if (batch.Entries.empty()) return;
        while (threads.size() < static_cast<std::size_t>(jobs)) {
            workers.push_back(makeWorker());
            threads.emplace_back(runJob, std::cref(workers.back()));
        }
        std::unique_lock lock(mutex);
        roomReady.wait(
            lock, [&] { return read - written < kBatchesPerJob * static_cast<std::size_t>(jobs); });
        batches.push_back(std::move(batch));
        ++read;
        workReady.notify_one();
        batch = LineBatch{};
    };
    auto add = [&](std::string text, bool message) {
        batch.Entries.push_back({std::move(text), message});
        if (batch.Entries.size() == kBatchLines) submit();
    };
    const int status = ReadPuzzleLines(
        in, command,
        [&](std::string& line) {
            line.resize(kCells);
            add(line, false);
        },
        [&](const std::string& text) { add(text, true); });
    if (threads.empty()) {
        const LineWorker work = makeWorker();
        std::string result;
        for (const auto& entry : batch.Entries) {
            if (entry.Message) {
                err << entry.Text;
                continue;
            }
            result.clear();
            work(entry.Text, result);
            out << result;
        }
        return status;
    }
    submit();
    {
        std::lock_guard lock(mutex);
        endOfInput = true;
    }
    workReady.notify_all();
    for (auto& thread : threads) thread.join();
    return status;
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
