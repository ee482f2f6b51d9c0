#!/usr/bin/env bash
# On a fresh Debian 12 machine: installs what is missing, builds, and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
scripts/build.sh
exec build/korvex
