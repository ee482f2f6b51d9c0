#!/usr/bin/env bash
# The real game in Xvfb, driven like a player: from the menu into a level, back to the menu,
# through the options (the choice is saved), and out by the quit button with exit code 0.
# Screenshots of every screen are kept in the artefacts folder.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/journey
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap stop_all EXIT

start_x
start_game
sleep 1.8                      # the splash shows for one second
shot 1-menu
tap 60 45                      # New game
sleep 1.6                      # the level banner shows for one second
shot 2-level-start
xdotool keydown Up; sleep 0.6; xdotool keyup Up
xdotool keydown Right; sleep 0.5; xdotool keyup Right
shot 3-level-playing
tap 118 283                    # the in-game MENU button
sleep 0.3
shot 4-menu-in-game
tap 50 74                      # Options
shot 5-options
tap 10 136                     # Hard
shot 6-options-hard
tap 110 294                    # OK: saves and returns to the menu
shot 7-menu-again
tap 30 193                     # Quit
expect_exit_code 0

differs() { [ "$(differing_pixels "$ARTEFACTS/$1.png" "$ARTEFACTS/$2.png")" -gt "$3" ] || fail "$4"; }
differs 1-menu 2-level-start 5000 "New game did not start a level"
differs 2-level-start 3-level-playing 50 "the level did not move"
differs 3-level-playing 4-menu-in-game 5000 "the MENU button did not open the menu"
differs 1-menu 4-menu-in-game 100 "the menu during play shows no resume button"
differs 4-menu-in-game 5-options 5000 "Options did not open"
differs 5-options 6-options-hard 20 "the difficulty marker did not move"
differs 6-options-hard 7-menu-again 5000 "OK did not leave the options"

difficulty=$(od -An -tu1 -j2 -N1 "$GAME_DIR/data/korvex.set" | tr -d ' ')
[ "$difficulty" = 2 ] || fail "the settings file holds difficulty $difficulty, expected 2"
echo "e2e journey: 1 passed, 0 failed"
