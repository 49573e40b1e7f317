#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# InstallTest.sh BUILD VERSION GUI LIBDIR: installs the build tree BUILD
# under the prefix /usr into a temporary DESTDIR and checks what lands there:
# exactly the expected files, a valid desktop entry and AppStream metadata
# under one application id, icons of the sizes their folders name, man pages
# without roff warnings, both programs' --version, and a sheet printed by the
# installed cluemill-cli (which finds its renderer in LIBDIR/cluemill). GUI
# is 1 when the window was built, 0 otherwise (then only the command line is
# installed).
set -euo pipefail

build=$1
version=$2
gui=$3
libdir=$4
id=io.github.cluemill.Cluemill

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root=$dest/usr

# Exactly these files, nothing more (a stray library or test program would
# end up in the package).
expected=(bin/cluemill-cli share/man/man1/cluemill-cli.1 share/doc/cluemill/copyright)
if [ "$gui" = 1 ]; then
    expected+=(bin/cluemill share/man/man1/cluemill.1 "$libdir/cluemill/cluemill-sheet.so"
        "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
        "share/icons/hicolor/scalable/apps/$id.svg")
    for size in 16 32 48 64 128 256; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
    done
fi
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
    fail "installed files differ from the expected ones:"
    diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi

for program in "${expected[@]}"; do
    case $program in bin/*) [ -x "$root/$program" ] || fail "$program is not executable" ;; esac
done

answer=$("$root/bin/cluemill-cli" --version) || fail "cluemill-cli --version: exit status $?"
[ "$answer" = "cluemill-cli $version" ] || fail "cluemill-cli --version answered '$answer'"

if command -v groff >/dev/null 2>&1; then
    for page in "$root"/share/man/man1/*.1; do
        warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
        [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
        grep -q "^\.TH .*\"Cluemill $version\"" "$page" || fail "$(basename "$page") does not name version $version"
    done
else
    echo "groff is missing: the man pages are not checked"
fi

[ "$gui" = 1 ] || {
    [ "$failures" -eq 0 ] && echo "install: the command line only (no window built): all checks passed"
    exit $((failures > 0))
}

puzzle=8.1..3.5...31..2.656284........84....5..6..48.3....1..7..............4.....2.7..1
echo "$puzzle" | "$root/bin/cluemill-cli" sheet --output "$root/sheet.pdf" >/dev/null ||
    fail "the installed cluemill-cli prints no sheet"

answer=$(QT_QPA_PLATFORM=offscreen "$root/bin/cluemill" --version 2>/dev/null) ||
    fail "cluemill --version: exit status $?"
[ "$answer" = "cluemill $version" ] || fail "cluemill --version answered '$answer'"

desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
# The newest release listed must be this version: a new version needs its
# release entry.
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$newest" = "$version" ] || fail "the metadata's newest release is '$newest', not $version"

if command -v desktop-file-validate >/dev/null 2>&1; then
    output=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $output"
else
    echo "SKIP: desktop-file-validate is missing (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    output=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $output"
else
    echo "SKIP: appstreamcli is missing (Debian package appstream)"
fi

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48 64 128 256; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width x $height" = "$size x $size" ] || fail "the ${size}x${size} icon is $width x $height"
done

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit $((failures > 0))
