#!/usr/bin/env bash
# Verifies one golden replay: `korvex --verify` must exit 0 and print exactly the committed line.
#   verify_replay.sh KORVEX REPLAY.kvr   (the expected line is in REPLAY.expected)
set -u
korvex=$1
replay=$2
expected=$(cat "${replay%.kvr}.expected")
actual=$("$korvex" --verify "$replay")
status=$?
echo "$actual"
if [ "$status" -ne 0 ] || [ "$actual" != "$expected" ]; then
    echo "expected: $expected (exit 0), got exit $status" >&2
    exit 1
fi
