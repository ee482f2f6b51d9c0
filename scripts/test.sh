#!/usr/bin/env bash
# On a fresh Debian 12 machine: installs what is missing, builds, and runs every test: unit and
# scenario tests, the game in a real X server (also on sdl12-compat), the uninstaller and the Windows build
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/check-format.sh
scripts/build.sh

# A player who played the game in the build folder keeps settings, preferences and recordings in
# build/data/; no test may read or change them. Where there are none, some are planted (a full score
# table, full screen at scale 5, a recording) to show a test that does; every one must come out of the
# tests byte for byte, and the planted ones go again.
player_files=(korvex.set korvex.conf score-1.kvr)
planted=()
plant() {
    [ -e "build/data/$1" ] && return
    cat >"build/data/$1"
    planted+=("build/data/$1")
}
trap 'rm -f "${planted[@]}"' EXIT
full_table() {  # the 211 bytes of five names "Ace" scoring 999999 each
    head -c 6 /dev/zero
    for _ in 1 2 3 4 5; do printf 'Ace' && head -c 27 /dev/zero; done
    for _ in 1 2 3 4 5; do printf '\x3f\x42\x0f\x00'; done
    printf '\x01\x01\x23\x00Brask' && head -c 26 /dev/zero
}
plant korvex.set < <(full_table)  # not in a pipe: plant must run in this shell
plant korvex.conf < <(printf 'scale = 5\nfullscreen = yes\n')
plant score-1.kvr <tests/replays/medium.kvr
player_sums=$(cd build/data && sha256sum "${player_files[@]}")

ctest --test-dir build --output-on-failure -j"$(nproc)"
# The unit and scenario tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/sanitize.sh
# The loaders' libFuzzer targets over their seed corpora plus a short fixed run (clang).
scripts/fuzz.sh check
# The same game on sdl12-compat, the maintained SDL 1.2 on top of SDL2.
scripts/test-sdl12-compat.sh
[ "$(cd build/data && sha256sum "${player_files[@]}")" = "$player_sums" ] ||
    { echo "test: the tests changed the player's files in build/data/" >&2; exit 1; }
# The uninstaller: cross-built for Windows, then run for real under Wine.
scripts/build-uninstaller.sh
scripts/test-uninstaller-wine.sh
# The Windows build: cross-built, then installed, played, checked against the Linux picture and the golden
# replays, and removed again by our uninstaller, for real under Wine.
scripts/test-windows-wine.sh
# The same game in the browser: built for WebAssembly and played in headless Chromium.
scripts/test-web.sh
