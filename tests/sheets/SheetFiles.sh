#!/usr/bin/env bash
# The files of cluemill-cli sheet read back with poppler's tools: page counts
# for every --per-page with and without solutions, the givens in each page's
# text, embedded fonts, paper sizes, title and page numbers, skipped lines,
# and the file names of pages written one file per page.
# Usage: SheetFiles.sh CLUEMILL_CLI DATA_DIR
set -uo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
data=$2
for tool in pdfinfo pdftotext pdffonts; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (poppler-utils)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
# The text of page $2 of the text $1 of a whole PDF (pages end in a form feed).
page() { awk -v RS='\f' -v n="$2" 'NR == n' <<<"$1"; }
# The digits 1-9 of a text, nothing else.
digits() { tr -cd '1-9'; }

# Page counts: the puzzles PerPage to a page, then the solutions nine to a page.
for n in 1 4 5 10; do
    head -n "$n" "$data/easy.txt" >"$work/in$n.txt"
    for per in 1 2 4 6; do
        for solutions in "" --solutions; do
            expected=$(((n + per - 1) / per))
            [ -n "$solutions" ] && expected=$((expected + (n + 8) / 9))
            out="$work/c$n-$per$solutions.pdf"
            "$cli" sheet "$work/in$n.txt" --output "$out" --per-page "$per" $solutions >/dev/null ||
                fail "$n puzzles, --per-page $per $solutions: exit status $?"
            got=$(pages "$out")
            [ "$got" = "$expected" ] || fail "$n puzzles, --per-page $per $solutions: $got pages, not $expected"
        done
    done
done

# Each page's text holds the givens of its puzzles, in reading order, and the
# solution pages hold the solutions; title and page numbers on every page.
sheet="$work/c10-4--solutions.pdf"
"$cli" sheet "$work/in10.txt" --output "$sheet" --solutions --title "Week 12" >/dev/null
all=$(pdftotext -raw "$sheet" -)
for p in 1 2 3 4 5; do
    text=$(page "$all" "$p")
    grep -q "^Week 12" <<<"$text" || fail "page $p: no title"
    grep -q "Page $p of 5" <<<"$text" || fail "page $p: no 'Page $p of 5'"
done
"$cli" rate --jobs 1 "$work/in10.txt" | cut -f4 >"$work/solutions.txt"
for k in $(seq 1 10); do
    p=$(((k + 3) / 4))
    givens=$(sed -n "${k}p" "$work/in10.txt" | cut -c1-81 | digits)
    page "$all" "$p" | digits | grep -q "$givens" || fail "page $p does not hold the givens of puzzle $k"
    p=$((3 + (k + 8) / 9))
    solution=$(sed -n "${k}p" "$work/solutions.txt")
    page "$all" "$p" | digits | grep -q "$solution" || fail "page $p does not hold the solution of puzzle $k"
done

# Fonts embedded; A4 by default, Letter on request.
fonts=$(pdffonts "$sheet" | tail -n +3)
[ -n "$fonts" ] || fail "no fonts in the PDF"
awk '$(NF-4) != "yes" { exit 1 }' <<<"$fonts" || fail "a font is not embedded: $fonts"
pdfinfo "$sheet" | grep -q "Page size:.*(A4)" || fail "not A4"
"$cli" sheet "$work/in1.txt" --output "$work/letter.pdf" --page letter >/dev/null
pdfinfo "$work/letter.pdf" | grep -q "Page size: *612 x 792 pts" || fail "not Letter"

# Graded and skipped: the printed puzzles are numbered without gaps.
{ head -n 1 "$data/easy.txt"; head -n 1 "$data/multi.txt"; head -n 1 "$data/hard.txt"; } >"$work/mixed.txt"
"$cli" sheet "$work/mixed.txt" --output "$work/mixed.pdf" --grade >/dev/null 2>"$work/err.txt"
[ $? -eq 1 ] || fail "a skipped line does not give exit status 1"
[ "$(cat "$work/err.txt")" = "line 2: the puzzle has no unique solution" ] || fail "stderr: $(cat "$work/err.txt")"
text=$(pdftotext -raw "$work/mixed.pdf" -)
grep -q "^Puzzle 2 Others" <<<"$text" || fail "the third line is not 'Puzzle 2', graded Others"
grep -q "Puzzle 3" <<<"$text" && fail "a skipped line left a number behind"

# One file per page: OUT itself for one page, NAME-k.EXT for more.
(cd "$work" && "$cli" sheet in1.txt --output one.png >/dev/null && "$cli" sheet in5.txt --output many.png >/dev/null)
[ -f "$work/one.png" ] || fail "one.png was not written"
[ -f "$work/many-1.png" ] && [ -f "$work/many-2.png" ] && [ ! -e "$work/many-3.png" ] && [ ! -e "$work/many.png" ] ||
    fail "the pages of many.png: $(ls "$work" | grep many)"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "sheet files: all checks passed"
