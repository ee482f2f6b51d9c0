#!/usr/bin/env bash
# A recorded game watched in the real window: it plays on by itself, Escape ends it with exit code
# 0, and watching writes no file beside the game.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/replay_watch
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap stop_all EXIT
REPLAY=$(cd "$(dirname "$0")/../replays" && pwd)/medium.kvr

start_x
start_game --replay "$REPLAY" --speed 2
sleep 2
shot playing-1
sleep 0.7
shot playing-2
[ "$(differing_pixels "$ARTEFACTS/playing-1.png" "$ARTEFACTS/playing-2.png")" -gt 50 ] ||
    fail "the recorded game does not move"

# A click first gives the window the keyboard (the click itself is not the recorded player's).
xdotool mousemove --window "$WINDOW" 120 160 click 1
sleep 0.5
xdotool key Escape
expect_exit_code 0
[ -z "$(ls "$GAME_DIR/data" | grep -E 'korvex.set|\.kvr')" ] || fail "watching wrote a file: $(ls "$GAME_DIR/data")"
echo "e2e replay_watch: 1 passed, 0 failed"
