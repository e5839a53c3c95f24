#!/bin/bash
# Runs the automation clients against the 64-bit library of BUILD_DIR in a
# 64-bit Wine prefix: registration per machine and per user, the script and
# records clients, unregistration with nothing left behind, and the record
# layout of the 32-bit type library when a 32-bit build is there
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
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A client run is good when it exits 0 and prints its closing line.
run_client() {
  local sentinel=$1 out rc
  shift
  out=$("$@" 2>&1)
  rc=$?
  out=$(tr -d '\r' <<<"$out")
  if [ "$rc" -ne 0 ] || ! grep -qx "$sentinel" <<<"$out"; then
    fail "$* (exit $rc)"
    grep -v "^$sentinel\$" <<<"$out" | sed 's/^/    /'
  fi
}

# No key of ours is left under the classes root $1.
expect_no_keys() {
  local key
  for key in 'CLSID\{25C4F5CA-4CD6-4E82-A63E-8A321C85D4EF}' Mvx4_Kestrel.c_Kestrel \
    'TypeLib\{628C7C05-82E6-4AAC-B10A-DD2015725EAE}' 'TypeLib\{B2DFB0F9-C911-42E0-AE6E-73723C485C05}' \
    'Interface\{E5257C11-230B-4A8D-B9EC-233A56386D67}'; do
    if wine reg query "$1\\$key" >/dev/null 2>&1; then fail "$2: $1\\$key is left"; fi
  done
}

[ -f "$DLL" ] || { echo "FAIL: no library at $DLL"; exit 1; }
W_DLL=$(to_win_path "$DLL")

if [ -f "$WIN32_DLL" ]; then
  layout=$(wine "$CLIENTS/typelib_layout.exe" "$(to_win_path "$WIN32_DLL")\\2" 2>&1 | tr -d '\r')
  diff <(grep -v '^#' "$HERE/record_layout_i686.txt") <(echo "$layout") | sed 's/^/    /' | grep . \
    && fail "the 32-bit record layout differs from the host's"
else
  echo "note: no 32-bit build at $WIN32_DLL; its record layout is not checked"
fi

wine regsvr32 /s "$W_DLL" >/dev/null 2>&1 || fail "regsvr32 (exit $?)"
wine reg query 'HKCR\CLSID\{25C4F5CA-4CD6-4E82-A63E-8A321C85D4EF}\InprocServer32' 2>/dev/null | tr -d '\r' |
  grep -qiF "$W_DLL" || fail "InprocServer32 does not name the library"
cd "$HERE" || exit 1  # cscript takes the script by a relative path
run_client "SCRIPT CLIENT OK" wine cscript //nologo script_client.vbs
run_client "RECORDS CLIENT OK" wine "$CLIENTS/records_client.exe" "$W_DLL"
wine regsvr32 /u /s "$W_DLL" >/dev/null 2>&1 || fail "regsvr32 /u (exit $?)"
expect_no_keys HKCR "per machine"

KESTREL_REGISTER_SCOPE=user wine regsvr32 /s "$W_DLL" >/dev/null 2>&1 || fail "regsvr32 per user (exit $?)"
wine reg query 'HKCU\Software\Classes\CLSID\{25C4F5CA-4CD6-4E82-A63E-8A321C85D4EF}\InprocServer32' >/dev/null 2>&1 ||
  fail "per user: the class is not under HKCU\\Software\\Classes"
wine regsvr32 /u /s "$W_DLL" >/dev/null 2>&1 || fail "regsvr32 /u per user (exit $?)"
expect_no_keys 'HKCU\Software\Classes' "per user"
expect_no_keys HKCR "per user"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "automation clients: all passed"
