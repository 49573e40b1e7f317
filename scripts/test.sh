#!/usr/bin/env bash
# Installs what is missing, builds Cluemill with warnings as errors and runs
# every test; then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan), and a short run of every fuzz
# target (fuzz/run.sh, build-fuzz). Exit status non-zero on any failure.
# CLUEMILL_FUZZ_RUNS sets the runs per fuzz target (default 2000).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cluemill_install_missing
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

bash "$CLUEMILL_ROOT/fuzz/run.sh" "${CLUEMILL_FUZZ_RUNS:-2000}"
