#!/bin/sh
# Peak memory of "stampora-cli stamp" on long job lists: 1 000 and 10 000 files,
# copy only and with the visible notice on small pictures; then the windows with
# the same counts: "++" on a folder, a drop of the files and a copy-only run
# (stampora_window_load); and 2 000 and 20 000 names read from a list
# (--files-from) into a folder tree. Memory should grow with the list itself
# (its paths and results), not with the files stamped.
# Run from the worktree after a build:
#   sh bench/load.sh [COUNTS]
set -eu
BUILD=${BUILD:-build}
COUNTS=${1:-"1000 10000"}
CLI=${CLI:-"$PWD/$BUILD/stampora-cli"}
PICTURE="$PWD/tests/corpus/picture/baseline.jpg"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# peak RSS in KiB and seconds of one run of the command in $WORK
measure() {
    ( cd "$WORK" && /usr/bin/time -f '%M %e' -o "$WORK/time" "$@" > /dev/null 2> "$WORK/err" ) ||
        { echo "run failed:" >&2; head -5 "$WORK/err" >&2; exit 1; }
    cat "$WORK/time"
}

printf '%-8s %-10s %14s %10s\n' files mode "peak RSS (MiB)" "time (s)"
for count in $COUNTS; do
    rm -rf "$WORK/src" "$WORK/out"
    mkdir -p "$WORK/src"
    python3 -c 'import shutil, sys
for i in range(int(sys.argv[1])): shutil.copyfile(sys.argv[2], "%s/bild%d.jpg" % (sys.argv[3], i))' \
        "$count" "$PICTURE" "$WORK/src"
    # the list travels as arguments, as a caller with many files would pass it
    for mode in copy notice; do
        rm -rf "$WORK/out"
        if [ $mode = copy ]; then option=--no-notice; else option="--notice=Copyright (C) 2002"; fi
        set -- $(cd "$WORK" && ls src | sed 's|^|src/|')
        result=$(measure "$CLI" stamp --output out --text "(C) Last" "$option" --jobs 2 "$@")
        written=$(ls "$WORK/out" | wc -l)
        [ "$written" -eq "$count" ] || { echo "only $written of $count written" >&2; exit 1; }
        echo "$result" | awk -v n="$count" -v m="$mode" '{ printf "%-8s %-10s %14.1f %10.1f\n", n, m, $1 / 1024, $2 }'
    done
done

# Names from a list instead of arguments: 2 000 and 20 000 names (blanks in
# every name) through --files-from --null into a --keep-folders tree, copy only.
# The growth from 2 000 to 20 000 is the list and its results, not the pictures.
echo
printf '%-8s %-10s %14s %10s\n' names mode "peak RSS (MiB)" "time (s)"
for count in ${LIST_COUNTS:-2000 20000}; do
    rm -rf "$WORK/src" "$WORK/out"
    python3 -c 'import os, shutil, sys
for i in range(int(sys.argv[1])):
    folder = "%s/ordner %d" % (sys.argv[3], i % 100)
    os.makedirs(folder, exist_ok=True)
    shutil.copyfile(sys.argv[2], "%s/bild %d.jpg" % (folder, i))' "$count" "$PICTURE" "$WORK/src"
    (cd "$WORK" && find src -type f -print0 > names)
    result=$(measure "$CLI" stamp --files-from names --null --keep-folders src --output out \
        --text "(C) Last" --no-notice --jobs 2)
    written=$(find "$WORK/out" -type f -printf x | wc -c)
    [ "$written" -eq "$count" ] || { echo "only $written of $count written" >&2; exit 1; }
    echo "$result" | awk -v n="$count" '{ printf "%-8s %-10s %14.1f %10.1f\n", n, "list", $1 / 1024, $2 }'
done

WINDOW_LOAD="$PWD/$BUILD/bench/stampora_window_load"
[ -x "$WINDOW_LOAD" ] || cmake --build "$BUILD" --target stampora_window_load
for count in $COUNTS; do
    echo
    QT_QPA_PLATFORM=offscreen "$WINDOW_LOAD" "$count" 2>/dev/null
done
