#!/usr/bin/env bash
# Installs what is missing, builds Cluemill and starts the window. Arguments
# are passed to the program (cluemill --data-dir DIR keeps Patterns.rec and
# the output folders in DIR instead of the program's folder).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cluemill_install_missing
build="$CLUEMILL_ROOT/build"
cluemill_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_BUILD_GUI=ON
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): start Cluemill from a desktop session." >&2
    echo "The command-line companion works anywhere: $build/src/cluemill-cli --help" >&2
    exit 1
fi
exec "$build/src/qt/cluemill" "$@"
