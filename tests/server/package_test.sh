#!/usr/bin/env bash
# The korvex-scores package: made by cpack beside the game's, which stays the game alone; lintian
# clean; its unit verified and hardened (systemd-analyze verify, security offline).
#   package_test.sh BUILD_DIR
set -euo pipefail
BUILD=$1
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

for config in CPackScoresConfig CPackConfig; do
    cpack -G DEB --config "$BUILD/$config.cmake" -B "$SCRATCH/$config" >"$SCRATCH/cpack.log" 2>&1 ||
        { cat "$SCRATCH/cpack.log"; fail "cpack $config failed"; }
done
DEB=$(ls "$SCRATCH"/CPackScoresConfig/korvex-scores_*.deb)
dpkg-deb --field "$DEB" Depends | grep -q '^korvex (= ' || fail "no dependency on the game's data"
contents=$(dpkg-deb --contents "$DEB" | awk '{print $6}')
for path in ./usr/bin/korvex-scores ./usr/libexec/korvex-scores-verifier ./usr/lib/systemd/system/korvex-scores.service \
    ./usr/share/man/man8/korvex-scores.8.gz ./usr/share/doc/korvex-scores/copyright; do
    grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
! dpkg-deb --contents "$SCRATCH"/CPackConfig/korvex_*.deb | grep -q scores || fail "the game's package holds the service"
# lintian leaves its caches in TMPDIR: they go with the scratch folder.
TMPDIR=$SCRATCH lintian --fail-on error,warning "$DEB" >"$SCRATCH/lintian.log" 2>&1 ||
    { grep -v 'root privileges' "$SCRATCH/lintian.log"; fail "lintian complains"; }

ROOT=$SCRATCH/root
dpkg-deb -x "$DEB" "$ROOT"
UNIT=$SCRATCH/korvex-scores.service
grep -q '^ExecStart=/usr/bin/korvex-scores serve' "$ROOT/usr/lib/systemd/system/korvex-scores.service" || fail "ExecStart"
# Verified where the package's program lies here; the threshold is in tenths of the exposure level.
sed "s|/usr/bin/korvex-scores|$ROOT/usr/bin/korvex-scores|" "$ROOT/usr/lib/systemd/system/korvex-scores.service" >"$UNIT"
systemd-analyze verify --man=no "$UNIT" 2>&1 | { grep -v 'sysinit.target' || true; } | tee "$SCRATCH/verify.log"
[ ! -s "$SCRATCH/verify.log" ] || fail "systemd-analyze verify complains"
systemd-analyze security --offline=true --threshold=20 "$UNIT" >"$SCRATCH/security.log" ||
    { tail -3 "$SCRATCH/security.log"; fail "the unit is exposed more than 2.0"; }
tail -1 "$SCRATCH/security.log"
