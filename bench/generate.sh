#!/usr/bin/env bash
# Generator throughput: candidates and accepted puzzles per second of
# `cluemill-cli generate` for three patterns (22, 26 and 30 clues), each with
# the option sets plain, --minimal, --limit and --expand 1.
#
#   bench/generate.sh [SECONDS] [RUNS]
#
# Every run has a fixed seed (CLUEMILL_SEED, default 1: the same candidates
# in the same order each time), a fresh data folder, and ends after SECONDS
# (default 5) by Ctrl-C, which the command answers by halting the run and
# printing its summary.
# With RUNS > 1 (default 1) the medians of the runs are printed.
# CLUEMILL_JOBS (default 1) is the number of jobs of each run.
# CLUEMILL_CLI may point at a cluemill-cli binary; otherwise
# build-bench/src/cluemill-cli is built (Release) and used.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
seconds=${1:-5}
runs=${2:-1}
seed=${CLUEMILL_SEED:-1}
jobs=${CLUEMILL_JOBS:-1}

if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]] || ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bench/generate.sh [SECONDS] [RUNS] (positive whole numbers)" >&2
    exit 2
fi

source "$script_dir/common.sh"
cluemill_bench_cli

option_sets=("" "--minimal" "--limit" "--expand 1")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "cluemill-cli generate, seed $seed, $jobs job(s), $seconds s per run, $runs run(s) each"
printf '%-24s %6s %-11s %13s %11s %10s\n' pattern clues options candidates/s accepted/s accepted
for entry in "${bench_patterns[@]}"; do
    read -r code clues <<<"$entry"
    for options in "${option_sets[@]}"; do
        rates=()
        accepts=()
        counts=()
        for ((r = 1; r <= runs; r++)); do
            data="$work/run"
            rm -rf "$data"
            mkdir -p "$data"
            # shellcheck disable=SC2086 # the option set is split on purpose
            timeout --signal=INT "$seconds" "$cli" generate --pattern "$code" --seed "$seed" \
                --jobs "$jobs" $options --data-dir "$data" >/dev/null 2>"$work/err" || true
            # "N candidates in T s (R per second), A accepted"
            summary=$(grep -E '^[0-9]+ candidates in ' "$work/err" || true)
            if [ -z "$summary" ]; then
                echo "no summary from cluemill-cli generate --pattern $code $options:" >&2
                cat "$work/err" >&2
                exit 1
            fi
            read -r candidates _ _ elapsed _ <<<"$summary"
            accepted=$(sed -E 's/.*, ([0-9]+) accepted$/\1/' <<<"$summary")
            rates+=("$(awk -v c="$candidates" -v t="$elapsed" 'BEGIN { printf "%.0f", c / t }')")
            accepts+=("$(awk -v a="$accepted" -v t="$elapsed" 'BEGIN { printf "%.2f", a / t }')")
            counts+=("$accepted")
        done
        printf '%-24s %6s %-11s %13.0f %11.2f %10s\n' "$code" "$clues" "${options:-plain}" \
            "$(median "${rates[@]}")" "$(median "${accepts[@]}")" "$(median "${counts[@]}")"
    done
done
