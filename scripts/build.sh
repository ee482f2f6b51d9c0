#!/usr/bin/env bash
# Configures and builds everything in build/ (the game, its data, the tools and the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset host "$@"  # CMakePresets.json
cmake --build build -j"$(nproc)"
