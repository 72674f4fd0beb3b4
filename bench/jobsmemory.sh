#!/bin/sh
# Peak memory of "stampora-cli stamp" with the notice on COUNT 24-megapixel
# JPEGs (default 8) at --jobs 1 and --jobs 8, and --jobs 8 under an address
# space of 1.5 GiB (prlimit --as): the pictures in flight are bounded by the
# memory the process can have, so every file is stamped at any --jobs.
# Run from the worktree after a build:
#   sh bench/jobsmemory.sh [COUNT]
# CLI=path/to/stampora-cli measures another build the same way.
set -eu
BUILD=${BUILD:-build}
COUNT=${1:-8}
CLI=${CLI:-"$PWD/$BUILD/stampora-cli"}
TOOL="$PWD/$BUILD/bench/stampora_jpeg_encode"
LIMIT=$((1536 * 1024 * 1024))
[ -x "$CLI" ] && [ -x "$TOOL" ] ||
    cmake --build "$BUILD" -j2 --target stampora-cli stampora_jpeg_encode
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# the benchmark picture (gradients and noise), as a camera would write it
# where cjpeg is installed (quality 92, 4:2:0), else at quality 100
"$TOOL" make-ppm "$WORK/big.ppm" 6000 4000
if command -v cjpeg > /dev/null; then
    cjpeg -quality 92 "$WORK/big.ppm" > "$WORK/big.jpg"
else
    "$TOOL" encode "$WORK/big.ppm" "$WORK/big.jpg" > /dev/null
fi
rm "$WORK/big.ppm"
mkdir "$WORK/src"
for i in $(seq -w 1 "$COUNT"); do cp "$WORK/big.jpg" "$WORK/src/photo-$i.jpg"; done
source_mb=$(du -m "$WORK/big.jpg" | cut -f1)

# peak RSS (MiB), wall seconds and files written of one run; $1 is the prefix
# ("" or "prlimit --as=N"), the rest the stamp options
run() {
    prefix=$1
    shift
    rm -rf "$WORK/out"
    ( cd "$WORK" && /usr/bin/time -v -o "$WORK/time" $prefix "$CLI" stamp --output out \
        --text "(c) 2026 Anna Beispiel" --notice "Copyright (C) 2026" "$@" src/*.jpg \
        > /dev/null 2> "$WORK/err" ) || true
    peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$WORK/time")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0
        for (i = 1; i <= n; i++) s = s * 60 + p[i]; printf "%.1f", s }' "$WORK/time")
    written=$(ls "$WORK/out" 2> /dev/null | wc -l)
    failed=$(grep -c '^stampora-cli: ' "$WORK/err" || true)
    echo "| $COUNT × 24 MP JPEG + notice, $* ${prefix:+under $prefix} | $peak | $wall | $written of $COUNT | $failed |"
}

echo "source: $COUNT × 6000 × 4000 JPEG, $source_mb MB each; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| case | peak RSS (MiB) | wall (s) | stamped | lines of failure |"
echo "|---|---:|---:|---|---:|"
run "" --jobs 1
run "" --jobs 8
run "prlimit --as=$LIMIT" --jobs 8
run "prlimit --as=$LIMIT" --keep-quality --jobs 8
