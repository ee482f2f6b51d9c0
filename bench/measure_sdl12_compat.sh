#!/usr/bin/env bash
# The game on sdl12-compat (SDL 1.2 on top of SDL 2) against the classic SDL 1.2: the game's own
# processor ticks (user + system) over 10 s of play, rounds alternating between the two so that a
# change in the machine's load falls on both alike. Run after a build:
#   bench/measure_sdl12_compat.sh [build-dir] [scale] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
scale=${2:-3}
rounds=${3:-3}
. "$root/scripts/lib-sdl12-compat.sh"
play_ticks() {  # the game's ticks in play, from bench/measure_cpu.sh's line
    "$root/bench/measure_cpu.sh" "$build" "$scale" | tee -a "$log" | awk '$1 == "play" { print $5 }'
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for round in $(seq "$rounds"); do
    classic=$(play_ticks)
    compat=$(LD_LIBRARY_PATH=$compat_path play_ticks)
    awk -v a="$classic" -v b="$compat" -v r="$round" -v load="$(cut -d ' ' -f 1 /proc/loadavg)" 'BEGIN {
        printf "round %d: play at scale '"$scale"': classic SDL %d ticks, sdl12-compat %d ticks: %.2fx (load %s)\n",
               r, a, b, a ? b / a : 0, load }'
done
[ -z "${VERBOSE:-}" ] || cat "$log"
