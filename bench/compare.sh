#!/usr/bin/env bash
# Times stampora-cli against the floor (djpeg | cjpeg, cp + printf, grep) and the
# peers (libvips, ImageMagick, exiftool) on pictures it makes itself, ours and
# theirs in alternation in every round, and prints one table of medians and
# ratios. Writes the table as Markdown and a bar chart of the ratios as PNG under
# bench/results/.
#   bench/compare.sh                 5 rounds
#   QUICK=1 bench/compare.sh         2 rounds
#   ROUNDS=9 BUILD=build bench/compare.sh
#   CASES="ours_batch64 window_batch64" bench/compare.sh
#                                    only those cases; their rows are printed, the
#                                    results under bench/results/ stay as they are
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD:-build}
if [ "${QUICK:-0}" = 1 ]; then rounds=${ROUNDS:-2}; else rounds=${ROUNDS:-5}; fi
only=${CASES:-}
cli="$root/$build/stampora-cli"
window_bench="$root/$build/bench/stampora_window_bench"
results="$root/bench/results"
work="$root/bench/work/compare"
marker=10a1020z04y5
notice='(c) 2026 Anna Beispiel - Alle Rechte vorbehalten'
text=$'(c) 2026 Anna Beispiel\r\nAlle Rechte vorbehalten.'
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf

# --- the peers, from Debian -------------------------------------------------
need=()
for pair in djpeg:libjpeg-turbo-progs cjpeg:libjpeg-turbo-progs \
    /usr/bin/convert:imagemagick vips:libvips-tools exiftool:libimage-exiftool-perl \
    $([ -n "$only" ] || echo gnuplot:gnuplot-nox) /usr/bin/time:time; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    sudo=$([ "$(id -u)" = 0 ] || echo sudo)
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        $(printf '%s\n' "${need[@]}" | sort -u)
fi
# Debian's ImageMagick itself, not whatever wrapper comes first in PATH.
magick=/usr/bin/convert
[ -x "$cli" ] && [ -x "$root/$build/bench/make_reader_files" ] && [ -x "$window_bench" ] ||
    cmake --build "$build" -j2 --target stampora-cli make_reader_files stampora_jpeg_encode \
        stampora_window_bench

