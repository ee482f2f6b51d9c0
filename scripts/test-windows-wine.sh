#!/usr/bin/env bash
# The Windows stage: what scripts/build-windows.sh leaves in build-win/dist/ (the installer and the portable
# zip), run for real under 32-bit Wine (where 32-bit code cannot run: the x86-64 build of the same sources
# under 64-bit Wine) in one fresh prefix, in an X server of its own, driven with xdotool:
# silent install, the game at its menu (picture for picture the Linux build's), a short game, a second copy,
# setup and uninstaller refusing while it runs, a read-only settings file and one held open, the golden
# replays, --submit to a score service, installing again and the folders and keys refused, the uninstaller
# from the Uninstall key,
# the portable copy in a folder with a Cyrillic name, the command line without a console, and the
# Windows services one by one (korvex-system-check.exe).
#
# Usage: scripts/test-windows-wine.sh   (builds first; needs the host build in build/ for its picture)
# Ends with "N passed, M failed" and a non-zero exit code on any failure.
# shellcheck disable=SC2016
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
stage_start=$(date +%s)
. "$root/scripts/lib-windows-wine.sh"
export WINEDEBUG=-all LC_ALL=C.UTF-8
# No Gecko or Mono to install, and no desktop entries written into the home folder for the shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
installed='C:\Program Files\Korvex'
installed_dir=Program\ Files/Korvex
product_key='[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvex]'  # as system.reg writes it
cyrillic='Игры'  # "games"; outside the ANSI code page of the prefix

