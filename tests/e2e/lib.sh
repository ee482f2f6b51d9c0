# Shared steps of the end-to-end tests: an X server, the game in it, screenshots, taps.
# Sourced by the test scripts; they set KORVEX, CLOSE_WINDOW, PAK and ARTEFACTS first.

fail() { echo "FAIL: $*" >&2; exit 1; }

start_x() {  # [WIDTHxHEIGHT of the screen]
    # Xvfb picks a free display itself and writes its number, so parallel runs never collide.
    local numberFile keep=-noreset
    numberFile=$(mktemp)
    # -noreset: a test that starts the game twice must not meet the server in mid-reset; with
    # XVFB_RESETS set, the server resets whenever its last client leaves, as Xvfb does by default.
    [ -n "${XVFB_RESETS:-}" ] && keep=""
    Xvfb -displayfd 3 -screen 0 "${1:-400x400}x24" -nolisten tcp $keep 3>"$numberFile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$numberFile" ] && break
        sleep 0.05
    done
    DISPLAY=:$(head -n 1 "$numberFile")
    rm -f "$numberFile"
    export DISPLAY
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    fail "Xvfb did not start"
}

stop_all() {
    # Either may have ended already; the folders below go all the same.
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    # Each run gets its own lock folder for the single-instance lock.
    [ -n "${RUNTIME:-}" ] && rm -rf "$RUNTIME"
    true
}

# Starts a copy of the game and its data in a scratch folder (GAME_DIR), so that its settings file
# is its own; sets GAME_PID and WINDOW (the id of the window titled KORVEX). Arguments go to korvex.
start_game() {
    prepare_game
    launch_game "$@"
}

prepare_game() {
    [ -n "${RUNTIME:-}" ] && rm -rf "$RUNTIME"
    RUNTIME=$(mktemp -d)
    GAME_DIR=$RUNTIME/game
    mkdir -p "$GAME_DIR"
    cp "$KORVEX" "$GAME_DIR/korvex"
    copy_game_data "$(dirname "$KORVEX")/data" "$GAME_DIR/data"
}

# The game's own data files (packs, story and its pictures, sounds), as the install takes them: never
# the settings, preferences or recordings of a player who played the game in the build folder.
copy_game_data() {
    mkdir -p "$2"
    find "$1" -maxdepth 1 -type f \( -name '*.pak' -o -name '*.wav' -o -name '*.bmp' -o -name story \) \
        -exec cp {} "$2/" \;
}

# Starts the prepared copy with the arguments given.
launch_game() {
    launch env XDG_RUNTIME_DIR="$RUNTIME" TMPDIR="$RUNTIME" SDL_AUDIODRIVER=dummy "$GAME_DIR/korvex" "$@"
}

# Runs a command that starts the game in the background (GAME_PID) and waits for its window (WINDOW);
# its standard error goes to GAME_STDERR when that is set. The single-instance lock is also taken
# below TMPDIR: a run sets it to a folder of its own.
launch() {
    # Reopening /dev/stderr would truncate a log file that standard error is written to: inherit it.
    if [ -n "${GAME_STDERR:-}" ]; then "$@" 2>"$GAME_STDERR" & else "$@" & fi
    GAME_PID=$!
    WINDOW=""
    for _ in $(seq 100); do
        WINDOW=$(xdotool search --name '^KORVEX$' 2>/dev/null | head -n 1) && [ -n "$WINDOW" ] && return
        kill -0 "$GAME_PID" 2>/dev/null || fail "korvex ended before its window appeared"
        sleep 0.05
    done
    fail "no window titled KORVEX"
}

# Saves the game window as $ARTEFACTS/NAME.png.
shot() {
    import -window "$WINDOW" "$ARTEFACTS/$1.png" 2>/dev/null || fail "screenshot $1"
}

# Number of pixels that differ (beyond a small fuzz) between two pictures.
differing_pixels() {
    compare -fuzz 8% -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

tap() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
    sleep 0.3
}

# Waits for the game to end and checks its exit code.
expect_exit_code() {
    for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
    kill -0 "$GAME_PID" 2>/dev/null && fail "korvex is still running"
    local code=0
    wait "$GAME_PID" || code=$?
    GAME_PID=""
    [ "$code" -eq "$1" ] || fail "korvex ended with exit code $code, expected $1"
}
