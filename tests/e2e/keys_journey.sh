#!/usr/bin/env bash
# The real game in Xvfb at scale 2, driven by the keyboard alone: the options set by arrows and Enter, a level
# started, paused (the frozen picture with its banner) and resumed, played until the last life is
# lost, a name typed on the physical keyboard, and the game left from the menu; the settings file
# then holds the difficulty and the name with the score.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/keys_journey
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap stop_all EXIT

"$PAK" unpack "$(dirname "$KORVEX")/data/1.pak" "$ARTEFACTS/pack" >/dev/null
convert "$ARTEFACTS/pack/scores.bmp" -crop 240x70+0+0 +repage "$ARTEFACTS/expected-scores-title.png"

start_x 800x800
start_game --scale 2
# The window shows every pixel as 2 x 2: the checks below read the game's own 240 x 320 picture.
shot() {
    import -window "$WINDOW" "$ARTEFACTS/$1.png" 2>/dev/null || fail "screenshot $1"
    convert "$ARTEFACTS/$1.png" -sample 50% "$ARTEFACTS/$1.png"
}
xdotool windowfocus --sync "$WINDOW"
sleep 1.8                                 # the splash
key() { xdotool key --delay 120 "$@"; sleep 0.3; }
key Down                                  # the focus frame appears on New game
shot 1-menu-focus
key Down Return                           # Options
key Up Up Up Return                       # Hard
shot 2-options-hard
key Escape                                # saved on the way back
key Up Return                             # New game
sleep 1.5                                 # the level banner
shot 3-level
key p
shot 4-paused
sleep 1
shot 5-still-paused
key space
sleep 0.5
shot 6-resumed

# Plays on, firing from where it stands, until the scores screen asks for the name.
xdotool keydown Up
for second in $(seq 150); do
    sleep 1
    shot 7-waiting
    convert "$ARTEFACTS/7-waiting.png" -crop 240x70+0+0 +repage "$ARTEFACTS/7-title.png"
    [ "$(differing_pixels "$ARTEFACTS/7-title.png" "$ARTEFACTS/expected-scores-title.png")" -lt 200 ] && break
done
xdotool keyup Up
echo "the name is asked for after $second s"
xdotool type --delay 150 'Ace 77'
key BackSpace
shot 8-name-typed
key Return
key Down Down Down Down Down Down Return  # the first shows the frame; Quit
expect_exit_code 0

differs() { [ "$(differing_pixels "$ARTEFACTS/$1.png" "$ARTEFACTS/$2.png")" -gt "$3" ] || fail "$4"; }
same() { [ "$(differing_pixels "$ARTEFACTS/$1.png" "$ARTEFACTS/$2.png")" -lt "$3" ] || fail "$4"; }
# The banner is told by its ink: the band over the field holds hundreds of its pixels only while paused
# (a frame-to-frame difference alone is as large when the swarm just moves on).
banner_ink() {
    convert "$ARTEFACTS/$1.png" -crop 240x40+0+138 +repage -fuzz 5% -fill white -opaque "#F8A830" \
        -fill black +opaque white -format "%[fx:round(mean*w*h)]" info:
}
[ "$(banner_ink 3-level)" -lt 100 ] && [ "$(banner_ink 4-paused)" -gt 300 ] || fail "P did not show the pause banner"
same 4-paused 5-still-paused 1 "the level moved while paused"
[ "$(banner_ink 6-resumed)" -lt 100 ] || fail "Space did not resume the level"
differs 4-paused 6-resumed 2000 "the level did not move on after Space"

set_file=$GAME_DIR/data/korvex.set
[ "$(od -An -tu1 -j2 -N1 "$set_file" | tr -d ' ')" = 2 ] || fail "the difficulty is not Hard"
[ "$(head -c 12 "$set_file" | tail -c 6 | tr -d '\0')" = "Ace 7" ] || fail "the name is not in the settings file"
score=$(od -An -td4 -j156 -N4 "$set_file" | tr -d ' ')
[ "$score" -ge 0 ] || fail "no score stored"
echo "e2e keys_journey: 1 passed, 0 failed (score $score)"
