# Shared steps of the Windows stage (scripts/test-windows-wine.sh): checks that count, an X server, a
# Wine prefix confined to its own c: drive, the game in it, pictures and clicks. Sourced, not run.
# Checks are handed to expect as unexpanded strings and evaluated there.
# shellcheck disable=SC2016,SC2034

# The Wine that runs the programs; the stage sets 64-bit Wine's where 32-bit code cannot run.
wine=${wine:-wine}
wineserver=${wineserver:-wineserver}
passed=0
failed=0

die() {
  echo "test-windows-wine: $*" >&2
  exit 1
}

# --- Checks: one named check, any number of expectations, a PASS or FAIL line.
begin() {
  check_name=$1
  check_failures=0
}
expect() {
  eval "$1" && return 0
  echo "    FAILED: $2"
  check_failures=$((check_failures + 1))
}
end() {
  if [ "$check_failures" -eq 0 ]; then
    echo "PASS $check_name"
    passed=$((passed + 1))
  else
    echo "FAIL $check_name"
    failed=$((failed + 1))
  fi
}

# --- The X server: Xvfb picks a free display and writes its number.
start_x() {
  local number=$work/display
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.05; done
  [ -s "$number" ] || die "Xvfb did not start"
  export DISPLAY=:$(head -n 1 "$number")
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  die "Xvfb does not answer"
}

# --- The prefix. Only c: stays among its drives (z:, the machine's root, goes first), and every Wine call
# runs in drive_c, so the uninstaller's "\DelUS.bat" and everything its batch deletes lie in the prefix.
make_prefix() {
  export WINEPREFIX=$work/prefix
  (cd "$work" && timeout 300 "$wine" wineboot --init >/dev/null 2>&1)
  timeout 120 "$wineserver" -w
  drive=$WINEPREFIX/drive_c
  [ -d "$drive/windows" ] || die "wineboot did not create a prefix"
  local device
  for device in "$WINEPREFIX"/dosdevices/*; do
    [ "$(basename "$device")" = c: ] || rm -f "$device"
  done
  appdata=$drive/users/$(id -un)/AppData/Roaming
  [ -d "$appdata" ] || die "the prefix has no $appdata"
}

# Runs a Windows program in drive_c, its output on ours without the CR of Windows' line ends; the exit
# code is the program's.
in_c() { (cd "$drive" && timeout 120 "$wine" "$@") | tr -d '\r'; }
settle() { timeout 120 "$wineserver" -w; }

# --- The game. start_game runs a Windows path with arguments in the background (game_pid) and waits for
# its window (window); the time from start to window is kept in window_ms.
start_game() {
  local started
  started=$(date +%s%N)
  (cd "$drive" && exec "$wine" "$@" >>"$work/game.log" 2>&1) &
  game_pid=$!
  wait_window "$started"
}
wait_window() {
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --name '^KORVEX$' 2>/dev/null | head -n 1)
    if [ -n "$window" ]; then
      window_ms=$((($(date +%s%N) - $1) / 1000000))
      return 0
    fi
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
# True when the game ends within $1 seconds; its exit code is then in game_status.
game_ends() {
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      game_status=0
      wait "$game_pid" || game_status=$?
      game_pid="" window=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
stop_game() {
  if [ -n "${game_pid:-}" ] && kill -0 "$game_pid" 2>/dev/null; then
    [ -n "${window:-}" ] && "$close_window" "$window" 2>/dev/null
    game_ends 10 || kill "$game_pid" 2>/dev/null
  fi
  game_pid="" window=""
  settle
}

click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.5
}
key() {
  xdotool key --window "$window" "$@" 2>/dev/null
  sleep 0.5
}

# --- Pictures. The window's picture as PNG; the number of pixels in which two pictures differ as the
# game's 5-6-5 pixels (Wine's GDI widens 5 bits to 8 by repeating the top bits, SDL's X11 driver by
# shifting, so the low bits of each 8-bit channel are not the game's); the count of pixels of one colour
# in a column.
shot() { import -window "$window" "$1" 2>/dev/null; }
pictures() {
  python3 - "$@" <<'PYTHON'
import subprocess, sys
MASK = (0xF8, 0xFC, 0xF8)
def pixels(name, crop=None):
    args = ["convert", name] + (["-crop", crop] if crop else []) + ["-depth", "8", "rgb:-"]
    raw = subprocess.run(args, check=True, capture_output=True).stdout
    return [tuple(raw[i + k] & MASK[k] for k in range(3)) for i in range(0, len(raw), 3)]
if sys.argv[1] == "differing":
    a, b = pixels(sys.argv[2]), pixels(sys.argv[3])
    print(sum(p != q for p, q in zip(a, b)) if len(a) == len(b) else max(len(a), len(b)))
else:  # count COLUMN R,G,B PICTURE
    colour = tuple(int(v) & MASK[k] for k, v in enumerate(sys.argv[3].split(",")))
    print(pixels(sys.argv[4], "1x10000+%s+0" % sys.argv[2]).count(colour))
PYTHON
}
differing_pixels() { pictures differing "$1" "$2"; }
# Waits up to 10 s for the window to show the picture $1 (past the splash); true when it does.
shows() {
  for _ in $(seq 20); do
    shot "$work/now.png" && [ "$(differing_pixels "$work/now.png" "$1")" = 0 ] && return 0
    sleep 0.5
  done
  return 1
}
# True when a message box is drawn in the window: its left border, a column of the box's frame colour.
shows_message_box() {
  shot "$work/box.png" && [ "$(pictures count 14 40,44,70 "$work/box.png")" -ge 30 ]
}

# The settings file's difficulty (bytes 2 and 3, little-endian).
difficulty_in() { od -An -tu2 -j2 -N2 "$1" | tr -d ' '; }