cleanup() {
  [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
  [ -n "${linux_pid:-}" ] && kill "$linux_pid" 2>/dev/null
  [ -n "${scores_pid:-}" ] && kill "$scores_pid" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && timeout 30 "$wineserver" -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}

# The delivered game is 32-bit and is played under 32-bit Wine. Where this machine cannot execute 32-bit
# code at all, the same sources built for x86-64 (build-win64/) are played under 64-bit Wine instead, in
# the registry's 64-bit view, and the run says so; the delivered files are checked either way.
choose_wine() {
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arch=i686 wine=wine wineserver=wineserver view=/reg:32
    win=$root/build-win uninstaller_dir=$root/build-uninstaller-win
    export WINEARCH=win32
  elif [ -x /usr/lib/wine/wine64 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    arch=x86_64 wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64 view=/reg:64
    win=$root/build-win64 uninstaller_dir=$root/build-uninstaller-win64
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    echo "NOTE: this machine cannot execute 32-bit programs; playing the x86-64 build of the same sources"
  else
    die "no working Wine; run scripts/install-deps.sh test"
  fi
}

prepare() {
  choose_wine
  "$root/scripts/build-windows.sh" >/dev/null || die "scripts/build-windows.sh failed"
  if [ "$arch" != i686 ]; then
    "$root/scripts/build-windows.sh" --arch "$arch" >/dev/null || die "scripts/build-windows.sh --arch $arch failed"
  fi
  [ -x "$root/build/korvex" ] && [ -x "$root/build/tests/e2e/close_window" ] ||
    die "the host build (scripts/build.sh) is missing: its picture is the reference"
  close_window=$root/build/tests/e2e/close_window
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
  setup=$win/dist/KorvexSetup-$version.exe
  zip=$win/dist/korvex-$version-windows.zip
  work=$(mktemp -d "${TMPDIR:-/tmp}/korvex-windows.XXXXXX")
  # Wine keeps its server's folder below TMPDIR: it goes with the work folder.
  export TMPDIR=$work/tmp
  mkdir -p "$TMPDIR"
  trap cleanup EXIT
  start_x
  echo "preparing the Wine prefix..."
  make_prefix
  cp "$setup" "$drive/KorvexSetup.exe"
  mkdir -p "$drive/replays"
  cp "$root"/tests/replays/*.kvr "$drive/replays/"
}

# The Linux build's first menu at scale 1, in the same X server: the picture the Windows game must show.
linux_menu() {
  local copy=$work/linux
  mkdir -p "$copy/data"
  cp "$root/build/korvex" "$copy/"
  cp "$root"/build/data/{0.pak,1.pak,story,story1.bmp,0.wav,1.wav,2.wav,3.wav} "$copy/data/"
  TMPDIR=$copy XDG_RUNTIME_DIR=$copy SDL_AUDIODRIVER=dummy "$copy/korvex" --scale 1 >/dev/null 2>&1 &
  linux_pid=$!
  game_pid=$linux_pid
  wait_window "$(date +%s%N)" || die "the Linux build shows no window"
  sleep 2.5  # past the splash
  shot "$work/linux-menu.png" || die "no picture of the Linux build"
  kill "$linux_pid"
  wait "$linux_pid" 2>/dev/null
  linux_pid="" game_pid=""
}

# The files a build leaves, checked without running them: $1 is the build folder, $2 the architecture.
# The delivered build is 32-bit; the 64-bit build the stage plays where 32-bit code cannot run must hold
# the same.
check_delivered() {
  local dir=$1 arch=$2 format=pei-i386 bits=32 manifest_arch=x86
  [ "$arch" = x86_64 ] && format=pei-x86-64 bits=64 manifest_arch=amd64
  local tools=$arch-w64-mingw32 stage=$dir/stage/installed
  begin "the $arch build's files: a $bits-bit GUI program with icon, version and manifest, SDL.dll, the zip"
  local exe=$stage/korvex.exe headers
  headers=$("$tools-objdump" -p "$exe")
  expect '"$tools-objdump" -f "$exe" | grep -q "file format $format\$" && \
    "$tools-objdump" -f "$stage/SDL.dll" | grep -q "file format $format\$"' "korvex.exe and SDL.dll are $format"
  expect 'grep -q "Subsystem.*(Windows GUI)" <<<"$headers"' "korvex.exe uses the GUI subsystem"
  # Windows reads DLL names in any case, and the 32- and 64-bit import libraries spell them differently.
  expect '[ "$(grep "DLL Name" <<<"$headers" | awk "{print tolower(\$3)}" | sort | tr "\n" " ")" = \
    "kernel32.dll msvcrt.dll sdl.dll shell32.dll user32.dll winhttp.dll winmm.dll " ]' "korvex.exe needs only SDL.dll and Windows"
  expect '! "$tools-objdump" -p "$stage/SDL.dll" | grep -qi "libgcc\|libstdc"' "SDL.dll needs no compiler DLL"
  local resources
  resources=$("$tools-windres" -i "$exe" -J coff -O rc)
  expect 'grep -q "Has 6 elements" <<<"$resources" && \
    [ "$(identify -format "%w " "$dir/res/windows/korvex.ico")" = "16 32 48 64 128 256 " ]' \
    "the program's icon holds the six generated sizes"
  expect 'grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources"' "the version information names $version"
  expect '[ "$(grep -c "RT_MANIFEST" <<<"$resources")" = 1 ] && grep -q "<dpiAware.*>true</dpiAware>" <<<"$resources" \
    && grep -q "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" <<<"$resources" \
    && grep -q "processorArchitecture=\"\"$manifest_arch\"\"" <<<"$resources"' \
    "one manifest, declaring DPI awareness, Windows 10 and $manifest_arch"
  expect '[ "$(unzip -Z1 "$dir/dist/korvex-$version-windows.zip" | grep -v "/$" | sort | tr "\n" " ")" = \
"Korvex/SDL-COPYING.txt Korvex/SDL.dll Korvex/data/0.pak Korvex/data/0.wav Korvex/data/1.pak Korvex/data/1.wav \
Korvex/data/2.wav Korvex/data/3.wav Korvex/data/story Korvex/data/story1.bmp Korvex/korvex.exe " ]' \
    "the zip holds Korvex\\ with the program, SDL and data\\"
  end
}

# The value named $1 of the product's key in the saved registry, as the file writes it ("" when absent).
key_value() {
  # awk -v reads escapes: each \\\\ below is the file's \\.
  local section='[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Korvex]'
  awk -v section="$section" -v name="\"$1\"=" '
    index($0, "[") == 1 { inside = index($0, section) == 1 }
    inside && index($0, name) == 1 { print substr($0, length(name) + 1) }' "$WINEPREFIX/system.reg"
}

check_install() {
  begin "silent install: the key and its values, one flat folder, the Start-menu entry"
  local status=0
  in_c 'C:\KorvexSetup.exe' /S || status=$?
  settle
  expect '[ "$status" -eq 0 ]' "the installer ended with 0 (got $status)"
  expect '[ "$(cd "$drive/$installed_dir" && find . | sort | tr "\n" " ")" = ". ./0.pak ./0.wav ./1.pak ./1.wav \
./2.wav ./3.wav ./SDL-COPYING.txt ./SDL.dll ./korvex.exe ./story ./story1.bmp ./uninstall.exe \
./uninstall.exe.manifest " ]' "Program Files\\Korvex holds the files and no folder"
  expect 'cmp -s "$drive/$installed_dir/uninstall.exe" "$uninstaller_dir/uninstaller.exe"' \
    "uninstall.exe is our uninstaller"
  local size_kb
  size_kb=$(($(du -sk --apparent-size "$drive/$installed_dir" | cut -f1)))
  expect '[ "$(key_value DisplayName)" = "\"Korvex\"" ]' "DisplayName"
  expect '[ "$(key_value DisplayVersion)" = "\"$version\"" ]' "DisplayVersion"
  expect '[ "$(key_value Publisher)" = "\"The Korvex developers\"" ]' "Publisher"
  # As the registry file writes them: quoted, with every backslash doubled.
  local icon='"C:\\Program Files\\Korvex\\korvex.exe"' location='"C:\\Program Files\\Korvex"'
  local uninstaller='"\"C:\\Program Files\\Korvex\\uninstall.exe\""'
  expect '[ "$(key_value DisplayIcon)" = "$icon" ]' "DisplayIcon"
  expect '[ "$(key_value InstallLocation)" = "$location" ]' "InstallLocation"
  expect '[ "$(key_value UninstallString)" = "$uninstaller" ]' "UninstallString starts our uninstaller"
  expect '[ "$(key_value NoModify)" = dword:00000001 ] && [ "$(key_value NoRepair)" = dword:00000001 ]' \
    "NoModify and NoRepair"
  local estimated=$((16#$(key_value EstimatedSize | sed 's/dword://')))
  expect '[ "$estimated" -ge $((size_kb - 8)) ] && [ "$estimated" -le $((size_kb + 8)) ]' \
    "EstimatedSize $estimated KB is the folder's $size_kb KB"
  local link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvex.lnk"
  expect 'LC_ALL=C grep -aqF "C:\\Program Files\\Korvex\\korvex.exe" "$link"' \
    "the Start-menu entry Korvex leads to korvex.exe"
  end
}

# The installed game: its menu, options kept in %APPDATA%\Korvex, F11 remembered, a second copy, a game.
check_installed_game() {
  begin "the installed game: its menu is the Linux build's picture; options, F11 and a game are kept"
  # A Unix tree's data folder beside the install folder is not the game's on Windows.
  mkdir -p "$drive/Program Files/share/korvex" && echo planted >"$drive/Program Files/share/korvex/0.pak"
  if ! start_game "$installed\\korvex.exe" --scale 1; then
    expect false "korvex.exe opened its window"
    end
    return
  fi
  echo "    window after $window_ms ms"
  expect 'shows "$work/linux-menu.png"' "the first menu at scale 1 is pixel for pixel the Linux build's"
  local status=0
  (cd "$drive" && timeout 15 "$wine" "$installed\\korvex.exe") || status=$?
  expect '[ "$status" -eq 0 ] && [ "$(xdotool search --name "^KORVEX\$" | wc -l)" -eq 1 ]' \
    "a second copy ended at once with 0 (got $status) and opened no window"
  # Wine saves its registry only when it ends: the key is asked for while the game runs.
  status=0
  in_c 'C:\KorvexSetup.exe' /S || status=$?
  in_c "$installed\\uninstall.exe" >/dev/null
  sleep 2  # a batch, had one been started, would be at work by now
  expect '[ "$status" -eq 2 ] && in_c reg query "HKLM\\$uninstall_key\\Korvex" $view >/dev/null && \
    [ -f "$drive/$installed_dir/uninstall.exe" ] && [ ! -e "$drive/DelUS.bat" ]' \
    "while the game runs the installer refuses (exit $status) and the uninstaller changes nothing"
  click 56 74  # Options
  click 12 137  # Hard
  click 112 294  # OK: saved
  local settings=$appdata/Korvex/korvex.set
  expect '[ "$(stat -c %s "$settings" 2>/dev/null)" = 211 ] && [ "$(difficulty_in "$settings")" = 2 ]' \
    "%APPDATA%\\Korvex\\korvex.set has 211 bytes and the difficulty chosen"
  key F11
  expect 'grep -qx "fullscreen = yes" "$appdata/Korvex/korvex.conf"' "F11 is kept in korvex.conf"
  key F11
  expect 'grep -qx "fullscreen = no" "$appdata/Korvex/korvex.conf"' "F11 again is kept too"
  click 60 45  # New game
  xdotool keydown --window "$window" Up Left 2>/dev/null
  sleep 2
  xdotool keyup --window "$window" Up Left 2>/dev/null
  key Escape
  click 30 193  # Quit
  expect 'game_ends 10 && [ "$game_status" -eq 0 ]' "Quit ended the game with 0"
  settle
  local verdict
  verdict=$(in_c "$installed\\korvex.exe" --verify "C:\\users\\$(id -un)\\AppData\\Roaming\\Korvex\\last.kvr")
  expect '[[ "$verdict" == "score "*" ok" ]]' "the game was recorded in last.kvr and verifies (got '$verdict')"
  stop_game
  end
}

# A settings file that cannot be written, and one held open without sharing (as by a backup tool), which
# cannot be read either: the game plays on with the defaults and never writes over the file.
check_unwritable_settings() {
  begin "a read-only settings file, or one held open: 'error in settings file', and the file stays as it was"
  local settings=$appdata/Korvex/korvex.set how
  cp "$settings" "$work/settings.before"
  cp "$win/korvex-hold.exe" "$drive/hold.exe"
  for how in read-only held; do
    local holder=""
    if [ "$how" = read-only ]; then
      chmod a-w "$settings"
    else
      (cd "$drive" && exec "$wine" 'C:\hold.exe' file "C:\\users\\$(id -un)\\AppData\\Roaming\\Korvex\\korvex.set" \
        60 >"$work/held" 2>/dev/null) &
      holder=$!
      for _ in $(seq 100); do grep -q held "$work/held" 2>/dev/null && break; sleep 0.1; done
    fi
    if start_game "$installed\\korvex.exe" --scale 1 && shows "$work/linux-menu.png"; then
      click 56 74  # Options
      click 12 71  # Easy
      click 112 294  # OK: the save fails
      expect 'shows_message_box' "$how: a message box is shown in the window"
      key Return
      expect '! shows_message_box' "$how: Enter closes it"
    else
      expect false "$how: the game reached its menu"
    fi
    [ -n "$holder" ] && kill "$holder" 2>/dev/null && wait "$holder" 2>/dev/null
    stop_game
    chmod u+w "$settings"
    expect 'cmp -s "$settings" "$work/settings.before"' "$how: korvex.set is unchanged"
  done
  expect '[ "$(ls "$appdata/Korvex" | grep -cv "^korvex\.\(set\|conf\)$\|^last\.kvr$")" = 0 ]' \
    "no temporary file is left beside it"
  end
}

check_replays() {
  begin "every golden replay verifies under Wine to its expected line"
  local replay name line status
  for replay in "$root"/tests/replays/*.kvr; do
    name=$(basename "$replay" .kvr)
    status=0
    line=$(in_c "$installed\\korvex.exe" --verify "C:\\replays\\$name.kvr") || status=$?
    expect '[ "$status" -eq 0 ] && [ "$line" = "$(cat "${replay%.kvr}.expected")" ]' \
      "$name: got '$line', exit $status"
  done
  end
}

# --submit through WinHTTP to the host's korvex-scores on loopback: the answers and exit codes.
check_submit() {
  begin "korvex.exe --submit: entered, already there, refused, no server"
  local port closed line status expected
  read -r port closed < <(python3 -c 'import socket; a, b = (socket.create_server(("127.0.0.1", 0)) for _ in "ab"); print(a.getsockname()[1], b.getsockname()[1])')
  mkdir -p "$work/scores"
  SDL_AUDIODRIVER=dummy "$root/build/korvex-scores" serve --listen "127.0.0.1:$port" --data "$work/scores" --workers 1 \
    >"$work/scores.log" 2>&1 &
  scores_pid=$!
  for _ in $(seq 50); do grep -q serving "$work/scores.log" && break; sleep 0.1; done
  expected=$(cut -d' ' -f2 "$root/tests/replays/medium.expected")
  # replay, server port, exit code, the line's start
  while read -r replay at code start; do
    status=0
    line=$(in_c "$installed\\korvex.exe" --submit "C:\\replays\\$replay.kvr" --name Ace --server "http://127.0.0.1:$at/" 2>&1) ||
      status=$?
    expect '[ "$status" -eq "$code" ] && [[ "$line" == "${start//_/ }"* ]]' "$replay to port $at: got '$line', exit $status"
  done <<EOF_CASES
medium $port 0 Entered_at_#1_on_Medium:_score_$expected
medium $port 0 Already_in_the_table_(#1)
menu-resume-quit $port 1 Refused:_
medium $closed 2 korvex:_no_score_service_reached
EOF_CASES
  kill "$scores_pid" && wait "$scores_pid" 2>/dev/null
  scores_pid=""
  end
}

# What a refused install must not change: the Uninstall keys and every file outside windows\ and users\
# (Wine's registry as saved when it last ended).
registry_and_files() {
  grep -F "[${uninstall_key//\\/\\\\}" "$WINEPREFIX/system.reg" | sed 's/\] [0-9]*$/]/' | sort
  (cd "$drive" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort)
}

# Installs silently with the arguments given; the exit code in install_status.
install() {
  install_status=0
  in_c 'C:\KorvexSetup.exe' /S "$@" || install_status=$?
  settle
}

check_reinstall() {
  begin "installing again keeps the player's files; folders and keys the uninstaller could not handle are refused"
  cp "$appdata/Korvex/korvex.set" "$work/settings.kept"
  install
  expect '[ "$install_status" -eq 0 ] && [ -f "$drive/$installed_dir/korvex.exe" ]' \
    "the installer ended with 0 (got $install_status)"
  expect 'cmp -s "$appdata/Korvex/korvex.set" "$work/settings.kept" && [ -f "$appdata/Korvex/last.kvr" ]' \
    "korvex.set and last.kvr are kept"
  mkdir -p "$drive/Apps" "$drive/Games/Sub/data" && echo keep >"$drive/Apps/keep.txt"
  touch "$drive/Games/Sub/korvex.exe"
  in_c reg add "HKLM\\$uninstall_key\\Other" /v DisplayName /d Other /f $view >/dev/null
  settle
  local long percent folder why before
  long=C:\\$(printf 'L%.0s' $(seq 215))  # four times its 218 bytes and the batch's other 120 exceed 991
  percent=C:\\$(printf '%%%.0s' $(seq 107))L  # each % counts twice
  local refused=(
    'C:\Apps|a folder that is neither empty nor Korvex'
    'C:\Games\Sub|a folder of ours but for a subfolder'
    "C:\\$cyrillic\\Korvex|a folder whose name the ANSI code page cannot write"
    'C:\Spiele\Korvex€|a folder whose name the command prompt'"'"'s code page (OEM) cannot write'
    'C:\Games\Two words|a folder with a space, which Wine quotes: this setup does not read a quoted /D='
    "$long|a folder too long for the uninstaller's batch"
    "$percent|a folder whose % signs make it too long for the batch"
    'E:\|a drive that this setup replaces by the folder it offers'
    'C:/Games/Korvex|a folder written with forward slashes'
    'C:\Games\Korvex|a second copy under the key of the copy in Program Files'
    'C:\Games\Other|a folder named like another product'"'"'s key'
  )
  for row in "${refused[@]}"; do
    folder=${row%%|*} why=${row#*|}
    before=$(registry_and_files)
    install "/D=$folder"
    expect '[ "$install_status" -eq 2 ] && [ "$(registry_and_files)" = "$before" ]' \
      "$why is refused (exit $install_status) and nothing changes"
  done
  # Accepted: the longest folder the batch allows, a name ending in a dot (made, as Windows makes it,
  # without the dot), accents (the uninstaller writes its batch in the OEM code page), a copy cut short
  # (only files of ours). A folder the installer makes gets Program Files' DACL, protected from its
  # parent, as Wine's trace shows (Wine keeps no DACL on folders; its trace escapes the accent); each
  # copy's uninstaller removes it again.
  mkdir -p "$drive/Games/Part" && touch "$drive/Games/Part/korvex.exe" "$drive/Games/Part/story"
  local made trace name path
  for row in "${long%L}|made" 'C:\Games\Kx.|made' 'C:\Spiele\Körvex|' 'C:\Games\Part|'; do
    folder=${row%%|*} made=${row#*|}
    folder=${folder%.}
    name=${folder##*\\}
    path=${folder:3}
    path=$drive/${path//\\//}
    trace=$(cd "$drive" && WINEDEBUG=trace+advapi timeout 120 "$wine" 'C:\KorvexSetup.exe' /S "/D=${row%%|*}" 2>&1)
    settle
    expect '[ -f "$path/uninstall.exe" ] && in_c reg query "HKLM\\$uninstall_key\\$name" $view >/dev/null' \
      "${folder:0:24}: installed, under the key $name"
    [ -z "$made" ] || expect 'grep -q "SetNamedSecurityInfoW L\".*$name\" 1 -2147483644 " <<<"$trace"' \
      "${folder:0:24}: given Program Files' DACL"
    in_c "$folder\\uninstall.exe" >/dev/null
    settle
    expect '[ ! -e "$path" ] && [ -d "${path%/*}" ]' "${folder:0:24}: its uninstaller removes it"
  done
  end
}

check_uninstall() {
  begin "the uninstaller from the key's UninstallString removes key, folder and Start-menu entry"
  local command
  command=$(key_value UninstallString | sed 's/^"\\"//; s/\\""$//; s/\\\\/\\/g')
  local status=0
  in_c "$command" || status=$?
  settle
  expect '[ "$status" -eq 0 ]' "the uninstaller ($command) ended with 0 (got $status)"
  expect '! grep -qF "$product_key" "$WINEPREFIX/system.reg"' \
    "the Uninstall key is gone"
  expect '[ ! -e "$drive/$installed_dir" ]' "Program Files\\Korvex is gone"
  expect '[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvex.lnk" ]' \
    "the Start-menu entry is gone"
  expect '[ ! -e "$drive/DelUS.bat" ]' "no batch is left"
  expect 'cmp -s "$appdata/Korvex/korvex.set" "$work/settings.kept" && [ -f "$appdata/Korvex/last.kvr" ]' \
    "the player's files in %APPDATA%\\Korvex stay"
  # The folder of the copy installed is what the next setup offers.
  install '/D=C:\Games\Korvex'
  install
  expect '[ "$install_status" -eq 0 ] && [ -f "$drive/Games/Korvex/korvex.exe" ] && [ ! -e "$drive/$installed_dir" ]' \
    "installing again without /D= goes to the folder of the installed copy (exit $install_status)"
  in_c 'C:\Games\Korvex\uninstall.exe' >/dev/null
  settle
  expect '[ ! -e "$drive/Games/Korvex" ]' "which its uninstaller removes"
  end
}

check_portable() {
  begin "the portable zip in C:\\$cyrillic\\Korvex: its menu, its settings in data\\, a recording by path"
  mkdir -p "$drive/$cyrillic"
  unzip -q "$zip" -d "$drive/$cyrillic"
  local game="C:\\$cyrillic\\Korvex\\korvex.exe" data=$drive/$cyrillic/Korvex/data
  cp "$appdata/Korvex/korvex.set" "$work/settings.kept"
  if start_game "$game" --scale 1 && shows "$work/linux-menu.png"; then
    click 56 74  # Options
    click 12 104  # Normal
    click 112 294  # OK
    expect '[ "$(stat -c %s "$data/korvex.set" 2>/dev/null)" = 211 ] && [ "$(difficulty_in "$data/korvex.set")" = 1 ]' \
      "data\\korvex.set has 211 bytes and the difficulty chosen"
    expect 'cmp -s "$appdata/Korvex/korvex.set" "$work/settings.kept"' "%APPDATA%\\Korvex is not touched"
  else
    expect false "the game found its data and reached its menu"
  fi
  stop_game
  cp "$root/tests/replays/hard.kvr" "$data/"
  local line
  line=$(in_c "$game" --verify "C:\\$cyrillic\\Korvex\\data\\hard.kvr")
  expect '[ "$line" = "$(cat "$root/tests/replays/hard.expected")" ]' "a recording named by a Cyrillic path verifies"
  end
}

# The target's own services, each checked by a program of their own (tests/windows/system_check.cpp).
check_services() {
  begin "the Windows services: files by Cyrillic names, durable saves and their refusals, path, arguments, mutex"
  mkdir -p "$drive/check"
  cp "$win/korvex-system-check.exe" "$win/SDL.dll" "$drive/check/"
  local report status=0
  report=$(in_c 'C:\check\korvex-system-check.exe' "$cyrillic") || status=$?
  sed 's/^/    /' <<<"$report"
  expect '[ "$status" -eq 0 ] && [[ "$report" == *" checks, 0 failed" ]]' "every check holds (exit $status)"
  end
}

# Started as from the desktop (start /wait hands over no standard handles), --version is a message box.
check_command_line() {
  begin "the command line: printed where there is output, a message box where there is none"
  expect '[ "$(in_c "C:\\$cyrillic\\Korvex\\korvex.exe" --version)" = "korvex $version" ]' "--version is printed"
  local status=0
  in_c "C:\\$cyrillic\\Korvex\\korvex.exe" --scale 9 2>"$work/error.txt" >/dev/null || status=$?
  expect '[ "$status" -eq 2 ] && grep -q "^korvex: --scale must be" "$work/error.txt"' \
    "a wrong option is printed on standard error with exit code 2 (got $status)"
  (cd "$drive" && timeout 60 "$wine" start /wait "C:\\$cyrillic\\Korvex\\korvex.exe" --version >/dev/null 2>&1) &
  game_pid=$!
  local box=""
  for _ in $(seq 100); do
    box=$(xdotool search --name '^Korvex$' 2>/dev/null | head -n 1) && [ -n "$box" ] && break
    sleep 0.1
  done
  expect '[ -n "$box" ]' "without standard output, --version shows a message box"
  [ -n "$box" ] && xdotool key --window "$box" Return 2>/dev/null
  expect 'game_ends 10' "the box closes with Enter and the program ends"
  stop_game
  end
}

main() {
  prepare
  linux_menu
  check_delivered "$root/build-win" i686
  [ "$arch" = i686 ] || check_delivered "$win" "$arch"
  check_services
  check_install
  check_installed_game
  check_unwritable_settings
  check_replays
  check_submit
  check_reinstall
  check_uninstall
  check_portable
  check_command_line
  echo "Windows stage took $(($(date +%s) - stage_start)) s"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

main "$@"
