// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// A slow, literal second implementation of "Check  Uniqueness", used only by
// tests to cross-check the window's test and `cluemill-cli test`. It reads
// the givens as the grid shows them, checks them in cell order, builds the
// candidate lists and runs the tester's own exhaustive search (no logic pass,
// the exact cell choice and value order, stop at the second solution) in the
// original 16-bit state, then, on request, removes each given in turn and asks
// the reference UniqueSud whether the solution stays unique.
namespace cluemill::reference {

struct TestResult {
    bool Completed = true;  // false: the step budget ran out, nothing else valid
    std::string Verdict;    // the message box text
    std::string Solution;   // the 81 digits shown after a unique solution, else "-"
    int White = -1;         // the given shown in white by the minimality test, else -1
};

// ButtonSolve_Click on the puzzle text as Text2 would put it on the grid:
// characters 1 to 81, "1" to "9" a given, anything else an empty cell (a
// shorter text reads as empty past its end). testMinimal is the "Check
// Minimal" box. stepBudget bounds the turns of the search loop, and of each
// search of the minimality test; when it runs out Completed is false.
TestResult ButtonSolve_Click(std::string_view puzzleText, bool testMinimal,
                             long long stepBudget = 20'000'000);

}  // namespace cluemill::reference
