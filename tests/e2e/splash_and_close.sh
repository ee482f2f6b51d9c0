#!/usr/bin/env bash
# The real game in Xvfb: its window shows the splash picture, then another screen; closing the
# window ends the process with exit code 0.
set -euo pipefail
KORVEX=$1 CLOSE_WINDOW=$2 PAK=$3 ARTEFACTS=$4/splash_and_close
mkdir -p "$ARTEFACTS"
. "$(dirname "$0")/lib.sh"
trap stop_all EXIT

"$PAK" unpack "$(dirname "$KORVEX")/data/0.pak" "$ARTEFACTS/splash-pack" >/dev/null
convert "$ARTEFACTS/splash-pack/"*.bmp "$ARTEFACTS/expected-splash.png"

start_x
start_game
sleep 0.3
shot splash
sleep 1.5
shot after-splash

[ "$(differing_pixels "$ARTEFACTS/splash.png" "$ARTEFACTS/expected-splash.png")" -lt 500 ] ||
    fail "the first screen is not the splash picture"
[ "$(differing_pixels "$ARTEFACTS/splash.png" "$ARTEFACTS/after-splash.png")" -gt 5000 ] ||
    fail "the splash did not give way to another screen"

"$CLOSE_WINDOW" "$WINDOW"
expect_exit_code 0
echo "e2e splash_and_close: 1 passed, 0 failed"
