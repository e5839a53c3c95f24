#!/bin/bash
# Every Windows test under Wine, in the 64-bit prefix of BUILD_DIR (the x86_64
# Windows build):
#  - the automation clients: the library registered per machine, the script
#    and records clients, unregistration with nothing left behind, one round
#    per user; the record layout of the 32-bit type library when a 32-bit build
#    is there (KESTREL_WIN32_BUILD, default: build-win32 beside BUILD_DIR);
#  - the VARIANT and platform test programs;
#  - end to end: the example exported through the fake CAD by the library,
#    attached to the running CAD as a host calls it, must give the DXF the
#    Linux tool writes (KESTREL_CLI, default build/src/tools/kestrel/kestrel)
#    as python3-ezdxf reads both; that DXF copied back through the library
#    must give the records the tool's import gives;
#  - the export dialog's windows, without a screen (an error) and on a
#    virtual one (Xvfb).
#   tests/windows/run.sh BUILD_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
cli=${KESTREL_CLI:-$repo/build/src/tools/kestrel/kestrel}
win32_dll=${KESTREL_WIN32_BUILD:-$(dirname "$build")/build-win32}/src/server/Mvx4_Kestrel.dll
bin=$build/tests/windows
server=$build/src/server/Mvx4_Kestrel.dll
fake_cad=$bin/fake_cad/fake_cad.dll
work=$build/windows-test-work
# shellcheck source=wine-env.sh
source "$here/wine-env.sh" "$build" || exit 1
trap wine_stop EXIT
export KESTREL_UNATTENDED=1  # message boxes answer their default button; the export dialog is accepted
for need in "$server" "$fake_cad" "$cli" "$bin/clients/records_client.exe" "$bin/e2e/cad_client.exe" \
  "$bin/e2e/variant_test.exe" "$bin/e2e/platform_test.exe" "$bin/dialog/dialog_window_test.exe"; do
  [ -e "$need" ] || { echo "windows tests: missing $need"; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "windows tests: xvfb-run is missing (package xvfb)"; exit 1; }
rm -rf "$work" && mkdir -p "$work" || exit 1
w_server=$(to_win_path "$server")

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
    grep -qiF "$w_server"
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
  wine "$bin/clients/typelib_layout.exe" "$(to_win_path "$win32_dll")\\2" 2>&1 | tr -d '\r' |
    diff <(grep -v '^#' "$here/clients/record_layout_i686.txt") - | sed 's/^/    /' | { ! grep .; }
}
same_dxf() {  # GDI and FreeType round some advances differently: labels move by up to 0.02
  /usr/bin/python3 "$here/e2e/compare_dxf.py" "$1" "$2" 0.0200001
}
same_records() {
  /usr/bin/python3 -c 'import json, sys
a, b = (json.load(open(f, encoding="utf-8")) for f in sys.argv[1:])
sys.exit(0 if a == b else "the records differ")' "$1" "$2"
}

if [ -f "$win32_dll" ]; then
  step "the 32-bit record layout is the host's" layout_of_32_bit_records
else
  echo "note: no 32-bit build at $win32_dll; its record layout is not checked"
fi
step "registered per machine" wine regsvr32 /s "$w_server"
step "InprocServer32 names the library" names_library HKCR
cd "$here/clients" || exit 1  # cscript takes the script by a relative path
step "script client" client "SCRIPT CLIENT OK" wine cscript //nologo script_client.vbs
step "records client" client "RECORDS CLIENT OK" wine "$bin/clients/records_client.exe" "$w_server"
step "unregistered per machine" wine regsvr32 /u /s "$w_server"
step "nothing left per machine" no_keys_left HKCR
step "registered per user" env KESTREL_REGISTER_SCOPE=user wine regsvr32 /s "$w_server"
step "the class is the user's" names_library 'HKCU\Software\Classes'
step "unregistered per user" wine regsvr32 /u /s "$w_server"
step "nothing left per user" no_keys_left 'HKCU\Software\Classes'

cd "$work" || exit 1
step "variant conversions" wine "$bin/e2e/variant_test.exe"
step "platform services" wine "$bin/e2e/platform_test.exe"
# Where the host's family keeps its settings, read back by the system's own tool.
step "settings location" sh -c "wine reg query 'HKCU\\Software\\VB and VBA Program Settings\\KestrelTest\\Errores' | grep -q 'Numero.*REG_SZ.*300'"

step "fake CAD registered" wine regsvr32 /s "$(to_win_path "$fake_cad")"
step "library registered" wine regsvr32 /s "$w_server"
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Merivox' /f >/dev/null 2>&1  # no saved options
step "export through the library" wine "$bin/e2e/cad_client.exe" export "$(to_win_path "$repo/examples/survey.json")" \
  "$(to_win_path "$work/library.dxf")"
step "export by the Linux tool" "$cli" --settings "$work/linux.ini" export "$repo/examples/survey.json" \
  -o "$work/linux.dxf" -q
step "the library's DXF as the tool's" same_dxf "$work/library.dxf" "$work/linux.dxf"
step "import by the Linux tool" "$cli" --settings "$work/linux.ini" import "$work/library.dxf" -o "$work/linux.json" -q
step "import through the library" wine "$bin/e2e/cad_client.exe" import "$(to_win_path "$work/library.dxf")" \
  "$(to_win_path "$work/library.json")"
step "the library's records as the tool's" same_records "$work/library.json" "$work/linux.json"
wine regsvr32 /u /s "$w_server"
wine regsvr32 /u /s "$(to_win_path "$fake_cad")"

step "dialog without a screen" timeout 120 wine "$bin/dialog/dialog_window_test.exe" headless
wine_stop  # a screen of its own: the prefix's wineserver started without one
step "dialog on a screen" timeout 180 xvfb-run -a wine "$bin/dialog/dialog_window_test.exe"
steps_done "windows tests"
