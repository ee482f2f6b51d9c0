#!/usr/bin/env bash
# Peak resident memory of the game at its first screen minus that of a bare SDL program that only
# opens the same video mode, both in the same X server (Xvfb), in a number of runs. Run after a build:
#   bench/measure_memory.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-3}
numberFile=$(mktemp)
# -noreset: a server that resets when its last client leaves (xdpyinfo below, the bare program) can
# refuse the next program's connection while it does, and that program ends at once.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
xvfb=$!
# The game runs from a copy of its folder, at scale 1, with settings and preferences of its own.
gameDir=$(mktemp -d)
cp "$build/korvex" "$gameDir/korvex"
cp -r "$build/data" "$gameDir/data"
trap 'kill $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$numberFile" "$gameDir"' EXIT
for _ in $(seq 100); do [ -s "$numberFile" ] && break; sleep 0.05; done
display=:$(head -n 1 "$numberFile")
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

peak_kb() {  # program, seconds to settle
    # A lock folder of its own, so that no other copy of the game on the machine stops this one.
    local runtime pid hwm="" attempt
    runtime=$(mktemp -d)
    for attempt in 1 2 3; do
        env ${AUDIO:+SDL_AUDIODRIVER=$AUDIO} XDG_RUNTIME_DIR="$runtime" TMPDIR="$runtime" DISPLAY=$display "$1" \
            >/dev/null 2>&1 &
        pid=$!
        # Read only from a program still running when the time is up: one that ended early (it could
        # not open its window) has no figure to give, and is started again.
        sleep "$2"
        if kill -0 "$pid" 2>/dev/null; then
            hwm=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
        fi
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        [ -n "$hwm" ] && break
        echo "measure_memory: $1 was not running after $2 s (attempt $attempt)" >&2
    done
    rm -rf "$runtime"
    [ -n "$hwm" ] || { echo "measure_memory: no figure for $1" >&2; return 1; }
    echo "$hwm"
}

for run in $(seq "$runs"); do
    rm -f "$gameDir/data/korvex.set" "$gameDir/data/korvex.conf"
    bare=$(peak_kb "$build/bench/bare_sdl" 2)
    # The splash shows for 1 s; by 4 s the game waits at its first menu.
    game=$(peak_kb "$gameDir/korvex" 4)
    echo "run $run: bare SDL program ${bare} kB, korvex at its first menu ${game} kB peak resident;" \
        "difference $((game - bare)) kB"
done
