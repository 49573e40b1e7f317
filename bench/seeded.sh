#!/usr/bin/env bash
# Two jobs against one when the run ends at a count: `generate --count N`
# with `--jobs 1 --seed S`, `--jobs 2 --seed S` and `--jobs 2` without a
# seed, alternating, on one pattern. A seeded run of two jobs writes its
# puzzles in the order of the polls each job had made when it accepted
# them, so it ends only when both jobs have come that far; an unseeded one
# writes whatever comes first.
#
#   bench/seeded.sh [RUNS] [SEEDS...]      RUNS defaults to 5, SEEDS to 5 1 2 3
#
# PATTERN (default 00F32B218102810309A99E, 30 clues) and COUNT (default 60)
# may be set in the environment. Prints per seed the medians of the wall
# clock and the speed of each two-job run over the one-job run; the seeded
# two-job runs of a seed must all write the same bytes.
# CLUEMILL_CALLGRIND=1 counts instructions per thread with valgrind
# instead: the one-job run's instructions over those of the busier job of
# the two-job run is the speed-up on a machine that gives each job a core
# of its own, repeatable however busy the machine is (the unseeded figure
# is the median over RUNS runs, whose streams differ from run to run).
# CLUEMILL_CLI may point at a cluemill-cli binary; otherwise
# build-bench/src/cluemill-cli is built (Release) and used.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
runs=${1:-5}
shift || true
seeds=("$@")
[ ${#seeds[@]} -eq 0 ] && seeds=(5 1 2 3)
pattern=${PATTERN:-00F32B218102810309A99E}
count=${COUNT:-60}
callgrind=${CLUEMILL_CALLGRIND:-0}

if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bench/seeded.sh [RUNS] [SEEDS...] (RUNS a positive whole number)" >&2
    exit 2
fi
if [ "$callgrind" = 1 ] && ! command -v valgrind >/dev/null; then
    echo "valgrind not found" >&2
    exit 2
fi

source "$script_dir/common.sh"
cluemill_bench_cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One run with the given options: prints "MEASURE HASH", MEASURE being the
# wall clock in seconds, or under callgrind the instructions of the busiest
# thread.
run() {
    local data="$work/data" status=0 measure
    rm -rf "$data" "$work"/cg*
    if [ "$callgrind" = 1 ]; then
        valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$work/cg" "$cli" \
            generate --pattern "$pattern" --count "$count" --format 6 --data-dir "$data" "$@" \
            >"$work/out" 2>"$work/err" || status=$?
        # One job runs on the main thread; two have a thread each, and the
        # writer's main thread does far less.
        measure=$(cat "$work"/cg* | sed -n 's/^totals: //p' | sort -g | tail -1)
    else
        local TIMEFORMAT='%3R'
        measure=$( { time "$cli" generate --pattern "$pattern" --count "$count" --format 6 \
            --data-dir "$data" "$@" >"$work/out" 2>"$work/err"; } 2>&1) || status=$?
    fi
    if [ "$status" -ne 0 ]; then
        echo "cluemill-cli generate $* failed (exit status $status):" >&2
        cat "$work/err" >&2
        exit 1
    fi
    echo "$measure $( (cat "$work/out"; cd "$data" && find . -type f | sort | xargs -d '\n' sha1sum) |
        sha1sum | cut -c1-16)"
}

unit=$([ "$callgrind" = 1 ] && echo "instructions of the busier job" || echo "wall clock, s")
echo "cluemill-cli generate --pattern $pattern --count $count, $unit, medians of $runs run(s)"
printf '%6s %16s %16s %16s %14s %14s\n' seed "1 job" "2 jobs, seeded" "2 jobs" "seeded speed" \
    "unseeded speed"
for seed in "${seeds[@]}"; do
    one=() two=() free=() hashes=()
    for ((r = 1; r <= runs; r++)); do
        read -r m _ <<<"$(run --jobs 1 --seed "$seed")"
        one+=("$m")
        read -r m h <<<"$(run --jobs 2 --seed "$seed")"
        two+=("$m") hashes+=("$h")
        read -r m _ <<<"$(run --jobs 2)"
        free+=("$m")
    done
    if [ "$(printf '%s\n' "${hashes[@]}" | sort -u | wc -l)" -ne 1 ]; then
        echo "seed $seed: the seeded two-job runs wrote different bytes" >&2
        exit 1
    fi
    a=$(median "${one[@]}") b=$(median "${two[@]}") c=$(median "${free[@]}")
    printf '%6s %16s %16s %16s %14.2f %14.2f\n' "$seed" "$a" "$b" "$c" \
        "$(awk -v x="$a" -v y="$b" 'BEGIN { print x / y }')" \
        "$(awk -v x="$a" -v y="$c" 'BEGIN { print x / y }')"
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
