#!/usr/bin/env bash
# The bash completion of stampora-cli, loaded into bash with and without the
# bash-completion package's helpers: commands, options, option values, file and
# folder names; and every option that a command's --help lists is offered.
# Usage: completion_test.sh SCRIPT STAMPORA_CLI
set -uo pipefail
script=$1
cli=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# what the completion offers for the words given (the last one is completed),
# one a line, sorted
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _stampora_cli
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}

expect() { # expect WHAT EXPECTED WORDS...
    local what=$1 expected=$2
    shift 2
    local got
    got=$(offers "$@")
    if [[ $got != "$expected" ]]; then
        echo "FAIL ($mode): $what: got [$got], expected [$expected]" >&2
        failed=1
    fi
}

mkdir -p "$tmp/work/bilder/2020" "$tmp/work/bilder/alt"
touch "$tmp/work/bilder/a.jpg" "$tmp/work/bilder/b.gif" "$tmp/work/liste.txt"
cd "$tmp/work" || exit 1

for mode in plain bash-completion; do
    (
        if [[ $mode == bash-completion ]]; then
            source /usr/share/bash-completion/bash_completion ||
                { echo "FAIL: bash-completion is not installed" >&2; exit 1; }
        fi
        source "$script" || { echo "FAIL ($mode): the script does not load" >&2; exit 1; }
        complete -p stampora-cli | grep -q -- '-F _stampora_cli' ||
            { echo "FAIL ($mode): not registered" >&2; exit 1; }

        expect "commands" $'read\nstamp' stampora-cli ''
        expect "program options" $'--help\n--version' stampora-cli --
        expect "stamp options starting --k" $'--keep-folders\n--keep-quality' stampora-cli stamp --k
        expect "stamp options starting --no-" $'--no-keep-quality\n--no-notice' stampora-cli stamp --no-
        expect "read options starting --r" --recursive stampora-cli read --r
        expect "read has no --output" '' stampora-cli read --out
        expect "modes" $'direct\nenlarge' stampora-cli stamp --mode ''
        expect "folders for --output" $'bilder/2020\nbilder/alt' stampora-cli stamp --output bilder/
        expect "folders for --keep-folders=" $'bilder/2020\nbilder/alt' stampora-cli stamp --keep-folders=bilder/
        expect "files for --files-from" $'bilder/2020\nbilder/a.jpg\nbilder/alt\nbilder/b.gif' \
            stampora-cli stamp --files-from bilder/
        expect "files as arguments" $'bilder/2020\nbilder/a.jpg\nbilder/alt\nbilder/b.gif' \
            stampora-cli read --json bilder/
        expect "free text after --text" '' stampora-cli stamp --text ''

        # every option of a command's help is offered, and no other
        for command in read stamp; do
            listed=$("$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | grep -v -- '--help\|--version' | LC_ALL=C sort -u)
            offered=$(offers stampora-cli "$command" -- | grep -v -- '--help\|--version')
            [[ $listed == "$offered" ]] ||
                { echo "FAIL ($mode): $command: help lists [$listed], completion offers [$offered]" >&2; failed=1; }
        done
        exit $failed
    ) || failed=1
done
[[ $failed == 0 ]] && echo "completion: ok"
exit $failed
