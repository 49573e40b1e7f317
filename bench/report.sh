#!/usr/bin/env bash
# One table of Cluemill's speed, for the README:
#   - `cluemill-cli rate` on the collections of the shared bench folder, with
#     one job and with one per core, each timed side by side with `qqwing
#     --solve --count-solutions` (alternating runs, medians; qqwing only on
#     collections of unique puzzles);
#   - `cluemill-cli grade` on the pattern fillings candidates-22/26/30, with
#     one job and with one per core (candidates per second of the whole
#     program run);
#   - `cluemill-cli generate` on three patterns (22, 26, 30 clues) with the
#     option sets plain, --minimal, --limit, --expand 1 and --expand 2, with
#     one job and with two: candidates and accepted puzzles per second, their
#     ratios, the ratio of candidates per second of processor time (near 1
#     when the jobs cost no more than one run; on a shared machine the
#     wall-clock ratio can only reach 2 if two cores are free), and the peak
#     memory (maximum resident set) of the run.
#
#   bench/report.sh [SECONDS] [RUNS]
#
# SECONDS (default 5): length of each generate run, ended by Ctrl-C. RUNS
# (default 3): runs of each measurement, medians printed. Every generate run
# has a fixed seed (CLUEMILL_SEED, default 1) and a fresh data folder.
# CLUEMILL_CLI may point at a cluemill-cli binary; otherwise
# build-bench/src/cluemill-cli is built (Release) and used. The shared bench
# folder is ../shared/bench beside the repository, or CLUEMILL_BENCH_DATA.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$script_dir/.." && pwd)
seconds=${1:-5}
runs=${2:-3}
seed=${CLUEMILL_SEED:-1}
data=${CLUEMILL_BENCH_DATA:-"$repo/../shared/bench"}

if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]] || ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bench/report.sh [SECONDS] [RUNS] (positive whole numbers)" >&2
    exit 2
fi
if [ -z "${EPOCHREALTIME:-}" ]; then
    echo "report.sh needs bash 5 or later (EPOCHREALTIME)" >&2
    exit 2
fi
if [ ! -d "$data" ]; then
    echo "no bench folder '$data' (set CLUEMILL_BENCH_DATA)" >&2
    exit 2
fi
for tool in qqwing /usr/bin/time; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not found (Debian packages qqwing and time)" >&2
        exit 2
    fi
done

source "$script_dir/common.sh"
cluemill_bench_cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
maximum() { printf '%s\n' "$@" | sort -g | tail -1; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.5f", b - a }'; }
per_second() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", n / t }'; }
grouped() { sed -E ':a; s/^([0-9]+)([0-9]{3})/\1,\2/; ta' <<<"$1"; }
puzzle_lines() { awk '{ sub(/\r$/, "") } length($0) >= 81 && substr($0, 1, 1) != "#" { n++ } END { print n + 0 }' "$1"; }

load_start=$(cut -d' ' -f1-3 /proc/loadavg)
echo "| benchmark | input | options | cluemill | compared with | ratio | peak memory |"
echo "|---|---|---|---|---|---|---|"

# rate on one core and on all of them, side by side with qqwing on the
# unique collections.
cores=$(nproc)
for name in qqwing-2000 top1465 17clue_every10th serg_benchmark_every2nd candidates-22 candidates-26 candidates-30; do
    corpus="$data/$name.txt"
    [ -r "$corpus" ] || continue
    n=$(puzzle_lines "$corpus")
    with_qqwing=0
    case "$name" in qqwing-2000 | top1465 | 17clue_every10th) with_qqwing=1 ;; esac
    # Warms the file cache; the peak memory of all jobs, measured apart, as
    # /usr/bin/time adds the start of a program to the time.
    /usr/bin/time -f '%M' -o "$work/rss" "$cli" rate --jobs "$cores" "$corpus" >/dev/null
    rss=("$(tail -1 "$work/rss")")
    one=()
    all=()
    qtimes=()
    for ((r = 1; r <= runs; r++)); do
        t0=$EPOCHREALTIME
        "$cli" rate --jobs 1 "$corpus" >/dev/null
        t1=$EPOCHREALTIME
        one+=("$(elapsed "$t0" "$t1")")
        t0=$EPOCHREALTIME
        "$cli" rate --jobs "$cores" "$corpus" >/dev/null
        t1=$EPOCHREALTIME
        all+=("$(elapsed "$t0" "$t1")")
        if [ "$with_qqwing" = 1 ]; then
            t0=$EPOCHREALTIME
            qqwing --solve --count-solutions <"$corpus" >/dev/null
            t1=$EPOCHREALTIME
            qtimes+=("$(elapsed "$t0" "$t1")")
        fi
    done
    mem=$(awk -v k="$(maximum "${rss[@]}")" 'BEGIN { printf "%.1f MB", k / 1024 }')
    for jobs in 1 "$cores"; do
        if [ "$jobs" = 1 ]; then c=$(median "${one[@]}"); else c=$(median "${all[@]}"); fi
        if [ "$with_qqwing" = 1 ]; then
            q=$(median "${qtimes[@]}")
            printf '| rate | %s (%s) | --jobs %s | %s/s (%.3f s) | qqwing %s/s (%.3f s) | %.1f | %s |\n' "$name" \
                "$(grouped "$n")" "$jobs" "$(grouped "$(per_second "$n" "$c")")" "$c" \
                "$(grouped "$(per_second "$n" "$q")")" "$q" "$(awk -v c="$c" -v q="$q" 'BEGIN { print q / c }')" \
                "$([ "$jobs" = 1 ] && echo || echo "$mem")"
        else
            printf '| rate | %s (%s) | --jobs %s | %s/s (%.3f s) | | | %s |\n' "$name" "$(grouped "$n")" "$jobs" \
                "$(grouped "$(per_second "$n" "$c")")" "$c" "$([ "$jobs" = 1 ] && echo || echo "$mem")"
        fi
    done
