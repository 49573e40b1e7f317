#!/usr/bin/env bash
# Installs what is missing, builds Cluemill and starts it. Arguments are passed
# to the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cluemill_install_missing
build="$CLUEMILL_ROOT/build"
cluemill_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -eq 0 ]; then
    exec "$build/src/cluemill-cli" --help
fi
exec "$build/src/cluemill-cli" "$@"
