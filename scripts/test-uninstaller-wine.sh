#!/usr/bin/env bash
# End-to-end test of the Windows uninstaller under Wine: every case runs the real program in a fresh copy of a
# prepared Wine prefix and is judged by its effects on the prefix's files and registry, and by its exit code,
# which is 0 on every path.
#
# Safety: the prefix keeps only its c: drive (z:, the link to the machine's own root, is removed before any
# case), and every Wine call runs with the current directory inside the prefix's drive_c, so "\DelUS.bat" and
# everything the batch deletes lie inside the throw-away prefix.
#
# Usage: scripts/test-uninstaller-wine.sh            (builds the uninstaller first when needed)
#        UNINSTALLER_EXE=path/uninstaller.exe scripts/test-uninstaller-wine.sh   (a build for the Wine in use)
# Checks are handed to expect as unexpanded strings and evaluated there.
# shellcheck disable=SC2016,SC2034
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
stage_start=$(date +%s)
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
passed=0
failed=0

die() {
  echo "test-uninstaller-wine: $*" >&2
  exit 1
}

# The delivered program is 32-bit and is tested with 32-bit Wine. Where this machine cannot execute 32-bit
# code at all, the same sources built for x86-64 are tested with 64-bit Wine instead, and the run says so.
choose_wine() {
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arch=i686 wine=wine wineserver=wineserver view=/reg:32
    export WINEARCH=win32
  elif [ -x /usr/lib/wine/wine64 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    arch=x86_64 wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64 view=/reg:64
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    echo "NOTE: this machine cannot execute 32-bit programs; testing the x86-64 build of the same sources"
  else
    die "no working Wine; run scripts/install-deps.sh test"
  fi
}

build_exe() {
  if [ -n "${UNINSTALLER_EXE:-}" ]; then
    exe=$UNINSTALLER_EXE
  else
    local dir=$root/build-uninstaller-win
    [ "$arch" = x86_64 ] && dir=$root/build-uninstaller-win64
    "$root/scripts/build-uninstaller.sh" --arch "$arch" "$dir" >/dev/null || die "building the uninstaller failed"
    exe=$dir/uninstaller.exe
  fi
  [ -f "$exe" ] || die "no uninstaller at $exe"
}

cleanup() {
  if [ -n "${work:-}" ] && [ -d "$work" ]; then
    for prefix in "$work"/*/; do
      WINEPREFIX=${prefix%/} timeout 30 "$wineserver" -k >/dev/null 2>&1
    done
    rm -rf "$work"
  fi
}

# Keeps only c: among the prefix's drives, so nothing outside the prefix can be reached.
confine_prefix() {
  local device
  for device in "$1"/dosdevices/*:; do
    [ "$(basename "$device")" = c: ] || rm -f "$device"
  done
  for device in "$1"/dosdevices/*:; do
    [ "$(basename "$device")" = c: ] || die "cannot remove drive $device from the prefix"
  done
}

make_template() {
  template=$work/template
  echo "preparing the Wine prefix template..."
  (cd "$work" && WINEPREFIX=$template timeout 300 "$wine" wineboot --init >/dev/null 2>&1)
  WINEPREFIX=$template timeout 120 "$wineserver" -w
  [ -d "$template/drive_c/windows" ] || die "wineboot did not create a prefix"
  confine_prefix "$template"
}

# Starts a case: a fresh copy of the template becomes the current prefix.
new_case() {
  case_name=$1
  case_failures=0
  prefix=$work/case$((passed + failed + 1))
  cp -a "$template" "$prefix" || die "cannot copy the prefix template"
  confine_prefix "$prefix"
  export WINEPREFIX=$prefix
  drive=$prefix/drive_c
}

in_drive() { (cd "$drive" && timeout 60 "$@" >/dev/null 2>&1); }
wait_for_wine() { timeout 120 "$wineserver" -w || { expect false "Wine processes ended in time"; "$wineserver" -k; }; }
add_key() { in_drive "$wine" reg add "HKLM\\$uninstall_key\\$1" /v DisplayName /d "$1" /f "$view"; }

# True when the prefix's saved registry holds the key below the Uninstall key.
has_key() {
  local saved=${1//\\/\\\\}
  grep -Fq "[${uninstall_key//\\/\\\\}\\\\$saved]" "$prefix/system.reg"
}

# Copies the uninstaller to a Windows path below C:\ and adds a few files beside it.
install_product() {
  local folder=$drive/${1//\\//}
  mkdir -p "$folder"
  cp "$exe" "$folder/${2:-uninst.exe}"
  echo "read me" >"$folder/readme.txt"
  head -c 4096 /dev/zero >"$folder/data.bin"
}

programs() { echo "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"; }

# Writes a shell link (.lnk) named $1 in the Start menu's Programs folder of all users, leading to the
# Windows path $2, laid out as the shell saves one (header, then link information with the local path).
add_link() {
  mkdir -p "$(programs)"
  python3 - "$(programs)/$1.lnk" "$2" <<'PYTHON'
import struct, sys
target = sys.argv[2].encode("ascii")
header = struct.pack("<I", 0x4C) + bytes.fromhex("0114020000000000c000000000000046") + struct.pack("<I", 0x2)
volume = struct.pack("<IIII", 16, 3, 0, 16)
local = 0x1C + len(volume)
suffix = local + len(target) + 1
info = struct.pack("<7I", suffix + 1, 0x1C, 1, 0x1C, local, 0, suffix) + volume + target + b"\0\0"
with open(sys.argv[1], "wb") as f:
    f.write(header + bytes(0x4C - len(header)) + info)
PYTHON
}

expect() {
  local description=$2
  if eval "$1"; then return 0; fi
  echo "    FAILED: $description"
  case_failures=$((case_failures + 1))
}

# Runs the uninstaller at the Windows path $1 with C:\ or, when given, the folder $2 below it as the current
# folder.
run_uninstaller() {
  confine_prefix "$prefix"  # in case Wine brought a drive back while the case was prepared
  local status=0
  (cd "$drive/${2:-}" && timeout 60 "$wine" "$1" >/dev/null 2>&1) || status=$?
  wait_for_wine
  expect '[ "$status" -eq 0 ]' "the uninstaller ended with exit code 0 (got $status)"
}

end_case() {
  if [ "$case_failures" -eq 0 ]; then
    echo "PASS $case_name"
    passed=$((passed + 1))
  else
    echo "FAIL $case_name"
    failed=$((failed + 1))
  fi
  WINEPREFIX=$prefix timeout 30 "$wineserver" -k >/dev/null 2>&1
  rm -rf "$prefix"
}

# Checks shared by every case that removes a product: the neighbours and the batch.
expect_neighbours_kept() {
  expect 'has_key Keeper' "the Keeper key of another product is kept"
  expect '[ -f "$drive/Apps/keep.txt" ]' "C:\\Apps\\keep.txt beside the product is kept"
  expect '[ ! -e "$drive/DelUS.bat" ]' "the batch deleted itself"
}

add_neighbours() {
  add_key Keeper
  mkdir -p "$drive/Apps"
  echo keep >"$drive/Apps/keep.txt"
}

case_full_product() {
  new_case "product folder with files, a read-only file, a subfolder and a key tree three levels deep"
  install_product 'Apps\Demo'
  echo locked >"$drive/Apps/Demo/locked.txt"
  chmod a-w "$drive/Apps/Demo/locked.txt"
  mkdir -p "$drive/Apps/Demo/sub"
  echo one >"$drive/Apps/Demo/sub/one.txt"
  echo two >"$drive/Apps/Demo/sub/two.txt"
  add_key 'Demo\Level1\Level2\Level3'
  add_key 'Demo\Side'
  add_link Demo 'C:\Apps\Demo\demo.exe'
  add_link Keeper 'C:\Apps\Keeper\keeper.exe'
  add_neighbours
  expect '(cd "$drive" && timeout 60 "$wine" cmd /c attrib "C:\\Apps\\Demo\\locked.txt" 2>/dev/null) | grep -q "R "' \
    "Wine sees locked.txt as read-only"
  run_uninstaller 'C:\Apps\Demo\uninst.exe'
  expect '! has_key Demo && ! has_key "Demo\\Level1\\Level2\\Level3"' "the Demo key tree is gone"
  expect '[ -z "$(find "$drive/Apps/Demo" -type f)" ]' "every file of the folder is gone, read-only one included"
  expect '[ "$(cd "$drive/Apps/Demo" && find . | sort | tr "\n" " ")" = ". ./sub " ]' \
    "only the emptied subfolder is left"
  expect '[ ! -e "$(programs)/Demo.lnk" ]' "the Start-menu entry Demo, leading into the folder, is gone"
  expect '[ -f "$(programs)/Keeper.lnk" ]' "another product's Start-menu entry is kept"
  expect_neighbours_kept
  end_case
}

# Run from C:\Apps over a longer, stale C:\DelUS.bat: the batch goes to the drive's root whatever the current
# folder. The stale file is deleted, not written over (it would keep its owner and permissions): a second
# link to it keeps the stale bytes.
case_key_absent() {
  new_case "product key already absent, run from C:\\Apps over a stale batch"
  install_product 'Apps\Demo'
  add_neighbours
  head -c 2000 /dev/zero | tr '\0' x >"$drive/DelUS.bat"
  ln "$drive/DelUS.bat" "$prefix/batch.stale"
  run_uninstaller 'C:\Apps\Demo\uninst.exe' Apps
  expect '[ ! -e "$drive/Apps/Demo" ]' "the folder and its files are gone"
  expect '[ "$(tr -d x <"$prefix/batch.stale" | wc -c)" = 0 ] && [ "$(wc -c <"$prefix/batch.stale")" = 2000 ]' \
    "the stale batch was replaced by a new file, not written over"
  expect_neighbours_kept
  end_case
}

# Without cmd.exe the batch cannot start and stays: its bytes, and the descriptor it was made with. Wine
# keeps no DACL on files but narrows the file's Unix mode to it, and its trace shows what was asked for.
case_batch_not_started() {
  new_case "a batch that cannot start stays: exactly the six lines, writable by the running user only"
  install_product 'Apps\Demo'
  add_key 'Demo\Settings'
  rm -f "$drive/windows/system32/cmd.exe" "$drive/windows/syswow64/cmd.exe"
  printf '%s\r\n' ':Repeat' 'del "C:\Apps\Demo\uninst.exe"' 'if exist "C:\Apps\Demo\uninst.exe" goto Repeat' \
    'del "C:\Apps\Demo\*.*" /F /S /Q' 'rmdir "C:\Apps\Demo"' 'del "\DelUS.bat"' >"$prefix/batch.expected"
  local trace status=0
  trace=$(cd "$drive" && WINEDEBUG=trace+advapi timeout 60 "$wine" 'C:\Apps\Demo\uninst.exe' 2>&1) || status=$?
  wait_for_wine
  expect '[ "$status" -eq 0 ] && ! has_key Demo' "the key is gone and the uninstaller ended with 0 (got $status)"
  expect 'cmp -s "$prefix/batch.expected" "$drive/DelUS.bat"' \
    "C:\\DelUS.bat holds exactly the six lines, each ended by CR LF, and no terminating zero"
  expect 'grep -q "ConvertStringSecurityDescriptorToSecurityDescriptorA \"D:P(A;;FA;;;S-1-5-21-[0-9-]*)\"" <<<"$trace"' \
    "it was made with a protected DACL that lets only the running user's SID at it"
  expect '[ "$(stat -c %A "$drive/DelUS.bat" | cut -c8-10)" = --- ]' "Wine gave other users no access to it"
  expect '[ -f "$drive/Apps/Demo/readme.txt" ]' "no file of the product is deleted"
  end_case
}

# While the game runs (its mutex is held) the uninstaller changes nothing, so that it can be run again.
case_game_running() {
  new_case "while the game runs, nothing changes"
  install_product 'Apps\Demo'
  add_key 'Demo\Settings'
  add_link Demo 'C:\Apps\Demo\demo.exe'
  wait_for_wine  # the registry saved before it is compared
  cp "$hold" "$drive/hold.exe"
  (cd "$drive" && exec timeout 60 "$wine" 'C:\hold.exe' mutex KORVEX 30 >"$prefix/held" 2>/dev/null) &
  for _ in $(seq 100); do grep -q held "$prefix/held" 2>/dev/null && break; sleep 0.1; done
  expect 'grep -q held "$prefix/held"' "another program holds the game's mutex"
  local before
  before=$(snapshot)
  run_uninstaller 'C:\Apps\Demo\uninst.exe'
  expect '[ "$(snapshot)" = "$before" ] && [ ! -e "$drive/DelUS.bat" ]' "no key, link or file changed, no batch"
  end_case
}

case_spaces() {
  new_case "folder name with spaces"
  install_product 'Apps\My Demo App'
  add_key 'My Demo App\Settings'
  add_key 'My Demo'
  add_link 'My Demo App' 'C:\Apps\My Demo App Two\demo.exe'
  add_neighbours
  run_uninstaller 'C:\Apps\My Demo App\uninst.exe'
  expect '! has_key "My Demo App"' "the key 'My Demo App' is gone"
  expect 'has_key "My Demo"' "the key 'My Demo' is kept"
  expect '[ ! -e "$drive/Apps/My Demo App" ]' "the folder is gone"
  expect '[ -f "$(programs)/My Demo App.lnk" ]' "a Start-menu entry of its name leading elsewhere is kept"
  expect_neighbours_kept
  end_case
}

case_percent() {
  new_case "folder name with %"
  install_product 'Apps\Demo %OS% 50%'
  add_key 'Demo %OS% 50%\Settings'
  # Read without doubling, the batch would name this folder instead (%OS% expanded, the lone % dropped).
  install_product 'Apps\Demo Windows_NT 50'
  add_neighbours
  run_uninstaller 'C:\Apps\Demo %OS% 50%\uninst.exe'
  expect '! has_key "Demo %OS% 50%"' "the key 'Demo %OS% 50%' is gone"
  expect '[ ! -e "$drive/Apps/Demo %OS% 50%" ]' "the folder is gone"
  expect '[ -f "$drive/Apps/Demo Windows_NT 50/uninst.exe" ]' "the look-alike folder is untouched"
  expect_neighbours_kept
  end_case
}

# The command prompt reads the batch in the OEM code page (437 here), the own path comes in the ANSI one
# (1252): é is 0xE9 in one and 0x82 in the other. A name without an OEM form (€) changes nothing.
case_accents() {
  new_case "accented folder names: written for the command prompt, or nothing changes"
  install_product 'Apps\Démo'
  in_drive "$wine" reg add "HKLM\\$uninstall_key\\Démo" /v DisplayName /d Démo /f "$view"
  install_product 'Apps\Demo €'
  add_neighbours
  run_uninstaller 'C:\Apps\Démo\uninst.exe'
  expect '[ ! -e "$drive/Apps/Démo" ] && ! in_drive "$wine" reg query "HKLM\\$uninstall_key\\Démo" "$view"' \
    "C:\\Apps\\Démo and its key are gone"
  expect_nothing_changes 'C:\Apps\Demo €\uninst.exe'
  expect_neighbours_kept
  end_case
}

# A listing of what a refused run must not change: the registry's Uninstall keys and the files outside windows.
snapshot() {
  grep -F "[${uninstall_key//\\/\\\\}" "$prefix/system.reg" | sed 's/\] [0-9]*$/]/' | sort
  (cd "$drive" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort)
}

expect_nothing_changes() {
  wait_for_wine
  local before
  before=$(snapshot)
  run_uninstaller "$1"
  expect '[ "$(snapshot)" = "$before" ]' "no key and no file changed"
  expect '[ ! -e "$drive/DelUS.bat" ]' "no batch was written"
}

case_drive_root() {
  new_case "uninstaller in the drive's root changes nothing"
  cp "$exe" "$drive/uninst.exe"
  add_key 'Keeper\Settings'
  add_neighbours
  expect_nothing_changes 'C:\uninst.exe'
  expect '[ -f "$drive/uninst.exe" ]' "the uninstaller itself is still there"
  end_case
}

case_too_long() {
  new_case "paths too long for the batch, or for the own path's 260 bytes, change nothing"
  local name file
  name=$(printf 'L%.0s' $(seq 1 221))  # folder path C:\Apps\L...L of 229 characters: a 1029-byte batch
  install_product "Apps\\$name"
  add_key "$name\\Settings"
  add_link "$name" "C:\\Apps\\$name\\demo.exe"
  # C:\Apps\Demo\u...u.exe has 263 characters; cut to 259 it would still name C:\Apps\Demo and fit the batch.
  file=$(printf 'u%.0s' $(seq 1 246)).exe
  install_product 'Apps\Demo' "$file"
  add_key 'Demo\Settings'
  add_neighbours
  expect_nothing_changes "C:\\Apps\\$name\\uninst.exe"
  expect_nothing_changes "C:\\Apps\\Demo\\$file"
  end_case
}

# The delivered program, checked without running it: a 32-bit GUI executable with a resource section that
# imports only Windows' own DLLs and, from advapi32, only the four registry calls.
case_delivered_exe() {
  case_name="the delivered uninstaller.exe is a 32-bit GUI program needing only Windows' DLLs"
  case_failures=0
  local delivered=$root/build-uninstaller-win/uninstaller.exe
  if ! "$root/scripts/build-uninstaller.sh" --arch i686 "$root/build-uninstaller-win" >/dev/null; then
    expect false "the 32-bit build succeeds"
  else
    local headers
    headers=$(i686-w64-mingw32-objdump -p "$delivered")
    expect 'i686-w64-mingw32-objdump -f "$delivered" | grep -q "file format pei-i386"' "it is a 32-bit x86 program"
    expect 'grep -q "Subsystem.*(Windows GUI)" <<<"$headers"' "it uses the GUI subsystem"
    expect 'i686-w64-mingw32-objdump -h "$delivered" | grep -q " .rsrc "' "it carries its icon resource"
    expect '[ "$(grep "DLL Name" <<<"$headers" | awk "{print \$3}" | sort | tr "\n" " ")" = \
      "ADVAPI32.dll KERNEL32.dll SHELL32.dll msvcrt.dll " ]' "it imports only kernel32, advapi32, shell32 and msvcrt"
    expect '[ "$(advapi_imports "$headers")" = "ConvertSidToStringSidA ConvertStringSecurityDescriptorToSecurityDescriptorA \
GetTokenInformation OpenProcessToken RegCloseKey RegDeleteKeyA RegEnumKeyExA RegOpenKeyExA " ]' \
      "its registry calls are the four ANSI ones; the others make the batch's descriptor"
    expect 'grep -q "level=\"requireAdministrator\"" "${delivered%.exe}.exe.manifest"' \
      "its manifest beside it asks for administrator rights"
  fi
  prefix=$work/none
  end_case
}

# Names imported from ADVAPI32.dll in objdump's listing of the import tables.
advapi_imports() {
  awk '/DLL Name:/ {inside = ($3 == "ADVAPI32.dll")} inside && /^\t[0-9a-f]+[ \t]+[0-9]+ +[A-Za-z]/ {print $3}' \
    <<<"$1" | sort | tr "\n" " "
}

main() {
  choose_wine
  build_exe
  work=$(mktemp -d "${TMPDIR:-/tmp}/uninstaller-wine.XXXXXX")
  # Wine keeps its server's folder below TMPDIR: it goes with the work folder.
  export TMPDIR=$work/tmp
  mkdir -p "$TMPDIR"
  trap cleanup EXIT
  hold=$work/hold.exe  # another program holding the game's mutex
  "$arch-w64-mingw32-gcc" -Wall -Wextra -o "$hold" "$root/tests/windows/hold.c" || die "cannot build $hold"
  case_delivered_exe
  make_template
  case_full_product
  case_key_absent
  case_batch_not_started
  case_game_running
  case_spaces
  case_percent
  case_accents
  case_drive_root
  case_too_long
  echo "Wine stage took $(($(date +%s) - stage_start)) s"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

main "$@"