done

# grade: the acceptance of a generation run for each filling.
for name in candidates-22 candidates-26 candidates-30; do
    corpus="$data/$name.txt"
    [ -r "$corpus" ] || continue
    n=$(puzzle_lines "$corpus")
    "$cli" grade "$corpus" >/dev/null
    for jobs in 1 "$cores"; do
        times=()
        for ((r = 1; r <= runs; r++)); do
            t0=$EPOCHREALTIME
            "$cli" grade --jobs "$jobs" "$corpus" >/dev/null
            t1=$EPOCHREALTIME
            times+=("$(elapsed "$t0" "$t1")")
        done
        c=$(median "${times[@]}")
        printf '| grade | %s (%s) | --jobs %s | %s candidates/s (%.3f s) | | | |\n' "$name" "$(grouped "$n")" \
            "$jobs" "$(grouped "$(per_second "$n" "$c")")" "$c"
    done
done

# generate with one job and with two.
option_sets=("" "--minimal" "--limit" "--expand 1" "--expand 2")
# Sets the median candidates/s (cand), accepted/s (acc), candidates per
# second of processor time (percpu) and the maximum resident memory in KB
# (mem) of RUNS runs.
generate() {
    local code=$1 options=$2 jobs=$3
    local rates=() accepts=() rss=() cpurates=()
    for ((r = 1; r <= runs; r++)); do
        rm -rf "$work/data"
        mkdir -p "$work/data"
        # shellcheck disable=SC2086 # the option set is split on purpose
        /usr/bin/time -f '%M %U %S' -o "$work/rss" timeout --signal=INT "$seconds" \
            "$cli" generate --pattern "$code" --seed "$seed" --jobs "$jobs" $options \
            --data-dir "$work/data" >/dev/null 2>"$work/err" || true
        # "N candidates in T s (R per second), A accepted"
        local summary
        summary=$(grep -E '^[0-9]+ candidates in ' "$work/err" || true)
        if [ -z "$summary" ]; then
            echo "no summary from cluemill-cli generate --pattern $code $options --jobs $jobs:" >&2
            cat "$work/err" >&2
            exit 1
        fi
        local candidates elapsed_s accepted
        read -r candidates _ _ elapsed_s _ <<<"$summary"
        accepted=$(sed -E 's/.*, ([0-9]+) accepted$/\1/' <<<"$summary")
        rates+=("$(awk -v c="$candidates" -v t="$elapsed_s" 'BEGIN { printf "%.0f", c / t }')")
        accepts+=("$(awk -v a="$accepted" -v t="$elapsed_s" 'BEGIN { printf "%.2f", a / t }')")
        local kb user system
        read -r kb user system < <(tail -1 "$work/rss")
        rss+=("$kb")
        cpurates+=("$(awk -v c="$candidates" -v u="$user" -v s="$system" 'BEGIN { printf "%.0f", c / (u + s) }')")
    done
    percpu=$(median "${cpurates[@]}")
    cand=$(median "${rates[@]}")
    acc=$(median "${accepts[@]}")
    mem=$(maximum "${rss[@]}")
}
for entry in "${bench_patterns[@]}"; do
    read -r code clues <<<"$entry"
    for options in "${option_sets[@]}"; do
        generate "$code" "$options" 1
        cand1=$cand acc1=$acc mem1=$mem percpu1=$percpu
        generate "$code" "$options" 2
        printf '| generate | %s (%s clues) | %s | 2 jobs: %s candidates/s, %s accepted/s | 1 job: %s candidates/s, %s accepted/s | %s | %s |\n' \
            "$code" "$clues" "${options:-plain}" "$(grouped "$cand")" "$acc" "$(grouped "$cand1")" "$acc1" \
            "$(awk -v c2="$cand" -v c1="$cand1" -v a2="$acc" -v a1="$acc1" -v p2="$percpu" -v p1="$percpu1" 'BEGIN {
                printf "%.2f candidates", c2 / c1
                if (a1 > 0) printf ", %.2f accepted", a2 / a1
                printf "; per processor second %.2f", p2 / p1 }')" \
            "$(awk -v a="$mem1" -v b="$mem" 'BEGIN { printf "%.1f / %.1f MB", a / 1024, b / 1024 }')"
    done
done
echo
echo "cluemill-cli generate: seed $seed, $seconds s per run; medians of $runs runs; $(nproc) cores; load average at the start: $load_start, at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
