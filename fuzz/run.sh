#!/usr/bin/env bash
# Builds the libFuzzer targets (clang++, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs each for a fixed number
# of runs from its seed corpus. Exit status non-zero on a crash, a hang or a
# broken promise; the input that did it is left in build-fuzz/findings.
#
#   fuzz/run.sh [RUNS [TARGET...]]     RUNS defaults to 2000 per target
#
# PickerFuzz paints whole pages of thumbnails for every input and runs a
# tenth of RUNS. Inputs are at most 4096 bytes, less where the reader has
# seen all it can see sooner (fuzz_max_len).
# New inputs the fuzzer finds go to a scratch corpus, not to fuzz/corpus.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs=${1:-2000}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(PuzzleLineFuzz DropFileFuzz PatternCodeFuzz PatternLibraryFuzz CliArgumentsFuzz ImportFuzz PickerFuzz)

CLUEMILL_PACKAGES+=(clang "$(cluemill_clang_rt_package)")
cluemill_install_missing
build="$CLUEMILL_ROOT/build-fuzz"
cluemill_build "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCLUEMILL_BUILD_FUZZ=ON -DCLUEMILL_SANITIZE="address;undefined" -DCLUEMILL_BUILD_GUI=OFF \
    -DCLUEMILL_BUILD_TESTS=OFF -DCLUEMILL_BUILD_BENCH=OFF -DCLUEMILL_STATIC_CLI=OFF

# Scratch files of the targets go to memory where it can: much faster than a
# disk that flushes every truncated file.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
findings="$build/findings"
mkdir -p "$findings"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
# Longer inputs only take longer: a dozen puzzle lines, ten library records
# or twelve .sds records reach every case of those readers.
fuzz_max_len() {
    case $1 in
        PuzzleLineFuzz | PatternLibraryFuzz) echo 1024 ;;
        ImportFuzz) echo 2048 ;;
        *) echo 4096 ;;
    esac
}
status=0
for target in "${targets[@]}"; do
    scratch=$(mktemp -d)
    start=$(date +%s)
    n=$runs
    [ "$target" = PickerFuzz ] && n=$((runs / 10 > 0 ? runs / 10 : 1))
    if "$build/fuzz/$target" -runs="$n" -timeout=10 -rss_limit_mb=2048 -max_len="$(fuzz_max_len "$target")" \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$scratch" "$CLUEMILL_ROOT/fuzz/corpus/$target" >"$build/$target.log" 2>&1; then
        echo "$target: $n runs, no crash ($(($(date +%s) - start)) s)"
    else
        echo "$target: FAILED after $(($(date +%s) - start)) s; see $build/$target.log" >&2
        tail -n 40 "$build/$target.log" >&2
        status=1
    fi
    rm -rf "$scratch"
done
exit $status
