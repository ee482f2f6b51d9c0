#!/usr/bin/env bash
# The Debian package: built with cpack, its control data and contents checked, validated by lintian,
# desktop-file-validate, appstreamcli and man, then unpacked into a scratch root whose game is started
# to its menu. Prints the package's size and its installed size.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/package CPACK=$5 VERSION=$6
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
SCRATCH=$(mktemp -d)
trap 'stop_all; rm -rf "$SCRATCH"' EXIT
BUILD=$(dirname "$KORVEX")

"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$SCRATCH/out" >"$SCRATCH/cpack.log" 2>&1 ||
    { cat "$SCRATCH/cpack.log"; fail "cpack failed"; }
DEB=$SCRATCH/out/korvex_${VERSION}_$(dpkg --print-architecture).deb
[ -f "$DEB" ] || fail "no $(basename "$DEB"): $(ls "$SCRATCH/out")"

dpkg-deb --info "$DEB" >"$ARTEFACTS/info.txt"
field() { dpkg-deb --field "$DEB" "$1"; }
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Version)" = "$VERSION" ] || fail "version $(field Version)"
field Depends | grep -q 'libsdl1\.2' || fail "Depends names no SDL library: $(field Depends)"
field Depends | grep -q 'zlib1g' || fail "Depends names no zlib: $(field Depends)"
[ "$(field Description | wc -l)" -gt 2 ] || fail "the description has no body"

dpkg-deb --contents "$DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$ARTEFACTS/contents.txt"
for path in /usr/games/korvex /usr/share/korvex/0.pak /usr/share/korvex/1.pak /usr/share/korvex/story \
    /usr/share/korvex/story1.bmp /usr/share/korvex/3.wav /usr/share/applications/korvex.desktop \
    /usr/share/metainfo/org.korvex.korvex.metainfo.xml /usr/share/man/man6/korvex.6.gz \
    /usr/share/doc/korvex/copyright /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/korvex.png; do
    grep -qx "$path" "$ARTEFACTS/contents.txt" || fail "the package lacks $path"
done
! grep -E 'pak$|assetgen|uninstall|_tests|\.set$|^/usr/local' "$ARTEFACTS/contents.txt" | grep -v '\.pak$' ||
    fail "the package holds more than the game"

ROOT=$SCRATCH/root
dpkg-deb -x "$DEB" "$ROOT"
for size in 16 32 48 64 128 256; do
    [ "$(identify -format '%m %wx%h' "$ROOT/usr/share/icons/hicolor/${size}x$size/apps/korvex.png")" = "PNG ${size}x$size" ] ||
        fail "the ${size}px icon is not a ${size}x$size PNG"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$ROOT/usr/share/applications/korvex.desktop" || fail "desktop-file-validate"
    grep -qx 'Categories=Game;ArcadeGame;' "$ROOT/usr/share/applications/korvex.desktop" || fail "categories"
else echo "desktop-file-validate is not installed: skipped"; fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$ROOT/usr/share/metainfo/org.korvex.korvex.metainfo.xml" || fail "appstreamcli"
else echo "appstreamcli is not installed: skipped"; fi
warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$ROOT/usr/share/man/man6/korvex.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man warns: $warnings"
if command -v lintian >/dev/null; then
    # lintian leaves its caches in TMPDIR: they go with the scratch folder.
    TMPDIR=$SCRATCH lintian --tag-display-limit 0 "$DEB" >"$ARTEFACTS/lintian.txt" 2>&1 || true
    grep -v 'root privileges' "$ARTEFACTS/lintian.txt" || echo "lintian: no errors, no warnings"
    ! grep -q '^E:' "$ARTEFACTS/lintian.txt" || fail "lintian reports errors"
else echo "lintian is not installed: skipped"; fi

# The unpacked game: data found from its own place, player files in a scratch home, up to its menu.
mkdir -p "$SCRATCH/home" "$SCRATCH/runtime"
"$PAK" unpack "$ROOT/usr/share/korvex/1.pak" "$SCRATCH/art" >/dev/null
start_x
launch env -i HOME="$SCRATCH/home" PATH="$PATH" DISPLAY="$DISPLAY" TMPDIR="$SCRATCH/runtime" \
    SDL_AUDIODRIVER=dummy "$ROOT/usr/games/korvex"
sleep 1.8
shot menu
[ "$(differing_pixels "$ARTEFACTS/menu.png" "$SCRATCH/art/NewGameBackground.bmp")" -lt 500 ] ||
    fail "the unpacked game did not reach its menu"
"$CLOSE_WINDOW" "$WINDOW"
expect_exit_code 0
echo "package $(basename "$DEB"): $(stat -c %s "$DEB") bytes, installed size $(field Installed-Size) KiB"
echo "e2e package: 1 passed, 0 failed"
