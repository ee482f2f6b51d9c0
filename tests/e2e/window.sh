#!/usr/bin/env bash
# The real game at --scale 2: the scale-1 picture with every pixel 2 x 2, the same picture centred
# in full screen after F11, and a click at scaled coordinates reaches its button. A bad command line never starts the game. A missing pack is shown
# in the window with the built-in font; OK ends the game with exit code 0.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/window
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap stop_all EXIT

code=0
DISPLAY= "$KORVEX" --scale 9 >/dev/null 2>"$ARTEFACTS/bad-option.txt" || code=$?
[ "$code" -eq 2 ] || fail "--scale 9 ended with exit code $code, expected 2"
head -n 1 "$ARTEFACTS/bad-option.txt" | grep -q "^korvex: --scale" || fail "no one-line error for --scale 9"
sed -n 2p "$ARTEFACTS/bad-option.txt" | grep -q "^Usage: korvex" || fail "no usage after the error"
"$KORVEX" --help | grep -q -- "--fullscreen" || fail "--help does not list --fullscreen"
"$KORVEX" --version | grep -q "^korvex [0-9]" || fail "--version"

start_x 800x800
end_game() {
    "$CLOSE_WINDOW" "$WINDOW"
    expect_exit_code 0
}

start_game --scale 1
sleep 2  # past the splash: the menu
shot menu-scale1
end_game
start_game --scale 2
sleep 2
shot menu-scale2
# On sdl12-compat too the window is not drawn through OpenGL, which Xvfb has only in software.
! grep -qs llvmpipe /proc/"$GAME_PID"/task/*/comm || fail "the window is drawn through software OpenGL"
[ "$(identify -format %wx%h "$ARTEFACTS/menu-scale2.png")" = 480x640 ] || fail "the window is not 480 x 640"
convert "$ARTEFACTS/menu-scale2.png" -sample 50% "$ARTEFACTS/menu-scale2-down.png"
[ "$(differing_pixels "$ARTEFACTS/menu-scale2-down.png" "$ARTEFACTS/menu-scale1.png")" -eq 0 ] ||
    fail "the scale-2 picture is not the scale-1 picture"
# Every pixel of a 2 x 2 block is the same.
convert "$ARTEFACTS/menu-scale2-down.png" -scale 200% "$ARTEFACTS/menu-scale2-up.png"
[ "$(differing_pixels "$ARTEFACTS/menu-scale2-up.png" "$ARTEFACTS/menu-scale2.png")" -eq 0 ] ||
    fail "the scale-2 picture is not made of 2 x 2 blocks"
# F11 from the scaled window: the picture at scale 2, centred on the 800 x 800 screen (on sdl12-compat
# too, where the window is moved to the screen's corner by the game itself when no window manager does).
xdotool key --window "$WINDOW" F11
sleep 1
import -window root -crop 480x640+160+80 +repage "$ARTEFACTS/menu-fullscreen.png" 2>/dev/null || fail "screenshot"
[ "$(differing_pixels "$ARTEFACTS/menu-fullscreen.png" "$ARTEFACTS/menu-scale2.png")" -eq 0 ] ||
    fail "full screen after F11 from a scaled window does not show the picture centred"
xdotool key --window "$WINDOW" F11
sleep 1
tap 40 140  # OPTIONS, at (20, 70) on the game's screen
shot options-scale2
[ "$(differing_pixels "$ARTEFACTS/options-scale2.png" "$ARTEFACTS/menu-scale2.png")" -gt 5000 ] ||
    fail "a click on OPTIONS at scale 2 did not open the options"
end_game  # from the options screen: a close request ends the game wherever it comes

prepare_game
rm "$GAME_DIR/data/0.pak"
GAME_STDERR=$ARTEFACTS/missing-pack-stderr.txt launch_game --scale 2
sleep 1
shot missing-pack
grep -q "Cannot open .*0.pak" "$ARTEFACTS/missing-pack-stderr.txt" || fail "the message is not on standard error"
# The OK button is the one area of its colour.
button=$(convert "$ARTEFACTS/missing-pack.png" -fuzz 4% -fill black +opaque "rgb(196,204,228)" -format %@ info:)
[[ $button =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no OK button in the window ($button)"
[ "${BASH_REMATCH[1]}" -gt 100 ] || fail "the OK button is too narrow for scale 2 ($button)"
tap $((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))
expect_exit_code 0
echo "e2e window: 1 passed, 0 failed"
