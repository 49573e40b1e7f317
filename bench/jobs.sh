#!/usr/bin/env bash
# Two generation jobs against one, on the same random streams: for each
# pattern and seed S, `generate --jobs 2 --seed S` runs SECONDS, and so do
# `--jobs 1 --seed S` (the stream of job 1) and `--jobs 1` seeded with job
# 2's seed (its stream). Each run ends by Ctrl-C, after which every puzzle
# the jobs had accepted is written. The ratio is the two-job run's accepted
# puzzles (and candidates) over the mean of the two one-job runs: 2.00 is
# two jobs doing twice the work of one.
#
#   bench/jobs.sh [SECONDS] [SEEDS...]      SECONDS defaults to 20, SEEDS to 1 2 3
#
# Measure on an otherwise idle machine: a one-job run leaves a core free,
# and anything running there slows it down.
# CLUEMILL_CLI may point at a cluemill-cli binary; otherwise
# build-bench/src/cluemill-cli is built (Release) and used.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
seconds=${1:-20}
shift || true
seeds=("$@")
[ ${#seeds[@]} -eq 0 ] && seeds=(1 2 3)

source "$script_dir/common.sh"
cluemill_bench_cli

# The seed of job 2 of a run seeded with S (SplitMix64 of S and the job
# number, as the generator derives it).
job_seed() {
    python3 -c '
import sys
m = (1 << 64) - 1
z = (int(sys.argv[1]) + 0x9E3779B97F4A7C15) & m
z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & m
z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & m
print((z ^ (z >> 31)) & 0x7FFFFFFFFFFFFFFF)' "$1"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "CANDIDATES ACCEPTED" of one run: pattern, jobs, seed.
run() {
    rm -rf "$work/data"
    mkdir -p "$work/data"
    local status=0 summary
    timeout --signal=INT "$seconds" "$cli" generate --pattern "$1" --jobs "$2" --seed "$3" \
        --data-dir "$work/data" >/dev/null 2>"$work/err" || status=$?
    summary=$(grep -E '^[0-9]+ candidates in ' "$work/err" || true)
    if [ -z "$summary" ]; then
        echo "no summary from cluemill-cli generate --pattern $1 --jobs $2 --seed $3 (exit status $status):" >&2
        cat "$work/err" >&2
        exit 1
    fi
    echo "${summary%% *} $(sed -E 's/.*, ([0-9]+) accepted$/\1/' <<<"$summary")"
}

echo "cluemill-cli generate, $seconds s per run, two jobs against one on the same two streams"
printf '%-24s %6s %5s %25s %25s %25s %11s %9s\n' pattern clues seed "2 jobs: cand. accepted" \
    "stream 1: cand. accepted" "stream 2: cand. accepted" candidates accepted
for entry in "${bench_patterns[@]}"; do
    read -r code clues <<<"$entry"
    for seed in "${seeds[@]}"; do
        read -r c2 a2 <<<"$(run "$code" 2 "$seed")"
        read -r c0 a0 <<<"$(run "$code" 1 "$seed")"
        read -r c1 a1 <<<"$(run "$code" 1 "$(job_seed "$seed")")"
        # A run without a summary has said why on standard error.
        [ -n "$a2" ] && [ -n "$a0" ] && [ -n "$a1" ] || exit 1
        printf '%-24s %6s %5s %14s %10s %14s %10s %14s %10s %11s %9s\n' "$code" "$clues" "$seed" \
            "$c2" "$a2" "$c0" "$a0" "$c1" "$a1" \
            "$(awk -v t="$c2" -v a="$c0" -v b="$c1" 'BEGIN { printf "%.2f", (a + b > 0 ? 2 * t / (a + b) : 0) }')" \
            "$(awk -v t="$a2" -v a="$a0" -v b="$a1" 'BEGIN { printf "%.2f", (a + b > 0 ? 2 * t / (a + b) : 0) }')"
    done
done
