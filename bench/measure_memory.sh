#!/usr/bin/env bash
# Peak resident memory of the game at its first screen minus that of a bare SDL program that only
# opens the same video mode, both in the same X server (Xvfb). Run after a build:
#   bench/measure_memory.sh [build-dir]
set -euo pipefail
build=${1:-build}
numberFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
xvfb=$!
# The game runs from a copy of its folder, at scale 1, with settings and preferences of its own.
gameDir=$(mktemp -d)
cp "$build/korvex" "$gameDir/korvex"
cp -r "$build/data" "$gameDir/data"
rm -f "$gameDir/data/korvex.set" "$gameDir/data/korvex.conf"
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$numberFile" "$gameDir"' EXIT
for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.05; done
display=:$(head -n 1 "$numberFile")
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

peak_kb() {  # program, seconds to settle
    # A lock folder of its own, so that no other copy of the game on the machine stops this one.
    local runtime
    runtime=$(mktemp -d)
    env ${AUDIO:+SDL_AUDIODRIVER=$AUDIO} XDG_RUNTIME_DIR="$runtime" TMPDIR="$runtime" DISPLAY=$display "$1" \
        >/dev/null 2>&1 &
    local pid=$!
    sleep "$2"
    local hwm
    hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    rm -rf "$runtime"
    echo "$hwm"
}

bare=$(peak_kb "$build/bench/bare_sdl" 2)
# The splash shows for 1 s; by 4 s the game waits at its first menu.
game=$(peak_kb "$gameDir/korvex" 4)
echo "bare SDL program: ${bare} kB peak resident"
echo "korvex at its first menu: ${game} kB peak resident"
echo "difference: $((game - bare)) kB"
