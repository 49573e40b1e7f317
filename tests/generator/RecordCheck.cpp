// SPDX-License-Identifier: MIT
// One-off check of the recorded verdicts against the literal references.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "generator/ReferenceAcceptance.h"
#include "solver/ReferenceSolver.h"
#include "tester/PuzzleText.h"
#include "tester/ReferenceTester.h"

namespace cluemill {
namespace {

using Grid = std::array<std::int16_t, 81>;

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) parts.push_back(part);
    return parts;
}

Grid ToGrid(const std::string& text) {
    Grid g{};
    for (int i = 0; i < 81; ++i) g[i] = text[i] >= '1' && text[i] <= '9' ? text[i] - '0' : 0;
    return g;
}
std::string ToText(const Grid& g, char empty = '.') {
    std::string t(81, empty);
    for (int i = 0; i < 81; ++i)
        if (g[i] > 0) t[i] = static_cast<char>('0' + g[i]);
    return t;
}
bool Conflict(const Grid& g) {
    CellValues c{};
    for (int i = 0; i < 81; ++i) c[i] = static_cast<std::int8_t>(g[i]);
    return GivensConflict(c);
}
int Empty(const Grid& g) {
    int n = 0;
    for (auto v : g) n += v == 0;
    return n;
}

reference::Result Solve(const Grid& p) {
    static std::map<Grid, reference::Result> memo;
    auto [it, added] = memo.try_emplace(p);
    if (added) it->second = reference::UniqueSud(p, 200'000'000);
    return it->second;
}

// Accepted by UniqueSud in a run.
bool RunAccepts(const Grid& p, bool limit) {
    const auto r = Solve(p);
    EXPECT_TRUE(r.Completed);
    return r.Unique && (!limit || r.Difficulty <= 5);
}
bool Minimal(const Grid& p, bool limit) {
    for (int k = 0; k < 81; ++k) {
        if (p[k] == 0) continue;
        Grid w = p;
        w[k] = 0;
        if (RunAccepts(w, limit)) return false;
    }
    return true;
}

struct Record {
    std::string Puzzle;
    std::vector<std::string> Fields;
};
std::vector<Record> Load(const std::string& name) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/" + name);
    std::vector<Record> r;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream tail(line.substr(82));
        Record rec{line.substr(0, 81), {}};
        for (std::string f; tail >> f;) rec.Fields.push_back(f);
        r.push_back(rec);
    }
    return r;
}

std::vector<std::vector<std::string>> RunCli2(std::vector<std::string> args,
                                              const std::string& file) {
    args.push_back(std::string(CLUEMILL_TEST_DATA) + "/" + file);
    const auto run = testing::RunCommand(args);
    EXPECT_EQ(run.Status, 0);
    std::vector<std::vector<std::string>> out;
    for (const auto& l : Split(run.Out, '\n')) out.push_back(Split(l, '\t'));
    return out;
}

const char* Code(const std::string& verdict) {
    if (verdict == "Invalid given(s) found !!!") return "I";
    if (verdict == "The sudoku you want to test is complete allready !!!") return "C";
    if (verdict == "This Sudoku has no solution") return "0";
    if (verdict == "This Sudoku has more than one solution") return "2";
    if (verdict == "This Sudoku has one unique solution and is minimal") return "M";
    if (verdict == "This Sudoku has one unique solution but is non-minimal") return "N";
    if (verdict == "This Sudoku has one unique solution") return "U";
    return "?";
}

TEST(RecordCheck, TestAndRateAgainstTheReferences) {
    const auto records = Load("verdicts.txt");
    const auto tested = RunCli2({"test", "--minimal"}, "verdicts.txt");
    const auto plain = RunCli2({"test"}, "verdicts.txt");
    const auto rated = RunCli2({"rate"}, "verdicts.txt");
    ASSERT_EQ(tested.size(), records.size());
    int skipped = 0, compared = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        const auto& rec = records[n];
        SCOPED_TRACE(rec.Puzzle);
        const auto ref = reference::ButtonSolve_Click(rec.Puzzle, true, 400'000'000);
        if (!ref.Completed) {
            ++skipped;
            continue;
        }
        ++compared;
        std::string expected = Code(ref.Verdict);
        if (ref.White >= 0) expected += std::to_string(ref.White);
        EXPECT_EQ(rec.Fields[1], expected);
        EXPECT_EQ(tested[n][2], ref.Solution);
        EXPECT_EQ(tested[n][3], ref.White < 0 ? "-" : std::to_string(ref.White));
        const auto refPlain = reference::ButtonSolve_Click(rec.Puzzle, false, 400'000'000);
        EXPECT_EQ(plain[n][1], refPlain.Verdict);
        EXPECT_EQ(plain[n][2], refPlain.Solution);
        // rate
        const Grid g = ToGrid(rec.Puzzle);
        std::string rate;
        if (Conflict(g)) {
            rate = "i0";
        } else if (Empty(g) == 0) {
            rate = "c0";
        } else {
            const auto r = Solve(g);
            ASSERT_TRUE(r.Completed);
            rate = std::string(r.Count == 1   ? "u"
                               : r.Count == 2 ? "m"
                                              : "n") +
                   std::to_string(r.Difficulty);
            EXPECT_EQ(rated[n][3], r.Count == 1 ? ToText(r.Solution) : "-");
            EXPECT_EQ(rated[n][4], ToText(r.Board));
        }
        EXPECT_EQ(rec.Fields[0], rate);
    }
    std::cout << compared << " compared, " << skipped << " skipped\n";
}

