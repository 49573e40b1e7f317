// SPDX-License-Identifier: MIT
// What the fuzz targets share: a private scratch folder that lives as long
// as the process, one window on it, and a check that stops the run with a
// clear message.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/FakePlatform.h"
#include "app/Main.h"

namespace cluemill::fuzz {

// A fresh folder under the system's temporary folder, removed at exit. The
// path is never destroyed: a static one would be gone before the handler
// that removes the folder runs.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path* const folder = [] {
        std::string name =
            (std::filesystem::temp_directory_path() / "cluemill-fuzz-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) std::abort();
        auto* made = new std::filesystem::path(name);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return made;
    }();
    return *folder;
}

inline testing::FakePlatform& Platform() {
    static testing::FakePlatform* const platform = new testing::FakePlatform;
    return *platform;
}

// One window for all runs (it is large), loaded once on the scratch folder.
inline Main& Window() {
    static Main* const main = [] {
        Platform().Folder = ScratchFolder().string();
        auto* made = new Main(Platform());
        made->Form_Load();
        return made;
    }();
    return *main;
}

inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A broken promise of the code under test: report and abort, so that the
// fuzzer keeps the input.
inline void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

}  // namespace cluemill::fuzz
