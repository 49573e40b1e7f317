// SPDX-License-Identifier: MIT
#include "patterns/RecordFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace cluemill {

namespace {

// A lock is held for one record's read or write; waiting longer than this
// means the other side is stuck, and the access is given up.
constexpr auto kLockWait = std::chrono::seconds(5);

bool LockWithin(int descriptor, int operation) {
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    while (flock(descriptor, operation | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool WriteAll(int descriptor, std::uint64_t offset, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = pwrite(descriptor, bytes, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

int OpenRegular(const std::filesystem::path& file, int flags) {
    // O_NONBLOCK: opening a pipe for reading would wait for a writer. Only a
    // regular file is kept, and reads and writes of one never block anyway,
    // so the flag can stay.
    const int descriptor = open(file.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (descriptor < 0) return -1;
    struct stat status {};
    const bool known = fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        const int reason = !known ? errno : S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        close(descriptor);
        errno = reason;
        return -1;
    }
    return descriptor;
}

}  // namespace

std::optional<RecordFile> RecordFile::Open(const std::filesystem::path& file, Access access) {
    const bool write = access == Access::Write;
    const int descriptor = OpenRegular(file, write ? O_RDWR | O_CREAT : O_RDONLY);
    if (descriptor < 0) return std::nullopt;
    RecordFile opened(descriptor);
    if (!LockWithin(descriptor, write ? LOCK_EX : LOCK_SH)) {
        if (errno == EINTR) errno = EWOULDBLOCK;  // given up waiting for another program
        return std::nullopt;
    }
    return opened;
}

RecordFile::RecordFile(RecordFile&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) close(descriptor_);
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

RecordFile::~RecordFile() {
    if (descriptor_ >= 0) close(descriptor_);
}

std::uintmax_t RecordFile::Length() const {
    struct stat status {};
    if (fstat(descriptor_, &status) != 0 || status.st_size < 0) return 0;
    return static_cast<std::uintmax_t>(status.st_size);
}

std::optional<std::size_t> RecordFile::ReadAt(std::uint64_t offset, void* to,
                                              std::size_t size) const {
    auto* bytes = static_cast<char*>(to);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t read =
            pread(descriptor_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return std::nullopt;
        if (read == 0) break;
        done += static_cast<std::size_t>(read);
    }
    return done;
}

bool RecordFile::WriteWhole(std::uint64_t offset, std::string_view bytes) {
    const std::uintmax_t length = Length();
    // What the write replaces, to put back if it stops half way.
    std::vector<char> replaced;
    if (offset < length) {
        replaced.resize(
            static_cast<std::size_t>(std::min<std::uintmax_t>(bytes.size(), length - offset)));
        replaced.resize(ReadAt(offset, replaced.data(), replaced.size()).value_or(0));
    }
    if (WriteAll(descriptor_, offset, bytes.data(), bytes.size())) return true;
    const int reason = errno == 0 ? EIO : errno;
    WriteAll(descriptor_, offset, replaced.data(), replaced.size());
    if (Length() > length) {
        while (ftruncate(descriptor_, static_cast<off_t>(length)) != 0 && errno == EINTR) {
        }
    }
    errno = reason;
    return false;
}

CreateResult CreateWholeFile(const std::filesystem::path& file, std::string_view bytes) {
    static std::atomic<unsigned> serial{0};
    const std::filesystem::path partial =
        file.parent_path() / ("." + file.filename().string() + ".partial-" +
                              std::to_string(getpid()) + "-" + std::to_string(serial++));
    const int descriptor =
        open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (descriptor < 0) return CreateResult::Failed;
    bool whole = WriteAll(descriptor, 0, bytes.data(), bytes.size());
    int reason = whole ? 0 : errno;
    if (close(descriptor) != 0 && whole) {
        whole = false;
        reason = errno;
    }
    CreateResult result = CreateResult::Failed;
    if (whole) {
        // A rename that refuses to replace; where the file system cannot do
        // that, a hard link does the same.
        int moved = renameat2(AT_FDCWD, partial.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE);
        if (moved != 0 && errno != EEXIST) moved = link(partial.c_str(), file.c_str());
        if (moved == 0) {
            result = CreateResult::Written;
        } else if (errno == EEXIST) {
            result = CreateResult::NameTaken;
        }
        reason = errno;
    }
    unlink(partial.c_str());
    errno = reason;
    return result;
}

}  // namespace cluemill
