#!/bin/bash
# Runs the automation clients against the 64-bit library of BUILD_DIR in a
# 64-bit Wine prefix: registration per machine, the script and records
# clients, unregistration with nothing left behind, one round per user, and
# the record layout of the 32-bit type library when a 32-bit build is there
# (KESTREL_WIN32_BUILD, default: build-win32 beside BUILD_DIR).
set -u
BUILD_DIR=$(realpath "${1:?usage: run.sh BUILD_DIR}")
HERE=$(cd "$(dirname "$0")" && pwd)
WIN32_DLL=${KESTREL_WIN32_BUILD:-$(dirname "$BUILD_DIR")/build-win32}/src/server/Mvx4_Kestrel.dll
DLL=$BUILD_DIR/src/server/Mvx4_Kestrel.dll
CLIENTS=$BUILD_DIR/tests/windows/clients
# shellcheck source=../wine-env.sh
source "$HERE/../wine-env.sh" "$BUILD_DIR" || exit 1
trap wine_stop EXIT
export KESTREL_UNATTENDED=1  # message boxes answer their default button
[ -f "$DLL" ] || { echo "FAIL: no library at $DLL"; exit 1; }
W_DLL=$(to_win_path "$DLL")

# A client run is good when it exits 0 and prints its closing line; its output is shown when not.
client() {
  local sentinel=$1 out
  shift
  out=$("$@" 2>&1) && grep -qx "$sentinel" <<<"$(tr -d '\r' <<<"$out")" && return 0
  sed 's/^/    /' <<<"$out"
  return 1
}
# The class is registered under the classes root $1 with the library's path.
names_library() {
  wine reg query "$1\\CLSID\\{25C4F5CA-4CD6-4E82-A63E-8A321C85D4EF}\\InprocServer32" 2>/dev/null | tr -d '\r' |
    grep -qiF "$W_DLL"
}
# No key of ours is left under the classes root $1.
no_keys_left() {
  local key
  for key in 'CLSID\{25C4F5CA-4CD6-4E82-A63E-8A321C85D4EF}' Mvx4_Kestrel.c_Kestrel \
    'TypeLib\{628C7C05-82E6-4AAC-B10A-DD2015725EAE}' 'TypeLib\{B2DFB0F9-C911-42E0-AE6E-73723C485C05}' \
    'Interface\{E5257C11-230B-4A8D-B9EC-233A56386D67}'; do
    if wine reg query "$1\\$key" >/dev/null 2>&1; then echo "    $1\\$key is left"; return 1; fi
  done
}
layout_of_32_bit_records() {
  wine "$CLIENTS/typelib_layout.exe" "$(to_win_path "$WIN32_DLL")\\2" 2>&1 | tr -d '\r' |
    diff <(grep -v '^#' "$HERE/record_layout_i686.txt") - | sed 's/^/    /' | { ! grep .; }
}

if [ -f "$WIN32_DLL" ]; then
  step "the 32-bit record layout is the host's" layout_of_32_bit_records
else
  echo "note: no 32-bit build at $WIN32_DLL; its record layout is not checked"
fi
step "registered per machine" wine regsvr32 /s "$W_DLL"
step "InprocServer32 names the library" names_library HKCR
cd "$HERE" || exit 1  # cscript takes the script by a relative path
step "script client" client "SCRIPT CLIENT OK" wine cscript //nologo script_client.vbs
step "records client" client "RECORDS CLIENT OK" wine "$CLIENTS/records_client.exe" "$W_DLL"
step "unregistered per machine" wine regsvr32 /u /s "$W_DLL"
step "nothing left per machine" no_keys_left HKCR
step "registered per user" env KESTREL_REGISTER_SCOPE=user wine regsvr32 /s "$W_DLL"
step "the class is the user's" names_library 'HKCU\Software\Classes'
step "unregistered per user" wine regsvr32 /u /s "$W_DLL"
step "nothing left per user" no_keys_left 'HKCU\Software\Classes'
steps_done "automation clients"
