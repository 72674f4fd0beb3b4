#!/bin/sh
# Times `stampora-cli read` against `grep -c -F -a MARKER` on the reader's two
# benchmark files (256 MiB with 10 and with 10 000 blocks), in alternation,
# and prints the medians and their ratio. Run from the worktree after a build:
#   sh bench/compare_reader.sh [ROUNDS]
set -eu
BUILD=${BUILD:-build}
ROUNDS=${1:-9}
CLI="$BUILD/stampora-cli"
MARKER=10a1020z04y5
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

now() { date +%s%N; }

# milliseconds of one run of "$@", its standard output into a file (not /dev/null:
# grep stops at the first match when it writes there)
timed() {
    start=$(now)
    "$@" > "$OUT/out" || [ $? -eq 1 ]
    end=$(now)
    echo $(( (end - start) / 1000000 ))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-28s %10s %10s %8s\n' file "read (ms)" "grep (ms)" ratio
for file in $("$BUILD/bench/make_reader_files"); do
    # warm the page cache and check that both see the blocks
    entries=$("$CLI" read "$file" | wc -l)
    hits=$(grep -c -F -a "$MARKER" "$file" || true)
    : > "$OUT/read"
    : > "$OUT/grep"
    i=0
    while [ $i -lt "$ROUNDS" ]; do
        timed "$CLI" read "$file" >> "$OUT/read"
        timed grep -c -F -a "$MARKER" "$file" >> "$OUT/grep"
        i=$((i + 1))
    done
    r=$(median < "$OUT/read")
    g=$(median < "$OUT/grep")
    printf '%-28s %10s %10s %8s   (%s entries, grep: %s lines)\n' "$(basename "$file")" "$r" "$g" \
        "$(awk -v r="$r" -v g="$g" 'BEGIN { printf "%.2f", (g > 0 ? r / g : 0) }')" "$entries" "$hits"
done
