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

# Wall time and processor time (user + system) of one command, in milliseconds.
TIMEFORMAT='%R %U %S'
measure() {
    local times
    times=$( { time "$@" 2>/dev/null; } 2>&1 )
    awk '{printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000}' <<<"$times"
}

ours=() peer=() ours_cpu=() peer_cpu=()
for ((i = 0; i < runs; i++)); do
    read -r wall cpu < <(measure sh -c 'cjpeg -quality 100 -sample 1x1 "$1" >"$2"' _ \
        "$work/in.ppm" "$work/peer.jpg")
    peer+=("$wall") peer_cpu+=("$cpu")
    read -r wall cpu < <(measure "$tool" encode "$work/in.ppm" "$work/ours.jpg")
    ours+=("$wall") ours_cpu+=("$cpu")
done

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
m_ours=$(median "${ours[@]}") m_peer=$(median "${peer[@]}")
c_ours=$(median "${ours_cpu[@]}") c_peer=$(median "${peer_cpu[@]}")
echo "runs: $runs, picture 6000x4000, quality 100, 4:4:4"
echo "cjpeg  wall ms: ${peer[*]}  median $m_peer  (processor median $c_peer)  $(stat -c %s "$work/peer.jpg") bytes"
echo "ours   wall ms: ${ours[*]}  median $m_ours  (processor median $c_ours)  $(stat -c %s "$work/ours.jpg") bytes"
awk -v a="$m_ours" -v b="$m_peer" -v c="$c_ours" -v d="$c_peer" 'BEGIN {
    printf "ratio ours/cjpeg: wall %.3f, processor %.3f (goal <= 1.1)\n", a / b, c / d }'
cmp -s "$work/peer.jpg" "$work/ours.jpg" && echo "the two files are identical" || true
