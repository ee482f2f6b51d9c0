#!/usr/bin/env bash
# Processor use of the game and of the X server (Xvfb 1280x1024) over 10 s: at its first menu, playing
# a level (no input: the ship sits still), and paused right after a few shots were heard, where
# nothing plays and nothing should wake. Beside the clock ticks, the game's wake-ups (voluntary
# context switches of all its threads) and its thread count: SDL's audio thread wakes for every
# buffer while the sound device is open. Run after a build:
#   bench/measure_cpu.sh [build-dir] [scale] [rounds]
# The SDL the game runs on is the one the library path gives it (scripts/test-sdl12-compat.sh shows
# how to put sdl12-compat first); the script names the one it found.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
scale=${2:-3}
rounds=${3:-1}
scratch=$(mktemp -d)
numberFile=$scratch/display
# -noreset: the server must not reset when a short-lived client (xdpyinfo, xdotool) leaves.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
xvfb=$!
game=""
trap 'kill $game $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n 1 "$numberFile")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The game from a copy of its folder, so that its settings and preferences are its own.
cp "$build/korvex" "$scratch/korvex"
cp -r "$build/data" "$scratch/data"
hz=$(getconf CLK_TCK)
echo "machine: $(nproc) processors, load average $(cut -d ' ' -f 1-3 /proc/loadavg) at the start"

ticks() {  # user + system clock ticks of a process and all its threads
    awk '{ s += $14 + $15 } END { print s }' "/proc/$1/stat"
}
wakeups() {  # voluntary context switches of all the threads of a process
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }'
}
measure() {  # what
    local game0 x0 w0 game1 x1 w1
    game0=$(ticks "$game") x0=$(ticks "$xvfb") w0=$(wakeups "$game")
    sleep 10
    game1=$(ticks "$game") x1=$(ticks "$xvfb") w1=$(wakeups "$game")
    awk -v g=$((game1 - game0)) -v x=$((x1 - x0)) -v w=$((w1 - w0)) -v hz="$hz" -v what="$1" \
        -v threads="$(ls /proc/"$game"/task | wc -l)" 'BEGIN {
            printf "%-13s scale '"$scale"': game %3d ticks (%.1f %%), X server %3d ticks, game wakes %.1f/s, %d threads\n",
                   what, g, 100 * g / hz / 10, x, w / 10, threads }'
}

for round in $(seq "$rounds"); do
    rm -f "$scratch/data/korvex.set" "$scratch/data/korvex.conf"
    # A lock folder of its own, so that no other copy of the game on the machine stops this one.
    XDG_RUNTIME_DIR=$scratch TMPDIR=$scratch SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$scratch/korvex" \
        --scale "$scale" --window &
    game=$!
    sleep 4  # past the splash: the menu waits
    if [ "$round" = 1 ]; then
        echo "SDL: $(grep -o '/[^ ]*libSDL-1.2[^ ]*' /proc/$game/maps | head -n 1)"
    fi
    echo "round $round (load average $(cut -d ' ' -f 1 /proc/loadavg)):"
    measure "waiting menu"
    window=$(xdotool search --name '^KORVEX$' | head -n 1)
    xdotool mousemove --window "$window" $((20 * scale)) $((40 * scale)) click 1  # NEW GAME
    sleep 1
    measure "play"
    xdotool keydown --window "$window" Control_L 2>/dev/null  # fire: every shot plays a sound
    sleep 0.5
    xdotool keyup --window "$window" Control_L key --window "$window" p 2>/dev/null
    sleep 2  # the last shot's sound has played out and the device is closed
    measure "paused level"
    kill "$game"
    wait "$game" 2>/dev/null || true
done