// The grade field expected for a candidate without expansion.
std::string Plain(const Grid& g, bool minimal, bool limit, std::string& solution) {
    if (Conflict(g)) return "-";
    if (Empty(g) == 0) {
        solution = ToText(g);
        return minimal || limit ? "-" : "6N";
    }
    const auto a =
        reference::UniqueModSud(g, minimal, limit, [](const Grid& p) { return Solve(p); });
    EXPECT_TRUE(a.Completed);
    if (!a.Accepted) return "-";
    solution = ToText(a.Solution);
    return std::to_string(a.Difficulty) + a.Counter[0];
}

void CheckExpanded(const Grid& g, const std::vector<std::string>& line, const std::string& field,
                   int level, bool minimal, bool limit, const std::string& plainField) {
    if (plainField != "-") {
        EXPECT_EQ(field, plainField);
        return;
    }
    if (field == "-") {
        if (Conflict(g) || Empty(g) == 0) return;
        const auto r = Solve(g);
        if (r.Count == 0 || minimal || level > 1) return;
        // Level 1 rejects only when no single cell of the first solution helps.
        const Grid first = r.Count == 2 ? r.FirstSolution : r.Solution;
        for (int c = 0; c < 81; ++c) {
            if (g[c] != 0) continue;
            Grid w = g;
            w[c] = first[c];
            EXPECT_FALSE(RunAccepts(w, limit)) << "cell " << c << " helps";
        }
        return;
    }
    ASSERT_EQ(field[1], 'E') << field;
    const auto r = Solve(g);
    const Grid first = r.Count == 2 ? r.FirstSolution : r.Solution;
    const Grid givens = ToGrid(line[4]);
    int added = 0;
    for (int i = 0; i < 81; ++i) {
        if (g[i] != 0) {
            EXPECT_EQ(givens[i], g[i]);
        } else if (givens[i] != 0) {
            ++added;
            EXPECT_EQ(givens[i], first[i]);
        }
    }
    EXPECT_GE(added, 1);
    EXPECT_LE(added, level);
    const auto e = Solve(givens);
    ASSERT_TRUE(e.Unique);
    if (limit) {
        EXPECT_LE(e.Difficulty, 5);
    }
    EXPECT_EQ(field[0] - '0', e.Difficulty);
    EXPECT_EQ(line[5], ToText(e.Solution));
    if (minimal) {
        EXPECT_TRUE(Minimal(givens, limit));
    }
    if (r.Count == 1) {
        EXPECT_TRUE(limit && r.Difficulty == 6);
    }
}

void CheckGrade(const std::string& file, std::vector<std::string> sets, std::size_t first) {
    const auto records = Load(file);
    for (std::size_t s = 0; s < sets.size(); ++s) {
        SCOPED_TRACE(sets[s]);
        std::vector<std::string> args = {"grade"};
        for (const auto& a : Split(sets[s], ' '))
            if (!a.empty()) args.push_back(a);
        const auto out = RunCli2(args, file);
        ASSERT_EQ(out.size(), records.size());
        const bool minimal = sets[s].find("--minimal") != std::string::npos;
        const bool limit = sets[s].find("--limit") != std::string::npos;
        const int level = sets[s].find("--expand 3") != std::string::npos   ? 3
                          : sets[s].find("--expand 2") != std::string::npos ? 2
                          : sets[s].find("--expand 1") != std::string::npos ? 1
                                                                            : 0;
        for (std::size_t n = 0; n < records.size(); ++n) {
            const auto& rec = records[n];
            SCOPED_TRACE(rec.Puzzle);
            const Grid g = ToGrid(rec.Puzzle);
            const std::string& field = rec.Fields[first + s];
            std::string solution;
            const std::string plain = Plain(g, minimal, limit, solution);
            if (level == 0) {
                EXPECT_EQ(field, plain);
                if (plain != "-") {
                    EXPECT_EQ(out[n][5], solution);
                }
            } else {
                CheckExpanded(g, out[n], field, level, minimal, limit, plain);
            }
        }
    }
}

TEST(RecordCheck, GradeAgainstTheReferences) {
    CheckGrade("verdicts.txt",
               {"", "--limit", "--minimal", "--minimal --limit", "--expand 1 --seed 5",
                "--expand 1 --seed 5 --limit", "--expand 1 --seed 5 --minimal",
                "--expand 1 --seed 5 --minimal --limit"},
               2);
}

TEST(RecordCheck, ExpansionsAgainstTheReferences) {
    CheckGrade("expansions.txt",
               {"--expand 2 --seed 3", "--expand 2 --seed 3 --limit",
                "--expand 2 --seed 3 --minimal", "--expand 3 --seed 3"},
               0);
}

}  // namespace
}  // namespace cluemill
