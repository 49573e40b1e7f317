// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace cluemill {

// A file of fixed-length records (Patterns.rec, the per-class puzzle files),
// open for one read or one read-modify-write and locked against other
// programs for as long as the object lives: a shared lock for reading, an
// exclusive one for writing (advisory, flock). Two windows, or a window and
// cluemill-cli, on one folder thus never see or leave half a record.
//
// Only regular files are opened: a folder, a pipe or a device in the file's
// place fails at once instead of blocking.
class RecordFile {
  public:
    enum class Access { Read, Write };

    // Opens and locks the file; Write creates it when missing. Nothing when
    // it cannot be opened, is not a regular file, or stays locked by another
    // program for longer than a few seconds (errno tells which).
    static std::optional<RecordFile> Open(const std::filesystem::path& file, Access access);

    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    // The file's length now (0 when it cannot be told).
    std::uintmax_t Length() const;
    // Reads up to size bytes at offset; the number read (fewer at the end of
    // the file), or nothing when the file could not be read.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, void* to, std::size_t size) const;
    // Writes bytes at offset, whole or not at all: after a short or failed
    // write (a full disk, a file size limit) the bytes it replaced are put
    // back and the file is cut back to its former length. True if written;
    // otherwise errno tells why.
    bool WriteWhole(std::uint64_t offset, std::string_view bytes);

  private:
    explicit RecordFile(int descriptor) : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

// Creates file with exactly bytes, never replacing an existing file and
// never leaving part of the bytes under its name: they go to a hidden file
// beside it first, which is then linked under the name in one step. After
// Failed, errno tells why.
enum class CreateResult { Written, NameTaken, Failed };
CreateResult CreateWholeFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace cluemill
