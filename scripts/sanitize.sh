#!/usr/bin/env bash
# Builds the unit and scenario tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs them there (the tools, the game binary and the end-to-end tests need only
# the normal build, so they are not built here: that keeps the run to a few minutes on two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan >/dev/null  # CMakePresets.json
IFS=';' read -ra suites < build-asan/test-suites.txt  # written by tests/CMakeLists.txt
cmake --build build-asan -j"$(nproc)" --target "${suites[@]/%/_tests}"
# Only the system libraries' own leaks are suppressed (scripts/lsan.supp); ours show.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for suite in "${suites[@]}"; do
    echo "sanitize: ${suite}_tests"
    (cd build-asan/tests && "./${suite}_tests" --gtest_brief=1)
done
# The score service and its verifier worker, through the API test (every fuzz corpus file included).
cmake --build build-asan -j"$(nproc)" --target server_tests korvex-scores korvex-scores-verifier korvex_data
echo "sanitize: server_tests, the score service's API test"
(cd build-asan/tests/server && ./server_tests --gtest_brief=1)
# The leak checker traces the process it checks, which the workers' seccomp filter forbids.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 python3 tests/server/api_test.py build-asan/korvex-scores
