#!/usr/bin/env bash
# The install tree, its desktop metadata, and the Debian package, checked from a
# scratch DESTDIR and an unpacked package. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=example.vendrake.Stampora
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$tmp/root/usr"
for f in bin/stampora bin/stampora-cli \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/32x32/apps/$id.png \
         share/icons/hicolor/128x128/apps/$id.png \
         share/stampora/help/frames.htm share/man/man1/stampora.1 share/man/man1/stampora-cli.1 \
         share/bash-completion/completions/stampora-cli; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
[ -x "$usr/bin/stampora" ] && [ -x "$usr/bin/stampora-cli" ] || fail "programs not executable"
# nothing installed outside the prefix
[ "$(ls "$tmp/root")" = usr ] || fail "files outside /usr: $(ls "$tmp/root")"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "icon name"
man -l "$usr/share/man/man1/stampora-cli.1" >/dev/null 2>&1 || true
# the man page lists the options for many files
for option in files-from null keep-folders recursive; do
    tr -d '\\' < "$usr/share/man/man1/stampora-cli.1" | grep -q -- "--$option" || fail "man page lacks --$option"
done
# the completion loads and completes the installed program's options
bash -c 'source "$1" && COMP_WORDS=(stampora-cli stamp --keep-f) COMP_CWORD=2 && _stampora_cli &&
         [[ ${COMPREPLY[*]} == --keep-folders ]]' _ "$usr/share/bash-completion/completions/stampora-cli" ||
    fail "bash completion"

# the Debian package: built, unpacked, and its command-line program used for real
(cd "$build" && cpack -G DEB -B "$tmp/pkg" >/dev/null) || fail "cpack"
deb=$(ls "$tmp"/pkg/*.deb)
dpkg-deb -f "$deb" Package | grep -qx stampora || fail "package name"
dpkg-deb -f "$deb" Depends | grep -q libqt6 || fail "dependencies from the shared libraries"
dpkg-deb -f "$deb" Maintainer | grep -q . || fail "maintainer"
dpkg -x "$deb" "$tmp/x"
[ -f "$tmp/x/usr/share/bash-completion/completions/stampora-cli" ] || fail "bash completion in the package"
cli="$tmp/x/usr/bin/stampora-cli"
[ "$("$cli" --version)" = "stampora-cli 1.20" ] || fail "version"
mkdir -p "$tmp/work/src"
printf 'picture bytes' > "$tmp/work/src/a.gif"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$tmp/work/config" \
    "$cli" stamp --output "$tmp/work/out" --text "(c) Test" --no-notice "$tmp/work/src/a.gif" \
    || fail "stamp from the package"
[ "$("$cli" read "$tmp/work/out/a.gif")" = "(c) Test" ] || fail "read back from the package"
echo "install tree and package: ok"
