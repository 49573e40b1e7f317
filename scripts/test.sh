#!/usr/bin/env bash
# Installs what is missing, builds Cluemill with warnings as errors and runs
# every test. Exit status non-zero on any failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cluemill_install_missing
build="$CLUEMILL_ROOT/build"
cluemill_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_WERROR=ON -DCLUEMILL_BUILD_TESTS=ON \
    -DCLUEMILL_BUILD_GUI=ON -DCLUEMILL_BUILD_BENCH=ON
cd "$build"
ctest --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)"
