#!/usr/bin/env bash
# The folders of src/ and the #include lines between them: the core includes
# nothing of the windows or the programs, the page framework and pages nothing
# of the program, and no folder reaches itself again through others.
# Prints the folder graph with -v; exits 1 on a breach or a cycle.
set -euo pipefail
src=${1:?usage: layercheck.sh SRC_DIR [-v]}
verbose=${2:-}
cd "$src"

# "from to" for every include of one src/ folder by another
edges=$(grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"]+"' --include='*.h' --include='*.cpp' . |
    sed -E 's|^\./||; s|:[[:space:]]*#[[:space:]]*include[[:space:]]+"| |; s|"$||' |
    while read -r file included; do
        [ -e "$included" ] || continue # a header of the same folder or outside src/
        printf '%s %s\n' "$(dirname "$file")" "$(dirname "$included")"
    done | awk '$1 != $2' | sort -u)

[ "$verbose" = -v ] && printf '%s\n' "$edges"

status=0
# may folder $1 include from folder $2?
allowed() {
    case "$1" in
    core/*) [[ $2 == core/* ]] ;;
    gui/*) [[ $2 == core/* || $2 == gui/* ]] ;;
    app) [[ $2 == core/* || $2 == gui/* ]] ;;
    cli) [[ $2 == core/* ]] ;;
    *) false ;;
    esac
}
while read -r from to; do
    [ -n "$from" ] || continue
    if ! allowed "$from" "$to"; then
        echo "layer breach: src/$from includes from src/$to:" >&2
        grep -rlE "#[[:space:]]*include[[:space:]]+\"$to/" "$from" | sed 's/^/  /' >&2
        status=1
    fi
done <<<"$edges"

if ! printf '%s\n' "$edges" | grep . | tsort >/dev/null 2>/tmp/layercheck.$$; then
    echo "include cycle between the folders of src/:" >&2
    grep -v '^tsort: -: input contains a loop:' /tmp/layercheck.$$ | sed 's/^tsort: /  /' >&2
    status=1
fi
rm -f /tmp/layercheck.$$
exit $status
