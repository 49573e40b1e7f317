// SPDX-License-Identifier: MIT
// Sessions of cluemill-cli recorded in tests/data/transcripts, replayed
// in-process. A file holds cases; each case gets a fresh empty folder:
//
//   == TITLE      a case begins; {dir} is its folder, {data} is tests/data
//   $ ARGS        cluemill-cli with these arguments (split at blanks)
//   + mkdir PATH  makes a folder with its parents
//   + write PATH TEXT   writes TEXT to a file
//   + copy FROM TO      copies a file (binary records kept in tests/data)
//   + files       prints every file under {dir}: path, size in bytes and
//                 64-bit FNV-1a hash of the bytes, separated by TABs
//   < TEXT        a line of standard input for the command above
//   > TEXT        the next line it prints; "> ..." ends the comparison
//   ! TEXT        the next line on standard error; lines not listed are
//                 not compared
//   ? N           its exit status (0 when not given)
//
// In TEXT, \t is a TAB and \r a carriage return; '#' begins a comment line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/TempFolder.h"
#include "cli/CliRunner.h"

namespace cluemill {
namespace {

namespace fs = std::filesystem;

struct Step {
    std::string Command;  // the "$" or "+" line, without its marker
    std::string Input;
    std::vector<std::string> Out, Err;
    int Status = 0;
};

std::string Unescape(std::string text, const std::string& dir) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\\t", "\t"},
                                   {"\\r", "\r"},
                                   {"{dir}", dir},
                                   {"{data}", CLUEMILL_TEST_DATA}}) {
        for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos;) {
            text.replace(at, from.size(), to);
            at += to.size();
        }
    }
    return text;
}

testing::CliRun Perform(const Step& step, const fs::path& dir) {
    const std::vector<std::string> args = testing::Split(step.Command.substr(2), ' ', true);
    if (step.Command[0] == '$') return testing::RunCommand(args, step.Input);
    testing::CliRun run;
    if (args[0] == "mkdir") fs::create_directories(args[1]);
    if (args[0] == "copy") fs::copy_file(args[1], args[2]);
    if (args[0] == "write") {
        testing::WriteBytes(args[1],
                            step.Command.substr(step.Command.find(args[1]) + 1 + args[1].size()));
    }
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file() || args[0] != "files") continue;
        const std::string bytes = testing::ReadBytes(entry.path());
        std::uint64_t hash = 1469598103934665603ULL;
        for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        files.push_back(fs::relative(entry.path(), dir).generic_string() + '\t' +
                        std::to_string(bytes.size()) + '\t' + hex);
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) run.Out += file + '\n';
    return run;
}

void Check(const Step& step, const fs::path& dir) {
    SCOPED_TRACE(step.Command);
    const testing::CliRun run = Perform(step, dir);
    EXPECT_EQ(run.Status, step.Status) << run.Err;
    const std::vector<std::string> out = testing::Split(run.Out, '\n');
    const std::vector<std::string> err = testing::Split(run.Err, '\n');
    const bool cut = !step.Out.empty() && step.Out.back() == "...";
    const std::size_t listed = step.Out.size() - (cut ? 1 : 0);
    EXPECT_EQ(cut ? std::min(out.size(), listed) : out.size(), listed) << run.Out;
    for (std::size_t i = 0; i < listed && i < out.size(); ++i) {
        EXPECT_EQ(out[i], step.Out[i]) << "printed line " << i + 1;
    }
    for (std::size_t i = 0; i < step.Err.size(); ++i) {
        EXPECT_EQ(i < err.size() ? err[i] : "(nothing)", step.Err[i]) << "error line " << i + 1;
    }
}

class Transcript : public ::testing::TestWithParam<const char*> {};

TEST_P(Transcript, Replays) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/transcripts/" + GetParam() + ".txt");
    ASSERT_TRUE(in) << GetParam();
    std::unique_ptr<testing::TempFolder> folder;
    std::vector<Step> steps;
    std::string title;
    const auto finish = [&] {
        SCOPED_TRACE(title);
        for (const Step& step : steps) Check(step, folder->Path);
        steps.clear();
    };
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string dir = folder ? folder->Path.string() : "";
        const std::string text = Unescape(line.size() > 2 ? line.substr(2) : "", dir);
        switch (line[0]) {
            case '=':
                if (folder) finish();
                folder = std::make_unique<testing::TempFolder>();
                title = line;
                break;
            case '$':
            case '+':
                steps.emplace_back();
                steps.back().Command = std::string(1, line[0]) + " " + text;
                break;
            case '<':
                steps.back().Input += text + '\n';
                break;
            case '>':
                steps.back().Out.push_back(text);
                break;
            case '!':
                steps.back().Err.push_back(text);
                break;
            case '?':
                steps.back().Status = std::stoi(text);
                break;
            default:
                ADD_FAILURE() << "not a transcript line: " << line;
        }
    }
    if (folder) finish();
}

INSTANTIATE_TEST_SUITE_P(Cli, Transcript,
                         ::testing::Values("Rate", "Test", "Grade", "Generate", "GenerateJobs",
                                           "Patterns", "Canon"),
                         [](const auto& row) { return std::string(row.param); });

}  // namespace
}  // namespace cluemill
