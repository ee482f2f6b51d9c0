#!/usr/bin/env bash
# Regenerates the README's screenshots: a scenario test plays through the screens on the virtual
# clock and saves each; they are converted to PNG into docs/screenshots/. Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
SDL_VIDEODRIVER=dummy "$build/tests/scenario_tests" --gtest_filter='WholeGame.EveryScreenOfAGameIsShownInTurn' >/dev/null
mkdir -p docs/screenshots
for screen in splash menu level name-entry help; do
    convert "$build/test-artefacts/readme-$screen.bmp" "docs/screenshots/$screen.png"
done
echo "screenshots: docs/screenshots/{splash,menu,level,name-entry,help}.png"
