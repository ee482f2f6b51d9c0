#!/usr/bin/env bash
# The installed layout: cmake --install into a scratch prefix that is then read-only, the game started
# from its bin/ with a fresh HOME and no XDG_* variables, played to a game over, a name typed for the
# score. The settings land in ~/.local/share/korvex/ (a private folder); nothing in the prefix changes.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/installed CMAKE=$5
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
SCRATCH=$(mktemp -d)
trap 'stop_all; chmod -R u+w "$SCRATCH"; rm -rf "$SCRATCH"' EXIT
PREFIX=$SCRATCH/prefix HOME_DIR=$SCRATCH/home
mkdir -p "$HOME_DIR"

"$CMAKE" --install "$(dirname "$KORVEX")" --prefix "$PREFIX" >/dev/null
[ -x "$PREFIX/bin/korvex" ] && [ -f "$PREFIX/share/korvex/1.pak" ] || fail "the install left out the game or its data"
[ ! -e "$PREFIX/share/korvex/korvex.set" ] || fail "the install copied a settings file"
chmod -R a-w "$PREFIX"
listing() { find "$PREFIX" -printf '%p %s %T@ %m\n' | sort; }
listing >"$ARTEFACTS/prefix-before.txt"

# Modes do not stop root: then the prefix is also mounted read-only for the game alone.
read_only_prefix=(env)
if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    read_only_prefix=(unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && shift &&
                      exec "$@"' sh "$PREFIX")
fi
start_x
RUNTIME=$SCRATCH/runtime && mkdir -p "$RUNTIME"
launch "${read_only_prefix[@]}" env -i HOME="$HOME_DIR" PATH="$PATH" DISPLAY="$DISPLAY" TMPDIR="$RUNTIME" \
    SDL_AUDIODRIVER=dummy "$PREFIX/bin/korvex"
sleep 1.8
shot 1-menu
tap 50 74                      # Options
tap 10 136                     # Hard: the bombs come thick
tap 110 294                    # OK: the first save makes the player's folder
tap 60 45                      # New game
# Stand in the middle and fire until the last life is lost and the table asks for a name.
"$PAK" unpack "$PREFIX/share/korvex/1.pak" "$SCRATCH/art" >/dev/null
xdotool keydown Up
for _ in $(seq 120); do
    sleep 1
    import -window "$WINDOW" -crop 240x86+0+234 +repage "$SCRATCH/bottom.png" 2>/dev/null || true
    [ "$(differing_pixels "$SCRATCH/bottom.png" "$SCRATCH/art/keyboard_small.bmp")" -lt 200 ] && break
done
xdotool keyup Up
shot 2-name-entry
[ "$(differing_pixels "$SCRATCH/bottom.png" "$SCRATCH/art/keyboard_small.bmp")" -lt 200 ] ||
    fail "no game over with a name to type within two minutes"
# k o r v e x on the on-screen keyboard (its top row is at y = 234), then OK, then Quit from the menu.
for key in "157 276" "168 260" "83 260" "95 293" "66 260" "61 293"; do tap $key; done
shot 3-name-typed
tap 58 219
sleep 0.5
tap 30 193
expect_exit_code 0

listing >"$ARTEFACTS/prefix-after.txt"
diff "$ARTEFACTS/prefix-before.txt" "$ARTEFACTS/prefix-after.txt" || fail "the game changed the installed prefix"
PLAYER=$HOME_DIR/.local/share/korvex
[ "$(stat -c %a "$PLAYER")" = 700 ] || fail "the player's folder has mode $(stat -c %a "$PLAYER"), not 700"
[ "$(stat -c %s "$PLAYER/korvex.set")" = 211 ] || fail "korvex.set is not 211 bytes"
name=$(dd if="$PLAYER/korvex.set" bs=1 skip=6 count=7 2>/dev/null | od -An -c | tr -s ' ')
[ "$name" = " k o r v e x \\0" ] || fail "the best name is '$name', not korvex"
score=$(od -An -td4 -j156 -N4 "$PLAYER/korvex.set" | tr -d ' ')
difficulty=$(od -An -tu1 -j2 -N1 "$PLAYER/korvex.set" | tr -d ' ')
[ "$score" -gt 0 ] && [ "$difficulty" = 2 ] || fail "best score $score, difficulty $difficulty"
echo "e2e installed: 1 passed, 0 failed (score $score stored in $PLAYER)"
