#!/usr/bin/env bash
# Plants faults in the code one at a time and tells which the tests catch:
# a measure of what the test suite is worth, to take before and after a
# change of the tests.
#
#   scripts/mutants.sh [MUTANTS...] [--build BUILD_DIR]
#
# MUTANTS are files of faults (default: every tests/mutants/*.txt), one fault
# a line, fields
# separated by " | ": the file, the exact text to change (it must occur once
# in the file), the text it becomes, and optionally a ctest -R pattern that
# picks the tests to run (all tests when empty). Lines beginning with '#'
# and empty lines are skipped. BUILD_DIR (default build-mutants) is
# configured with tests and the window; every fault is built there, its
# tests run (each at most 120 s), and the file put back. One line per fault
# goes to standard output:
#
#   caught|missed|broken  FILE  TEXT -> NEW
#
# (broken: the fault does not build, or its text is not found once), then
# the count of each. Exit status 0; 1 when the file is missing or the
# working tree changes on the way.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-mutants
lists=()
while [ $# -gt 0 ]; do
    case $1 in
        --build) build=$2; shift 2 ;;
        *) lists+=("$1"); shift ;;
    esac
done
[ ${#lists[@]} -gt 0 ] || lists=("$root"/tests/mutants/*.txt)
for list in "${lists[@]}"; do [ -r "$list" ] || { echo "cannot read $list" >&2; exit 1; }; done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLUEMILL_BUILD_TESTS=ON \
    -DCLUEMILL_BUILD_BENCH=OFF >/dev/null || exit 1
cmake --build "$build" >/dev/null || { echo "the unchanged tree does not build" >&2; exit 1; }

caught=0 missed=0 broken=0
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    IFS='|' read -r file old new pattern <<<"$line"
    trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }
    file=$(trim "$file") old=$(trim "$old") new=$(trim "$new") pattern=$(trim "${pattern:-}")
    path="$root/$file"
    count=$(grep -cF -- "$old" "$path" 2>/dev/null || true)
    if [ "$count" != 1 ]; then
        echo "broken  $file  $old -> $new  (found $count times)"
        broken=$((broken + 1))
        continue
    fi
    cp "$path" "$path.unmutated"
    OLD="$old" NEW="$new" python3 -c '
import os, sys
p = sys.argv[1]
s = open(p, encoding="utf-8").read()
open(p, "w", encoding="utf-8").write(s.replace(os.environ["OLD"], os.environ["NEW"], 1))
' "$path"
    verdict=missed
    if ! cmake --build "$build" >/dev/null 2>&1; then
        verdict=broken
    elif ! (cd "$build" && ctest --timeout 120 --stop-on-failure ${pattern:+-R "$pattern"} \
                >/dev/null 2>&1); then
        verdict=caught
    fi
    mv "$path.unmutated" "$path"
    touch "$path"  # newer than anything built from the fault
    echo "$verdict  $file  $old -> $new"
    case $verdict in caught) caught=$((caught + 1)) ;; missed) missed=$((missed + 1)) ;;
        *) broken=$((broken + 1)) ;; esac
done < <(cat "${lists[@]}")
cmake --build "$build" >/dev/null 2>&1
echo "caught $caught, missed $missed, broken $broken"
