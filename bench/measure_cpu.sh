#!/usr/bin/env bash
# Processor use of the game plus the X server (Xvfb) over 10 s: at its first menu, then playing a
# level (no input: the ship sits still). Run after a build:
#   bench/measure_cpu.sh [build-dir] [scale]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
scale=${2:-3}
scratch=$(mktemp -d)
numberFile=$scratch/display
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
xvfb=$!
game=""
trap 'kill $game $xvfb 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n 1 "$numberFile")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The game from a copy of its folder, so that its settings and preferences are its own.
cp "$build/korvex" "$scratch/korvex"
cp -r "$build/data" "$scratch/data"
rm -f "$scratch/data/korvex.set" "$scratch/data/korvex.conf"
# A lock folder of its own, so that no other copy of the game on the machine stops this one.
XDG_RUNTIME_DIR=$scratch TMPDIR=$scratch SDL_AUDIODRIVER=dummy "$scratch/korvex" --scale "$scale" --window &
game=$!
sleep 4  # past the splash: the menu waits

ticks() {  # user + system clock ticks of the game and the X server
    awk '{ s += $14 + $15 } END { print s }' /proc/$game/stat /proc/$xvfb/stat
}
measure() {  # what
    local before after
    before=$(ticks)
    sleep 10
    after=$(ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v what="$1" \
        'BEGIN { printf "%s at scale '"$scale"': %.1f %% of one processor (game + X server, 10 s)\n", what, 100 * t / hz / 10 }'
}
measure "waiting menu"
window=$(xdotool search --name '^KORVEX$' | head -n 1)
xdotool mousemove --window "$window" $((20 * scale)) $((40 * scale)) click 1  # NEW GAME
sleep 1
measure "play"
xdotool key --window "$window" p
sleep 1
measure "paused level"
