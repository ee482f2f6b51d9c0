#!/usr/bin/env bash
# One copy at a time, whether or not a copy's environment has XDG_RUNTIME_DIR: a second copy ends
# at once with exit code 0, in both orders, and also when the lock folder is open to others or taken.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/single_instance
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap 'stop_all; rm -rf "${ELSEWHERE:-}"' EXIT

# A second copy must end by itself, quickly and with code 0, while the first still runs.
second_copy_ends() {
    local code=0
    timeout 5 env "$@" SDL_AUDIODRIVER=dummy "$GAME_DIR/korvex" || code=$?
    [ "$code" -eq 0 ] || fail "the second copy ($*) ended with $code instead of at once with 0"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the first copy is gone"
}

# Closes the first copy once it is past its splash (which takes no events).
close_first() {
    sleep 1.5
    "$CLOSE_WINDOW" "$WINDOW"
    expect_exit_code 0
}

start_x
start_game  # with XDG_RUNTIME_DIR
second_copy_ends -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME"
close_first

launch env -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME" SDL_AUDIODRIVER=dummy "$GAME_DIR/korvex"
second_copy_ends XDG_RUNTIME_DIR="$RUNTIME" TMPDIR="$RUNTIME"
close_first

# Our own lock folder left open to others is made private again, and still holds the lock.
LOCKS=$RUNTIME/KORVEX-$(id -u)
rm -rf "$LOCKS" && mkdir -m 0755 "$LOCKS"
launch env -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME" SDL_AUDIODRIVER=dummy "$GAME_DIR/korvex"
[ "$(stat -c %a "$LOCKS")" = 700 ] || fail "the lock folder kept mode $(stat -c %a "$LOCKS")"
second_copy_ends -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME"
close_first

# A lock folder made by someone else first (here a link to another folder) is not used: nothing is
# created there, and the lock is kept in the player's folder instead.
ELSEWHERE=$(mktemp -d)
rm -rf "$LOCKS"
ln -s "$ELSEWHERE" "$LOCKS"
launch env -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME" SDL_AUDIODRIVER=dummy "$GAME_DIR/korvex"
second_copy_ends -u XDG_RUNTIME_DIR TMPDIR="$RUNTIME"
[ -z "$(ls -A "$ELSEWHERE")" ] || fail "the game used a lock folder that is a link: $(ls "$ELSEWHERE")"
close_first
echo "e2e single_instance: 1 passed, 0 failed"
