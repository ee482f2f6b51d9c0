#!/usr/bin/env bash
# Mutation testing: puts small faults into src/ one at a time (a flipped comparison, a constant off by
# one, a dropped statement, two statements swapped, a table cell changed), rebuilds, runs the unit and
# scenario tests and the golden replays (stopping at the first failure; a mutant that hangs past the
# timeout counts as caught) and prints the share of mutants caught, by folder, and the ones that got through.
#
#   scripts/mutate.sh [--seed N] [--sample K] [--rev REV] [--tests REV] [--timeout S]
#
# The golden replays under tests/replays are verified after the test programs, as the test command does.
# The mutants are drawn with the seed from every candidate in the .cpp files of src/ that the tests link
# (not linux/linux.cpp, main.cpp, script/script.cpp, the tests' own platform, nor windows/, which is
# cross-built and tested under Wine, nor web/web*.cpp, which only the browser tests reach). The work
# happens in a copy of the tree (a git worktree of REV, default HEAD, in build-mutate/ or $MUTATE_DIR),
# never in this one; --tests REV takes the tests of another revision, so that the same mutants measure
# two sets of tests. Every mutated file is restored, also when the run is interrupted. Not part of the
# test command: a sample of 40 takes about ten minutes on two cores. Remove a copy with
# `git worktree remove --force build-mutate/tree`.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutate.py "$@"
