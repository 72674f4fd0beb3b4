#!/bin/sh
# Writes a PNG of each of the five pages, taken from the real program under
# Xvfb and reached by clicks: shots/form1.png ... shots/form22.png, and step 1
# with a filled job list (shots/form11-list.png).
# Usage: tools/screenshots.sh [build folder] [output folder]
# Needs xvfb-run, xauth, xdotool and ImageMagick's import.
set -eu

if [ -z "${STAMPORA_SHOTS_DISPLAY:-}" ]; then
    BUILD=${1:-build}
    OUT=${2:-shots}
    mkdir -p "$OUT"
    # A private settings folder whose stored folder is a folder of real pictures,
    # so step 1 shows files and its job list can be filled.
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
    PICTURES="$WORK/Bilder vom Urlaub"
    mkdir -p "$PICTURES/Strand" "$PICTURES/Berge" "$WORK/config"
    for name in "Abendrot am Meer" "Berggipfel" "Hafen bei Nacht" "Sonnenaufgang 2002"; do
        convert -size 320x240 gradient:orange-navy "$PICTURES/$name.jpg"
    done
    convert -size 64x64 xc:teal "$PICTURES/Logo.png"
    convert -size 32x32 xc:red "$PICTURES/Knopf.gif"
    echo "nicht im Filter" > "$PICTURES/Notizen.txt"
    printf '[Stampora]\ncurpath=%s\n' "$PICTURES" > "$WORK/config/Vendrake.ini"
    XDG_CONFIG_HOME="$WORK/config" PROGRAM=$(realpath "$BUILD/stampora") OUT=$(realpath "$OUT") \
        STAMPORA_SHOTS_DISPLAY=1 xvfb-run -a -s '-screen 0 1280x1024x24' sh "$0"
    exit
fi

# Inside Xvfb there is no window manager, so each page's client area lies
# exactly at its designed origin (twips / 15): the main menu at (217, 153),
# the other pages at (175, 124). Clicks go to the middle of a button.
click() { xdotool mousemove "$1" "$2" click 1; sleep 1; }
shoot() {
    window=$(xdotool search --sync --onlyvisible --name 'Stampora' | head -n 1)
    import -window "$window" "$OUT/$1.png"
    echo "$OUT/$1.png"
}

"$PROGRAM" & pid=$!
sleep 2
shoot form1
click 377 173 # main menu: "Dateien mit einem Copyright versetzen"
shoot form11
click 227 400 # step 1: "++" adds every listed file
click 258 462 # step 1: the job list's second row becomes current
shoot form11-list
click 611 540 # step 1: ">> Schritt 2"
shoot form2
click 611 540 # step 2: ">> Schritt 3"
shoot form3
kill "$pid"

# a small file stamped twice, for the viewer to read
sample=$(mktemp /tmp/stampora-shot-XXXXXX.jpg)
block() { printf '\032\012\015\010\000\014\00010a1020z04y5\010\000\000\000%s' "$1"; }
{
    printf 'picture bytes'
    block "$(printf 'Copyright (C) 2002 Erika Beispiel\r\nAlle Rechte vorbehalten.\r\n')"
    block 'Zweiter Stempel'
} >"$sample"

"$PROGRAM" & pid=$!
sleep 2
click 377 205 # main menu: "Copyright von Dateien anzeigen"
shoot form22-empty
click 243 200 # "Copyrights einlesen" on the start value, a folder: a message
import -window root -crop 640x480+100+80 "$OUT/form22-message.png"
echo "$OUT/form22-message.png"
xdotool key Return
sleep 1
xdotool mousemove 375 165 click --repeat 3 1 key ctrl+a type "$sample"
click 243 200 # viewer: "Copyrights einlesen"
click 235 266 # viewer: the first entry
shoot form22
kill "$pid"
rm -f "$sample"
