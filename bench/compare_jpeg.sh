#!/usr/bin/env bash
# Times our JPEG encoder against cjpeg on the same 24-megapixel picture, both as
# whole programs reading a PPM and writing a JPEG at quality 100 with full colour
# resolution, in alternation; prints the medians and the ratio (goal: at most 1.1).
#   bench/compare_jpeg.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-7}
tool="$build/bench/stampora_jpeg_encode"

if ! command -v cjpeg >/dev/null; then
    sudo=$([ "$(id -u)" = 0 ] || echo sudo)
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        libjpeg-turbo-progs
fi
[ -x "$tool" ] || cmake --build "$build" --target stampora_jpeg_encode

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" make-ppm "$work/in.ppm" 6000 4000

now() { date +%s%N; }
ours=() peer=()
for ((i = 0; i < runs; i++)); do
    start=$(now)
    cjpeg -quality 100 -sample 1x1 "$work/in.ppm" >"$work/peer.jpg"
    peer+=($(( ($(now) - start) / 1000000 )))
    start=$(now)
    "$tool" encode "$work/in.ppm" "$work/ours.jpg" 2>/dev/null
    ours+=($(( ($(now) - start) / 1000000 )))
done

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
m_ours=$(median "${ours[@]}")
m_peer=$(median "${peer[@]}")
echo "runs: $runs, picture 6000x4000, quality 100, 4:4:4"
echo "cjpeg   ms: ${peer[*]}  median $m_peer  size $(stat -c %s "$work/peer.jpg") bytes"
echo "ours    ms: ${ours[*]}  median $m_ours  size $(stat -c %s "$work/ours.jpg") bytes"
awk -v a="$m_ours" -v b="$m_peer" 'BEGIN {printf "ratio ours/cjpeg: %.3f (goal <= 1.1)\n", a / b}'
