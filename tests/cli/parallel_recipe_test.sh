#!/usr/bin/env bash
# The README's GNU parallel recipe, run on this machine: a tree of files, its
# NUL-ended names cut into chunks, two chunks stamped at a time into one
# --keep-folders tree; the result must equal that of a single run, byte for byte.
# Then the job-array recipe, its tasks one after the other.
# Usage: parallel_recipe_test.sh STAMPORA_CLI
set -euo pipefail
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v parallel >/dev/null || fail "GNU parallel is not installed (Debian package parallel)"
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config # parallel keeps its files under HOME
mkdir -p "$HOME"
cd "$tmp"

# 600 tiny files in nested folders, names with blanks and line breaks
for i in $(seq 0 599); do
    folder="fotos/jahr $((i % 3))/$([ $((i % 7)) = 0 ] && printf 'neue\nzeile' || echo 'monat x')"
    mkdir -p "$folder"
    printf 'bild %d' "$i" > "$folder/bild $i.jpg"
done
stamp=(stamp --no-notice --text "(c) Test" --jobs 1)

find fotos -type f -print0 |
    "$cli" "${stamp[@]}" --files-from - --null --keep-folders fotos --output einzeln ||
    fail "the single run"

# the recipe: chunks of 100 names, two at a time; -q keeps "(c) Test" one word
find fotos -type f -print0 |
    parallel -q --will-cite --pipe --recend '\0' -N 100 -j2 --halt now,fail=1 --joblog jobs.log \
        "$cli" "${stamp[@]}" --files-from - --null --keep-folders fotos --output parallel ||
    fail "the parallel run"

chunks=$(($(wc -l < jobs.log) - 1))
[ "$chunks" -eq 6 ] || fail "$chunks chunks ran, not 6"
[ "$(find parallel -type f -printf x | wc -c)" -eq 600 ] || fail "not every file was stamped"
diff -r einzeln parallel > /dev/null || fail "the parallel outputs differ from the single run's"

# the job-array recipe: numbered chunks cut once, task N stamps chunk N
find fotos -type f -print0 > liste
split -t '\0' -l 250 -d -a 4 liste teil.
for task in 0 1 2; do
    teil=$(printf 'teil.%04d' "$task")
    "$cli" "${stamp[@]}" --files-from "$teil" --null --keep-folders fotos --output feld \
        --json > "$teil.json" || fail "task $task"
done
[ ! -e teil.0003 ] || fail "more chunks than tasks"
diff -r einzeln feld > /dev/null || fail "the job array's outputs differ from the single run's"
echo "parallel recipe: ok"
