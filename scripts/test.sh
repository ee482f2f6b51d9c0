#!/usr/bin/env bash
# On a fresh Debian 12 machine: installs what is missing, builds, and runs every test: unit and
# scenario tests, the game in a real X server (also on sdl12-compat), and the uninstaller under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
# The unit and scenario tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/sanitize.sh
# The loaders' libFuzzer targets over their seed corpora plus a short fixed run (clang).
scripts/fuzz.sh check
# The same game on sdl12-compat, the maintained SDL 1.2 on top of SDL2.
scripts/test-sdl12-compat.sh
# The uninstaller: cross-built for Windows, then run for real under Wine.
scripts/build-uninstaller.sh
scripts/test-uninstaller-wine.sh
# The same game in the browser: built for WebAssembly and played in headless Chromium.
scripts/test-web.sh
