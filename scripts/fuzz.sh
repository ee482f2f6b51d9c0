#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/*_fuzz.cpp) with clang in build-fuzz/ and runs them.
#   scripts/fuzz.sh check      each target over its committed corpus plus a short fixed run (the test command)
#   scripts/fuzz.sh [SECONDS]  each target in turn for SECONDS (default 60), one process at a time, under nice;
#                              new inputs collect in build-fuzz/corpus/<name>, crashes in build-fuzz/artefacts/
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-60}
cmake --preset fuzz >/dev/null  # CMakePresets.json
targets=()
for source in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
if [ "$mode" = check ]; then
    ctest --test-dir build-fuzz --output-on-failure -L fuzz
    exit 0
fi
mkdir -p build-fuzz/artefacts
for target in "${targets[@]}"; do
    name=${target%_fuzz}
    mkdir -p "build-fuzz/corpus/$name"
    seeds=()
    [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
    echo "fuzz: $target for $mode s"
    nice "build-fuzz/tests/fuzz/$target" -max_total_time="$mode" -max_len=4096 \
        -artifact_prefix="build-fuzz/artefacts/$name-" -print_final_stats=1 \
        "build-fuzz/corpus/$name" "${seeds[@]}" 2>&1 | grep -E '^(#|stat::|==|SUMMARY|fuzz:)' | tail -n 8
done
