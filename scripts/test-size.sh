#!/usr/bin/env bash
# Prints the size of the tests against the code they test (non-blank lines of
# C++ in tests/ and fuzz/ over those in src/ and bench/) and fails when the
# tests pass 40% of the code.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

lines() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat |
        grep -cvE '^[[:space:]]*$' || true
}
tests=$(lines tests fuzz)
code=$(lines src bench)
percent=$((100 * tests / code))
echo "Tests: $tests non-blank lines of C++ against $code in the code ($percent%)."
if [ $((100 * tests)) -gt $((40 * code)) ]; then
    echo "The tests are above 40% of the code: trim them before adding more." >&2
    exit 1
fi
