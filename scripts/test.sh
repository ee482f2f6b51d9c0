#!/usr/bin/env bash
# On a fresh Debian 12 machine: installs what is missing, builds, and runs every test: unit and
# scenario tests, the game in a real X server, and the uninstaller under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
# The uninstaller: cross-built for Windows, then run for real under Wine.
scripts/build-uninstaller.sh
scripts/test-uninstaller-wine.sh
