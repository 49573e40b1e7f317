#!/usr/bin/env bash
# How far to trust a forecast: a forecast of SECONDS seconds, then a run of
# RUN seconds of the same pattern and options, ROUNDS times per case; prints
# each pair and how often the run's accepted puzzles an hour fell inside the
# forecast's 95% interval.
#
#   bench/forecast.sh [ROUNDS] [SECONDS] [RUN]     defaults 5, 4, 20
#
# The cases: the generator's three bench patterns without options, one with
# --minimal and one with --expand 1, each with one job and with one per
# core. CLUEMILL_CLI may point at a cluemill-cli; otherwise build-bench is
# used (see common.sh). Run it on a machine with nothing else to do: the
# forecast measures the speed too.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/bench/common.sh"
cluemill_bench_cli
rounds=${1:-5}
seconds=${2:-4}
run=${3:-20}
cores=$(nproc)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cases=()
for entry in "${bench_patterns[@]}"; do cases+=("${entry%% *}|"); done
cases+=("01C1880314800251802307|--minimal" "00285041AC2C686B041428|--expand 1")

inside=0
total=0
printf '%-24s %-10s %4s  %-28s %s\n' pattern options jobs "forecast EST LOW HIGH" "run per hour"
for c in "${cases[@]}"; do
    pattern=${c%%|*}
    options=${c#*|}
    for jobs in 1 "$cores"; do
        for ((r = 0; r < rounds; r++)); do
            # shellcheck disable=SC2086
            read -r _ est low high < <("$cli" patterns forecast "$pattern" --seconds "$seconds" \
                --jobs "$jobs" $options | tail -n 1)
            rm -rf "$scratch/data"
            # shellcheck disable=SC2086
            summary=$("$cli" generate --pattern "$pattern" --time "$run" --jobs "$jobs" \
                --format 5 --data-dir "$scratch/data" $options 2>&1 >/dev/null)
            accepted=$(sed -n 's/.* candidates in \([0-9.]*\) s .*), \([0-9]*\) accepted$/\2 \1/p' \
                <<<"$summary")
            perHour=$(awk -v a="${accepted% *}" -v s="${accepted#* }" 'BEGIN { printf "%d", a / s * 3600 }')
            total=$((total + 1))
            mark=" "
            if [ "$perHour" -ge "$low" ] && [ "$perHour" -le "$high" ]; then
                inside=$((inside + 1))
            else
                mark="*"
            fi
            printf '%-24s %-10s %4s  %-28s %s %s\n' "$pattern" "${options:--}" "$jobs" \
                "$est $low $high" "$perHour" "$mark"
        done
    done
done
echo "inside the interval: $inside of $total"
