#!/usr/bin/env bash
# Configures and builds everything in build/ (the game, its data, the tools and the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)"
