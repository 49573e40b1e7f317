// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace cluemill::testing {

// A fresh folder for one test, named after it, removed with everything in it
// when the test ends.
struct TempFolder {
    std::filesystem::path Path =
        std::filesystem::path(::testing::TempDir()) /
        ("cluemill_" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
         std::to_string(std::random_device{}()));
    TempFolder() { std::filesystem::create_directories(Path); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace cluemill::testing
