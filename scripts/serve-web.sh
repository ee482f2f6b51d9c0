#!/usr/bin/env bash
# Serves the browser build (build-web/site/, made by scripts/build-web.sh) on 127.0.0.1 for a local
# game: open the address it prints. Ctrl+C stops it.
#   scripts/serve-web.sh [PORT]   (default 8080)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-web/site/index.html ] || { echo "serve-web: no site yet; run scripts/build-web.sh" >&2; exit 1; }
port=${1:-8080}
echo "serve-web: http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
