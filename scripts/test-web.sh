#!/usr/bin/env bash
# The browser build's tests: builds the site (scripts/build-web.sh), takes the Linux build's first
# menu at scale 1 (in Xvfb) as the picture the page must match, and runs the browser tests of
# tests/web in Debian's headless Chromium, driven by puppeteer-core. Pictures land in
# build-web/test-artefacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web-test
scripts/build-web.sh
cmake --build build -j"$(nproc)" --target korvex korvex-scores korvex-scores-verifier  # the desktop game: the reference and native verdicts; the score service
artefacts=$PWD/build-web/test-artefacts
rm -rf "$artefacts"
mkdir -p "$artefacts"

# The desktop's first menu, as the end-to-end tests take their pictures.
(
    KORVEX=$PWD/build/korvex ARTEFACTS=$artefacts
    . tests/e2e/lib.sh
    trap stop_all EXIT
    start_x
    start_game --scale 1 --window
    sleep 1.8  # the splash shows for one second
    shot linux-menu
)

cd tests/web
npm ci --no-audit --no-fund --loglevel=error
KORVEX_NATIVE=$PWD/../../build/korvex KORVEX_SCORES=$PWD/../../build/korvex-scores KORVEX_LINUX_MENU=$artefacts/linux-menu.png KORVEX_WEB_ARTEFACTS=$artefacts \
    node --test --test-concurrency=1 --test-timeout=300000 ./*.test.js
