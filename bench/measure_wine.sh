#!/usr/bin/env bash
# Figures of the Windows build under Wine (measurements, not tests): the sizes of what build-win/dist
# holds, the time from start to the window, and the processor use of the game alone and of the game with
# wineserver and Xvfb over 10 s at the first menu, in play (no input) and in a paused level. The portable
# zip runs from C:\Korvex in a fresh prefix. Run after scripts/build-windows.sh:
#   bench/measure_wine.sh [scale]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scale=${1:-2}
. "$root/scripts/lib-windows-wine.sh"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
close_window=$root/build/tests/e2e/close_window
dist=$root/build-win/dist
work=$(mktemp -d "${TMPDIR:-/tmp}/korvex-wine-bench.XXXXXX")
export TMPDIR=$work/tmp  # Wine keeps its server's folder there
mkdir -p "$TMPDIR"
trap '[ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null; timeout 30 wineserver -k 2>/dev/null;
      [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid"; rm -rf "$work"' EXIT

echo "sizes (bytes):"
unzip -q "$dist"/korvex-*-windows.zip -d "$work/unpacked"
stat -c '  %n %s' "$work/unpacked/Korvex/korvex.exe" "$work/unpacked/Korvex/SDL.dll" "$dist"/* | sed "s|$work/unpacked/||; s|$dist/||"
start_x
make_prefix
cp -r "$work/unpacked/Korvex" "$drive/Korvex"

for run in 1 2 3; do
  start_game 'C:\Korvex\korvex.exe' --scale "$scale" || exit 1
  echo "start to window, run $run: $window_ms ms"
  [ "$run" = 3 ] || stop_game
done
sleep 3  # past the splash: the menu waits

# The wineserver of this prefix: it works in /tmp/.wine-UID/server-DEVICE-INODE of the prefix.
prefix_server() {
  local folder pid
  folder=/tmp/.wine-$(id -u)/server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
  for pid in $(pgrep -u "$(id -u)" wineserver); do
    [ "$(readlink "/proc/$pid/cwd")" = "$folder" ] && echo "$pid"
  done
}
ticks() { awk '{ s += $14 + $15 } END { print s }' "$@" 2>/dev/null; }
measure() {  # what
  local server game_before all_before game_after all_after
  server=$(prefix_server)
  game_before=$(ticks "/proc/$game_pid/stat")
  all_before=$(ticks "/proc/$game_pid/stat" "/proc/$server/stat" "/proc/$xvfb_pid/stat")
  sleep 10
  game_after=$(ticks "/proc/$game_pid/stat")
  all_after=$(ticks "/proc/$game_pid/stat" "/proc/$server/stat" "/proc/$xvfb_pid/stat")
  awk -v g=$((game_after - game_before)) -v a=$((all_after - all_before)) -v hz="$(getconf CLK_TCK)" -v what="$1" \
    'BEGIN { printf "%s at scale '"$scale"': game %.1f %%, with wineserver and Xvfb %.1f %% of one processor (10 s)\n",
             what, 100 * g / hz / 10, 100 * a / hz / 10 }'
}
measure "waiting menu"
click $((60 * scale)) $((45 * scale))  # New game
sleep 1
measure "play"
key p
sleep 2  # the last frames of play are over
measure "paused level"
# With the pointer resting on the window, Wine's tracking of it leaving (a system timer SDL's window
# asks for) wakes the game twice a second; away from the window nothing does.
xdotool mousemove 799 599  # the screen's far corner, beside the window
sleep 1
measure "paused level, pointer away"