# --- the pictures, made once and kept in bench/work/ ------------------------
mkdir -p "$work/batch" "$results"
tool="$root/$build/bench/stampora_jpeg_encode"
picture() { # NAME WIDTH HEIGHT: NAME.jpg, photograph-like (gradients and noise)
    [ -s "$work/$1.jpg" ] && return
    "$tool" make-ppm "$work/$1.ppm" "$2" "$3"
    cjpeg -quality 92 "$work/$1.ppm" >"$work/$1.jpg"
}
picture big 6000 4000
picture small 1600 1200
[ -s "$work/small.png" ] || "$magick" "$work/small.ppm" "$work/small.png"
[ -s "$work/small.gif" ] || "$magick" "$work/small.ppm" "$work/small.gif"
rm -f "$work"/*.ppm
if [ "$(ls "$work/batch" | wc -l)" != 192 ]; then
    rm -f "$work/batch"/*
    for i in $(seq -w 1 192); do cp "$work/small.jpg" "$work/batch/photo-$i.jpg"; done
fi
# the windows' batch: 64 of them, in a folder of their own
mkdir -p "$work/batch64"
if [ "$(ls "$work/batch64" | wc -l)" != 64 ]; then
    rm -f "$work/batch64"/*
    for i in $(seq -w 1 64); do cp "$work/small.jpg" "$work/batch64/photo-$i.jpg"; done
fi
huge=/dev/null # the 1 GiB reader file only when the whole table is made
[ -n "$only" ] || huge=$("$root/$build/bench/make_reader_files" 1024 1000)
# libvips gets the strip ready-made: black, 20 rows, the notice in white.
strip() { # WIDTH
    [ -s "$work/strip-$1.png" ] ||
        "$magick" -size "${1}x20" xc:black -fill white -font "$font" -pointsize 11 \
            -annotate +0+13 "$notice" "PNG24:$work/strip-$1.png"
}
strip 6000
strip 1600
bigw=$(vipsheader -f width "$work/big.jpg")
bigh=$(vipsheader -f height "$work/big.jpg")

# --- the commands --------------------------------------------------------------
out="$work/out"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
fresh() { rm -rf "$out" && mkdir -p "$out"; }
ours_stamp() { "$cli" stamp --output "$out/" --text "$text" "$@" >/dev/null; }

run_ours_big() { ours_stamp --notice "$notice" --mode enlarge --overwrite "$work/big.jpg"; }
run_keepq_big() {
    ours_stamp --notice "$notice" --mode enlarge --overwrite --keep-quality "$work/big.jpg"
}
run_floor_big() { djpeg "$work/big.jpg" | cjpeg -quality 100 -sample 1x1 >"$out/big.jpg"; }
run_vips_big() {
    vips join "$work/big.jpg" "$work/strip-6000.png" "$out/big.jpg[Q=100,subsample-mode=off]" \
        vertical
}
magick_notice() { # IN OUT
    "$magick" "$1" -background black -gravity south -splice 0x20 -fill white -font "$font" \
        -pointsize 11 -gravity southwest -annotate +0+5 "$notice" -quality 100 \
        -sampling-factor 1x1 "$2"
}
run_magick_big() { magick_notice "$work/big.jpg" "$out/big.jpg"; }

batch() { printf '%s\n' "$work"/batch/*.jpg; }
run_ours_batch2() {
    ours_stamp --notice "$notice" --mode enlarge --overwrite --jobs 2 "$work"/batch/*.jpg
}
run_ours_batch1() {
    ours_stamp --notice "$notice" --mode enlarge --overwrite --jobs 1 "$work"/batch/*.jpg
}
export out work notice font magick
run_floor_batch() {
    batch | xargs -P2 -I{} sh -c 'djpeg "$1" | cjpeg -quality 100 -sample 1x1 >"$out/${1##*/}"' _ {}
}
run_vips_batch() {
    batch | xargs -P2 -I{} sh -c 'vips join "$1" "$work/strip-1600.png" \
        "$out/${1##*/}[Q=100,subsample-mode=off]" vertical' _ {}
}
run_magick_batch() {
    batch | xargs -P2 -I{} sh -c '"$magick" "$1" -background black -gravity south -splice 0x20 \
        -fill white -font "$font" -pointsize 11 -gravity southwest -annotate +0+5 "$notice" \
        -quality 100 -sampling-factor 1x1 "$out/${1##*/}"' _ {}
}

