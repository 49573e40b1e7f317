#!/usr/bin/env bash
# Times `cluemill-cli rate` against `qqwing --solve --count-solutions` on one
# puzzle file, RUNS times each, alternating, and prints the medians.
#
#   bench/compare.sh [CORPUS] [RUNS]
#
# CORPUS defaults to qqwing-2000.txt of the shared bench folder next to the
# repository, RUNS to 5. CLUEMILL_JOBS (default: one per core) is the
# number of jobs of `cluemill-cli rate`. CLUEMILL_CLI may point at a
# cluemill-cli binary; otherwise build-bench/src/cluemill-cli is used, built
# in Release if missing.
#
# Both programs read the whole file and write one result per puzzle to
# /dev/null, so the times include start-up, parsing and output. qqwing counts
# every solution of a puzzle while cluemill stops at the second: compare on
# collections of unique puzzles.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
corpus=${1:-"$script_dir/../../shared/bench/qqwing-2000.txt"}
runs=${2:-5}
jobs=${CLUEMILL_JOBS:-$(nproc)}

if [ -z "${EPOCHREALTIME:-}" ]; then
    echo "compare.sh needs bash 5 or later (EPOCHREALTIME)" >&2
    exit 2
fi
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "RUNS must be a positive whole number, not '$runs'" >&2
    exit 2
fi
if [ ! -r "$corpus" ]; then
    echo "cannot read the puzzle file '$corpus'" >&2
    echo "(the collections live in the shared bench folder next to the repository)" >&2
    exit 2
fi
if ! command -v qqwing >/dev/null 2>&1; then
    echo "qqwing not found: install the Debian package qqwing (apt-get install qqwing)" >&2
    exit 2
fi

source "$script_dir/common.sh"
cluemill_bench_cli

# Puzzle lines as `cluemill-cli rate` counts them: not empty, not a comment,
# at least 81 characters.
puzzles=$(awk '{ sub(/\r$/, "") } length($0) >= 81 && substr($0, 1, 1) != "#" { n++ } END { print n + 0 }' "$corpus")
if [ "$puzzles" -eq 0 ]; then
    echo "no puzzle line in '$corpus'" >&2
    exit 2
fi

# One untimed run of each, which also warms the file cache: both must give a
# result for every puzzle.
got=$("$cli" rate "$corpus" | wc -l)
if [ "$got" -ne "$puzzles" ]; then
    echo "cluemill-cli rated $got of $puzzles puzzles; not comparable" >&2
    exit 1
fi
got=$(qqwing --solve --count-solutions <"$corpus" |
    grep -c -E '^(The solution to the puzzle is unique|There are .* solutions? to the puzzle)' || true)
if [ "$got" -ne "$puzzles" ]; then
    echo "qqwing solved $got of $puzzles puzzles; not comparable" >&2
    exit 1
fi

# Seconds between two EPOCHREALTIME readings.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", b - a }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cluemill_times=()
qqwing_times=()
echo "corpus: $corpus ($puzzles puzzles), $runs runs each, cluemill-cli rate with $jobs job(s)"
for ((i = 1; i <= runs; i++)); do
    t0=$EPOCHREALTIME
    "$cli" rate --jobs "$jobs" "$corpus" >/dev/null
    t1=$EPOCHREALTIME
    qqwing --solve --count-solutions <"$corpus" >/dev/null
    t2=$EPOCHREALTIME
    c=$(elapsed "$t0" "$t1")
    q=$(elapsed "$t1" "$t2")
    cluemill_times+=("$c")
    qqwing_times+=("$q")
    printf 'run %d: cluemill %8.4f s   qqwing %8.4f s\n' "$i" "$c" "$q"
done

cm=$(median "${cluemill_times[@]}")
qm=$(median "${qqwing_times[@]}")
awk -v n="$puzzles" -v c="$cm" -v q="$qm" 'BEGIN {
    printf "median: cluemill %.4f s (%.0f puzzles/s)   qqwing %.4f s (%.0f puzzles/s)\n", c, n / c, q, n / q
    printf "ratio (cluemill speed / qqwing speed): %.1f\n", q / c
}'
