#!/usr/bin/env bash
# The expansion by one, two and three cells: seeded `cluemill-cli generate`
# runs on the 22-clue pattern that end at a count of puzzles, so that every
# run does the same work.
#
#   bench/expand.sh [RUNS]        # default 3
#
# Prints per option set the candidates decided, the medians of the wall
# clock and of the user CPU time of RUNS runs, and candidates per CPU
# second. With CLUEMILL_BASELINE naming another cluemill-cli, the same runs
# of it alternate with these, its figures and the ratio of the CPU times
# follow, and the two must write the same bytes (standard output and every
# file of the data folder), or the script says so and fails.
# CLUEMILL_CALLGRIND=1 counts instructions with valgrind instead (one run
# each, slow with a slow baseline): repeatable on a busy machine.
# CLUEMILL_CLI may point at a cluemill-cli binary; otherwise
# build-bench/src/cluemill-cli is built (Release) and used.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
runs=${1:-3}
baseline=${CLUEMILL_BASELINE:-}
callgrind=${CLUEMILL_CALLGRIND:-0}

if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bench/expand.sh [RUNS] (a positive whole number)" >&2
    exit 2
fi
if [ -n "$baseline" ] && [ ! -x "$baseline" ]; then
    echo "CLUEMILL_BASELINE='$baseline' is not an executable file" >&2
    exit 2
fi
if [ "$callgrind" = 1 ]; then
    command -v valgrind >/dev/null || { echo "valgrind not found" >&2; exit 2; }
    runs=1
fi

source "$script_dir/common.sh"
cluemill_bench_cli

pattern=01C1880314800251802307
option_sets=(
    "--expand 1 --seed 77 --count 40"
    "--expand 2 --seed 77 --count 10"
    "--expand 3 --seed 77 --count 10"
    "--expand 2 --limit --seed 21 --count 4"
    "--expand 3 --limit --seed 22 --count 3"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One run of binary $1 with options $2: prints "WALL USER CANDIDATES HASH",
# or "INSTRUCTIONS - CANDIDATES HASH" under callgrind.
run() {
    local data="$work/data" status=0
    rm -rf "$data" && mkdir -p "$data"
    # shellcheck disable=SC2086 # the option set is split on purpose
    if [ "$callgrind" = 1 ]; then
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" generate --pattern "$pattern" \
            $2 --jobs 1 --format 6 --data-dir "$data" >"$work/out" 2>"$work/err" || status=$?
        local measure
        measure="$(grep -E ' refs:' "$work/err" | awk '{ gsub(",", "", $NF); print $NF }') -"
    else
        local measure TIMEFORMAT='%3R %3U'
        measure=$( { time "$1" generate --pattern "$pattern" $2 --jobs 1 --format 6 \
            --data-dir "$data" >"$work/out" 2>"$work/err"; } 2>&1) || status=$?
    fi
    if [ "$status" -ne 0 ]; then
        echo "cluemill-cli generate $2 failed (exit status $status):" >&2
        cat "$work/err" >&2
        exit 1
    fi
    local candidates hash
    candidates=$(grep -E '^[0-9]+ candidates in ' "$work/err" | cut -d' ' -f1)
    hash=$( (cat "$work/out"; cd "$data" && find . -type f | sort | xargs -d '\n' sha1sum) | sha1sum | cut -c1-16)
    echo "$measure $candidates $hash"
}

if [ "$callgrind" = 1 ]; then
    echo "cluemill-cli generate --pattern $pattern, instructions (callgrind)"
    printf '%-40s %11s %15s' options candidates instructions
    [ -n "$baseline" ] && printf ' %15s %8s' baseline ratio
else
    echo "cluemill-cli generate --pattern $pattern, medians of $runs run(s)"
    printf '%-40s %11s %9s %9s %12s' options candidates wall/s cpu/s cand./cpu-s
    [ -n "$baseline" ] && printf ' %9s %9s %8s' "base wall" "base cpu" ratio
fi
echo
for options in "${option_sets[@]}"; do
    walls=() cpus=() base_walls=() base_cpus=()
    for ((r = 1; r <= runs; r++)); do
        read -r wall cpu candidates hash <<<"$(run "$cli" "$options")"
        walls+=("$wall") cpus+=("$cpu")
        if [ -n "$baseline" ]; then
            read -r bwall bcpu bcandidates bhash <<<"$(run "$baseline" "$options")"
            base_walls+=("$bwall") base_cpus+=("$bcpu")
            if [ "$hash" != "$bhash" ] || [ "$candidates" != "$bcandidates" ]; then
                echo "$options: the two programs wrote different bytes" >&2
                exit 1
            fi
        fi
    done
    if [ "$callgrind" = 1 ]; then
        printf '%-40s %11s %15s' "$options" "$candidates" "$wall"
        [ -n "$baseline" ] && printf ' %15s %8.1f' "$bwall" "$(awk -v a="$bwall" -v b="$wall" 'BEGIN { print a / b }')"
    else
        wall=$(median "${walls[@]}") cpu=$(median "${cpus[@]}")
        printf '%-40s %11s %9s %9s %12.0f' "$options" "$candidates" "$wall" "$cpu" \
            "$(awk -v c="$candidates" -v t="$cpu" 'BEGIN { print (t > 0 ? c / t : 0) }')"
        if [ -n "$baseline" ]; then
            bwall=$(median "${base_walls[@]}") bcpu=$(median "${base_cpus[@]}")
            printf ' %9s %9s %8.1f' "$bwall" "$bcpu" \
                "$(awk -v a="$bcpu" -v b="$cpu" 'BEGIN { print (b > 0 ? a / b : 0) }')"
        fi
    fi
    echo
done
[ -n "$baseline" ] && echo "same bytes written by both programs in every run"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