# the same 64 pictures through the step-3 page and through the command line,
# both with every core; the window's run reports its own times (click to end,
# the open window's start not counted) into $work/own_times
cores=$(nproc)
run_ours_batch64() {
    ours_stamp --notice "$notice" --mode enlarge --overwrite --jobs "$cores" "$work"/batch64/*.jpg
}
window_gaps=""
run_window_batch64() {
    STAMPORA_BENCH_BATCH="$work/batch64" QT_QPA_PLATFORM=offscreen "$window_bench" \
        --benchmark_filter=WindowRunOfTheBatch --benchmark_format=json 2>/dev/null >"$work/window.json"
    python3 - "$work/window.json" "$work/own_times" <<'PY'
import json, sys
b = json.load(open(sys.argv[1]))["benchmarks"][0]
assert b["files"] == 64, b
open(sys.argv[2], "w").write("%d %d %d\n" % (b["run_ms"], b["cpu_ms"], round(b["longest_gap_ms"])))
PY
    local own
    read -r own <"$work/own_times"
    window_gaps+="${own##* } "
}

run_ours_copy() { ours_stamp --no-notice --jobs 2 "$work"/batch/*.jpg; }
run_floor_copy() {
    local f
    for f in "$work"/batch/*.jpg; do
        cp "$f" "$out/"
        printf '%s%s%s' "$marker" "$text" "$marker" >>"$out/${f##*/}"
    done
}
run_exiftool_copy() { exiftool -q -Copyright="$text" -o "$out/" "$work"/batch/*.jpg; }

run_ours_read() { "$cli" read "$huge" >"$out/read.txt"; }
# into a file: GNU grep stops at the first match when it writes to /dev/null
run_grep_read() { grep -c -F -a "$marker" "$huge" >"$out/grep.txt" || [ $? = 1 ]; }

run_ours_png() { ours_stamp --notice "$notice" --mode enlarge --overwrite "$work/small.png"; }
run_magick_png() { magick_notice "$work/small.png" "$out/small.jpg"; }
run_ours_gif() { ours_stamp --notice "$notice" --mode enlarge --overwrite "$work/small.gif"; }
run_magick_gif() { magick_notice "$work/small.gif" "$out/small.jpg"; }

# --- check that every command works before timing it ---------------------------
cases=(ours_big keepq_big floor_big vips_big magick_big ours_batch2 ours_batch1 floor_batch vips_batch
    magick_batch ours_batch64 window_batch64 ours_copy floor_copy exiftool_copy ours_read grep_read
    ours_png magick_png ours_gif magick_gif)
[ -z "$only" ] || read -r -a cases <<<"$only"
cat "$huge" >/dev/null # into the page cache
for c in "${cases[@]}"; do
    fresh
    "run_$c" || { echo "compare.sh: $c failed" >&2; exit 1; }
    rm -f "$work/own_times"
done
fresh
if [ -z "$only" ]; then
    run_ours_big
    [ "$("$cli" read "$out/big.jpg" | wc -l)" -ge 1 ] || { echo "no block in our output" >&2; exit 1; }
fi
# the sizes of the 24 MP outputs, each path once
big_sizes() {
    local c sizes="source $(awk -v b="$(stat -c %s "$work/big.jpg")" 'BEGIN {printf "%.1f", b / 1048576}') MB"
    for c in ours_big:quality-100 keepq_big:--keep-quality vips_big:"vips join"; do
        fresh
        "run_${c%%:*}"
        sizes+=", ${c#*:} $(awk -v b="$(stat -c %s "$out/big.jpg")" 'BEGIN {printf "%.1f", b / 1048576}') MB"
    done
    fresh
    echo "$sizes"
}
sizes_big=""
if [ -z "$only" ] || [[ " $only " == *" keepq_big "* ]]; then sizes_big=$(big_sizes); fi
window_gaps=""
entries=$("$cli" read "$huge" | grep -c . || true)
hits=$(grep -c -F -a "$marker" "$huge" || true)

# --- timing: every case once a round; odd rounds forwards, even rounds backwards --
declare -A ms cpu
# processor time (user + system) of every child process waited for so far, in
# ms, into $cpu_now (not through $(...): a subshell would only see its own children)
children_cpu() {
    local self children
    times >"$work/times"
    { read -r self; read -r children; } <"$work/times"
    cpu_now=$(awk '{ n = 0; for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); n += t[1] * 60000 + t[2] * 1000 }
           printf "%d", n }' <<<"$children")
}
timed() {
    local start end before after
    fresh
    children_cpu
    before=$cpu_now
    start=$(date +%s%N)
    "run_$1"
    end=$(date +%s%N)
    children_cpu
    after=$cpu_now
    if [ -s "$work/own_times" ]; then # the case timed itself
        local own_ms own_cpu rest
        read -r own_ms own_cpu rest <"$work/own_times"
        rm -f "$work/own_times"
        ms[$1]+="$own_ms "
        cpu[$1]+="$own_cpu "
        return
    fi
    ms[$1]+="$(((end - start) / 1000000)) "
    cpu[$1]+="$((after - before)) "
}
for ((r = 1; r <= rounds; r++)); do
    echo "round $r of $rounds" >&2
    if ((r % 2)); then order=("${cases[@]}"); else
        order=()
        for ((i = ${#cases[@]} - 1; i >= 0; i--)); do order+=("${cases[i]}"); done
    fi
    # pairs stay side by side either way, so ours and theirs see the same load
    for c in "${order[@]}"; do timed "$c"; done
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
declare -A med medcpu
for c in "${cases[@]}"; do
    med[$c]=$(median "${ms[$c]}")
    medcpu[$c]=$(median "${cpu[$c]}")
done

# the window's longest pause over every round of the batch through step 3
batch_gap=$(tr ' ' '\n' <<<"$window_gaps" | grep . | sort -n | tail -1 || true)

# --- only some cases: their rows, printed ------------------------------------------
if [ -n "$only" ]; then
    for c in "${cases[@]}"; do
        echo "$c: median $(median "${ms[$c]}") ms wall ($(median "${cpu[$c]}") ms processor)," \
            "rounds: ${ms[$c]}"
    done
    [ -z "$batch_gap" ] || echo "window's longest pause during the batch: $batch_gap ms"
    [ -z "$sizes_big" ] || echo "output sizes of the 24 MP JPEG + notice: $sizes_big"
    if [ -n "${med[window_batch64]:-}" ] && [ -n "${med[ours_batch64]:-}" ]; then
        awk -v a="${med[window_batch64]}" -v b="${med[ours_batch64]}" \
            'BEGIN {printf "windows / command line: %.2f (goal at most 1.15)\n", a / b}'
    fi
    exit 0
fi

# --- peak memory on the 24-megapixel picture (kB) --------------------------------
peak() { fresh; /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1; cat "$work/peak"; }
mem_ours=$(peak "$cli" stamp --output "$out/" --text "$text" --notice "$notice" --mode enlarge \
    --overwrite "$work/big.jpg")
mem_keepq=$(peak "$cli" stamp --output "$out/" --text "$text" --notice "$notice" --mode enlarge \
    --overwrite --keep-quality "$work/big.jpg")
mem_vips=$(peak vips join "$work/big.jpg" "$work/strip-6000.png" \
    "$out/big.jpg[Q=100,subsample-mode=off]" vertical)
mem_magick=$(peak "$magick" "$work/big.jpg" -background black -gravity south -splice 0x20 \
    -fill white -font "$font" -pointsize 11 -gravity southwest -annotate +0+5 "$notice" \
    -quality 100 -sampling-factor 1x1 "$out/big.jpg")
decoded_kb=$((bigw * bigh * 4 / 1024))

# --- the window's longest pause while a 24-megapixel picture is stamped ------------
# through the step-3 page, the run's files on a worker thread
gap_ms=$(QT_QPA_PLATFORM=offscreen "$window_bench" --benchmark_filter=DuringBigPicture \
    --benchmark_format=json 2>/dev/null | python3 -c \
    'import json, sys; print(round(json.load(sys.stdin)["benchmarks"][0]["longest_gap_ms"]))' ||
    true)
gap_how="through the step-3 page (stampora_window_bench)"

# --- the table -------------------------------------------------------------------
# fields apart by tabs: labels hold "|"
rows=() # label, ours ms, ours cpu ms, other, other ms, other cpu ms, ratio, cpu ratio, goal, holds
row() { # LABEL OURS PEER PEER_LABEL GOAL(max ratio of wall times, or -)
    local a=${med[$2]} b=${med[$3]} ca=${medcpu[$2]} cb=${medcpu[$3]} ratio cratio holds="" goal=$5
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')
    cratio=$(awk -v a="$ca" -v b="$cb" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')
    if [ "$goal" != - ]; then
        holds=$(awk -v r="$ratio" -v g="$goal" 'BEGIN {print (r <= g ? "yes" : "no")}')
        goal="≤ $goal"
    fi
    rows+=("$1"$'\t'"$a"$'\t'"$ca"$'\t'"$4"$'\t'"$b"$'\t'"$cb"$'\t'"$ratio"$'\t'"$cratio"$'\t'"$goal"$'\t'"$holds")
}
row "24 MP JPEG + notice" ours_big floor_big "djpeg | cjpeg (floor)" -
row "24 MP JPEG + notice" ours_big vips_big "vips join" 1.0
row "24 MP JPEG + notice" ours_big magick_big "ImageMagick convert" 0.35
row "24 MP JPEG + notice, --keep-quality" keepq_big ours_big "ours, quality-100 path" 1.0
row "24 MP JPEG + notice, --keep-quality" keepq_big vips_big "vips join" 1.0
row "192 × 2 MP + notice, --jobs 2" ours_batch2 floor_batch "djpeg | cjpeg, xargs -P2 (floor)" 1.1
row "192 × 2 MP + notice, --jobs 2" ours_batch2 vips_batch "vips join, xargs -P2" 0.5
row "192 × 2 MP + notice, --jobs 2" ours_batch2 magick_batch "ImageMagick, xargs -P2" 0.5
row "192 × 2 MP + notice, --jobs 2" ours_batch2 ours_batch1 "ours, --jobs 1" 0.56
row "64 × 2 MP + notice, through the windows (step 3)" window_batch64 ours_batch64 \
    "stampora-cli stamp, --jobs $cores" 1.15
row "192 × 2 MP copy + block" ours_copy floor_copy "cp + printf >> (floor)" 1.5
row "192 × 2 MP copy + block" ours_copy exiftool_copy "exiftool -Copyright=" 0.2
row "read 1 GiB, 1000 blocks" ours_read grep_read "grep -c -F (floor)" 0.8
row "2 MP PNG + notice" ours_png magick_png "ImageMagick convert" -
row "2 MP GIF + notice" ours_gif magick_gif "ImageMagick convert" -
mem_ratio=$(awk -v a="$mem_ours" -v d="$decoded_kb" 'BEGIN {printf "%.2f", a / d}')
mem_holds=$(awk -v r="$mem_ratio" 'BEGIN {print (r <= 2.5 ? "yes" : "no")}')
mb() { awk -v k="$1" 'BEGIN {printf "%.0f", k / 1024}'; }

{
    echo "| case | Stampora: wall (processor) ms | compared with | its wall (processor) ms | ratio | processor ratio | goal | holds |"
    echo "|---|---:|---|---:|---:|---:|---|---|"
    for r in "${rows[@]}"; do
        IFS=$'\t' read -r label a ca other b cb ratio cratio goal holds <<<"$r"
        echo "| $label | $a ($ca) | ${other//|/\\|} | $b ($cb) | $ratio | $cratio | $goal | $holds |"
    done
    echo
    echo "| peak memory, 24 MP JPEG + notice | MB | × decoded size ($(mb "$decoded_kb") MB at 4 bytes a pixel) |"
    echo "|---|---:|---:|"
    for p in "Stampora:$mem_ours" "Stampora --keep-quality:$mem_keepq" "vips join:$mem_vips" "ImageMagick convert:$mem_magick"; do
        echo "| ${p%%:*} | $(mb "${p#*:}") | $(awk -v a="${p#*:}" -v d="$decoded_kb" 'BEGIN {printf "%.2f", a / d}') |"
    done
    echo
    echo "Output sizes of the 24 MP JPEG + notice: $sizes_big."
    echo
    echo "Goal for Stampora's peak memory: at most 2.5 × the decoded size; holds: $mem_holds."
    if [ -n "$gap_ms" ]; then
        holds=$(awk -v g="$gap_ms" 'BEGIN {print (g <= 100 ? "yes" : "no")}')
        echo "Longest pause of the window's event loop while a 24 MP picture is stamped," \
            "$gap_how: $gap_ms ms (goal at most 100 ms; holds: $holds)."
    fi
    if [ -n "$batch_gap" ]; then
        holds=$(awk -v g="$batch_gap" 'BEGIN {print (g <= 100 ? "yes" : "no")}')
        echo "Longest pause of the window's event loop while 64 × 2 MP pictures are stamped" \
            "through the step-3 page, one file per core, in any round: $batch_gap ms (goal at" \
            "most 100 ms; holds: $holds)."
    fi
    echo
    echo "Medians of $rounds rounds, ours and theirs in alternation in each round (wall time;" \
        "in brackets processor time, user + system, which shared cores disturb less);" \
        "$(nproc) cores, $(date -u +%Y-%m-%d). 24 MP: ${bigw} × ${bigh}; reader file:" \
        "$entries entries found by Stampora, $hits lines by grep."
} >"$results/compare.md"
cat "$results/compare.md"

# --- the chart: each ratio beside its goal ----------------------------------------
{
    i=0
    for r in "${rows[@]}"; do
        IFS=$'\t' read -r label _ _ other _ _ ratio cratio goal _ <<<"$r"
        goal=${goal#≤ }
        [ -z "$goal" ] || [ "$goal" = - ] && goal=0
        printf '%d\t"%s\\nvs %s"\t%s\t%s\t%s\n' $i "$label" "$other" "$ratio" "$cratio" "$goal"
        i=$((i + 1))
    done
} >"$work/chart.dat"
gnuplot <<EOF
set terminal pngcairo size 1400,700 font "Liberation Sans,10"
set output "$results/compare.png"
set title "Stampora's time as a share of the other program's (lower is better; median of $rounds rounds)"
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.8 border -1
set boxwidth 0.9
set logscale y
set yrange [0.02:*]
set ylabel "ratio Stampora / other"
set xtics rotate by -35 font ",8"
set grid ytics
set bmargin 12
plot "$work/chart.dat" using 3:xtic(2) title "wall-time ratio" lc rgb "#2a6fb0", \
     "" using 4 title "processor-time ratio" lc rgb "#8fb8de", \
     "" using (\$5 > 0 ? \$5 : 1/0) title "goal for the wall-time ratio (at most)" lc rgb "#f0a030"
EOF
echo "written: bench/results/compare.md, bench/results/compare.png" >&2
