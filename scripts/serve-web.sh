#!/usr/bin/env bash
# Serves the browser build (build-web/site/, made by scripts/build-web.sh) on 127.0.0.1 for a local
# game, compressed and under the page's Content-Security-Policy (scripts/serve-web.py): open the
# address it prints. Ctrl+C stops it.
#   scripts/serve-web.sh [PORT]   (default 8080)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-web/site/index.html ] || { echo "serve-web: no site yet; run scripts/build-web.sh" >&2; exit 1; }
exec python3 scripts/serve-web.py build-web/site "${1:-8080}"
