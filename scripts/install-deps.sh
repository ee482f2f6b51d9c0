#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Korvex need.
# Usage: scripts/install-deps.sh [build|test|windows]   (windows: building for Windows too)
# Idempotent: prints and installs only what is missing.
set -euo pipefail

want_build=(cmake g++ make pkg-config libsdl1.2-dev libx11-dev zlib1g-dev libgtest-dev googletest libbenchmark-dev)
# The score service (server/): HTTP, its two stores, JSON, the workers' seccomp filter.
want_build+=(libcpp-httplib-dev libsqlite3-dev libpq-dev nlohmann-json3-dev libssl-dev libseccomp-dev)
want_test=(xvfb xdotool x11-utils imagemagick dpkg-dev file desktop-file-utils appstream lintian man-db g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 valgrind python3 clang clang-14 clang-format libclang-rt-14-dev)

# The score service's tests: a private PostgreSQL cluster; systemd-analyze for its unit.
want_test+=(postgresql systemd)

# The Windows build (scripts/build-windows.sh): mingw-w64, zlib for it, NSIS, dpkg-source for SDL's source.
want_windows=(mingw-w64 libz-mingw-w64-dev nsis zip unzip dpkg-dev python3)
# The browser build (emscripten, and dpkg-dev for Debian's sources of SDL and zlib) and its tests.
want_web=(emscripten dpkg-dev)
want_web_test=(chromium xvfb xdotool x11-utils imagemagick)

# build, test (everything), windows (the Windows build), web (the browser build) or web-test (and its tests)
mode=${1:-build}
wanted=("${want_build[@]}")
case "$mode" in
  test) wanted+=("${want_test[@]}" "${want_windows[@]}" "${want_web[@]}" "${want_web_test[@]}") ;;
  windows) wanted+=("${want_windows[@]}") ;;
  web) wanted+=("${want_web[@]}") ;;
  web-test) wanted+=("${want_web[@]}" "${want_web_test[@]}") ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything needed is installed"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
for pkg in "${missing[@]}"; do
  case "$pkg" in
    *:i386)
      if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "install-deps: adding the i386 architecture (for 32-bit Wine)"
        $SUDO dpkg --add-architecture i386
      fi ;;
  esac
done
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
