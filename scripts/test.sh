#!/usr/bin/env bash
# Installs what is missing, checks that every C++ file is formatted by
# .clang-format and that the tests stay within 40% of the code
# (scripts/test-size.sh), builds Cluemill with warnings as errors and runs every test;
# then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan), the tests of the work done on
# several threads (rate, grade and generate with --jobs, the forecast's
# sample) built with ThreadSanitizer (build-tsan), and a short run of every
# fuzz target (fuzz/run.sh, build-fuzz). Exit status non-zero on any failure.
# CLUEMILL_FUZZ_RUNS sets the runs per fuzz target (default 2000).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

CLUEMILL_PACKAGES+=(clang-format)
cluemill_install_missing
(cd "$CLUEMILL_ROOT" && git ls-files -co --exclude-standard -- '*.cpp' '*.h' |
    xargs clang-format --dry-run --Werror) || {
    echo "Some files are not formatted: run clang-format -i on them." >&2
    exit 1
}
bash "$CLUEMILL_ROOT/scripts/test-size.sh"
jobs="$(nproc 2>/dev/null || echo 2)"
build="$CLUEMILL_ROOT/build"
cluemill_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_WERROR=ON -DCLUEMILL_BUILD_TESTS=ON \
    -DCLUEMILL_BUILD_GUI=ON -DCLUEMILL_BUILD_BENCH=ON
(cd "$build" && ctest --output-on-failure --parallel "$jobs")

asan="$CLUEMILL_ROOT/build-asan"
cluemill_build "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_WERROR=ON -DCLUEMILL_BUILD_TESTS=ON \
    -DCLUEMILL_BUILD_GUI=ON -DCLUEMILL_BUILD_BENCH=OFF -DCLUEMILL_SANITIZE="address;undefined"
(cd "$asan" && ASAN_OPTIONS=detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure --parallel "$jobs")

tsan="$CLUEMILL_ROOT/build-tsan"
cluemill_build "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_WERROR=ON -DCLUEMILL_BUILD_TESTS=ON \
    -DCLUEMILL_BUILD_GUI=OFF -DCLUEMILL_BUILD_BENCH=OFF -DCLUEMILL_SANITIZE=thread
(cd "$tsan" && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --output-on-failure --parallel "$jobs" -R 'Jobs|Grade|Forecast')

bash "$CLUEMILL_ROOT/fuzz/run.sh" "${CLUEMILL_FUZZ_RUNS:-2000}"
