#!/bin/bash
# The CAD side under Wine (64-bit): the VARIANT and platform test programs,
# then the engine driving the fake CAD (memcad as an automation server)
# end to end: the example drawing exported through the fake CAD, by the
# engine in process and through the automation library as a host calls it,
# must give the DXF the Linux command-line tool writes for it (compared as
# python3-ezdxf reads both), and that DXF copied back through the library
# the records the tool's import gives for the same file.
#   tests/windows/e2e/run.sh BUILD_DIR     (BUILD_DIR: the x86_64 Windows build)
# KESTREL_CLI names the Linux tool (default: build/src/tools/kestrel/kestrel).
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
cli=${KESTREL_CLI:-$repo/build/src/tools/kestrel/kestrel}
bin=$build/tests/windows/e2e
fake_cad=$build/tests/windows/fake_cad/fake_cad.dll
work=$build/e2e-work
failed=()

# shellcheck source=../wine-env.sh
source "$here/../wine-env.sh" "$build" || exit 1
trap wine_stop EXIT
step() {  # step NAME COMMAND...: runs it, records NAME when it fails
  local name=$1; shift
  if "$@"; then echo "e2e: $name: ok"; else echo "e2e: $name: FAILED"; failed+=("$name"); fi
}

for need in "$bin/variant_test.exe" "$bin/platform_test.exe" "$bin/cad_client.exe" "$fake_cad" "$cli" \
            "$build/src/server/Mvx4_Kestrel.dll"; do
  [ -e "$need" ] || { echo "e2e: missing $need"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

step "variant conversions" wine "$bin/variant_test.exe"
step "platform services" wine "$bin/platform_test.exe"
# Where the host's family keeps its settings: read back by the system's own tool.
step "settings location" sh -c "wine reg query 'HKCU\\Software\\VB and VBA Program Settings\\KestrelTest\\Errores' | grep -q 'Numero.*REG_SZ.*300'"

step "fake CAD registered" wine regsvr32 /s "$(to_win_path "$fake_cad")"
# Both sides start from no saved options.
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Merivox' /f >/dev/null 2>&1
export KESTREL_UNATTENDED=1
step "export through the fake CAD" wine "$bin/cad_client.exe" export "$(to_win_path "$repo/examples/survey.json")" \
  "$(to_win_path "$work/windows.dxf")"
step "export by the Linux tool" "$cli" --settings "$work/linux.ini" export "$repo/examples/survey.json" \
  -o "$work/linux.dxf" -q
# Label widths come from GDI here and from FreeType on Linux; the two round
# some characters' advances differently ("W" in Arial at 1.8: 2.44 against
# 2.43), which moves a label's frame or neighbour by a unit or two of 0.01.
step "same DXF" /usr/bin/python3 "$here/compare_dxf.py" "$work/windows.dxf" "$work/linux.dxf" --tolerance 0.0200001

step "import by the Linux tool" "$cli" --settings "$work/linux.ini" import "$work/windows.dxf" -o "$work/linux.json" -q

# The same through the automation library, as the host calls it: the drawing
# goes in as the host's records (Mete) and comes back as them (Copia__Todo).
server=$build/src/server/Mvx4_Kestrel.dll
step "library registered" wine regsvr32 /s "$(to_win_path "$server")"
cp "$here/server_attach.vbs" "$work/"
# The script's output is shown, then searched: `tee /dev/stderr` would
# truncate a log file that standard error is redirected to.
step "the library attaches to the running CAD" sh -c 'out=$(wine cscript //nologo server_attach.vbs); echo "$out"; echo "$out" | grep -q "^ALL OK"'
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Merivox' /f >/dev/null 2>&1
step "export through the library" wine "$bin/cad_client.exe" library-export \
  "$(to_win_path "$repo/examples/survey.json")" "$(to_win_path "$work/library.dxf")"
step "the library's DXF as the tool's" /usr/bin/python3 "$here/compare_dxf.py" "$work/library.dxf" "$work/linux.dxf" \
  --tolerance 0.0200001
step "import through the library" wine "$bin/cad_client.exe" library-import "$(to_win_path "$work/windows.dxf")" \
  "$(to_win_path "$work/library.json")"
step "the library's records as the tool's" /usr/bin/python3 -c 'import json, sys
a, b = (json.load(open(f, encoding="utf-8")) for f in sys.argv[1:])
sys.exit(0 if a == b else "the records differ")' "$work/library.json" "$work/linux.json"
wine regsvr32 /u /s "$(to_win_path "$server")"

wine regsvr32 /u /s "$(to_win_path "$fake_cad")"
if [ ${#failed[@]} -gt 0 ]; then
  printf 'e2e: failed: %s\n' "${failed[@]}"
  exit 1
fi
echo "e2e: all passed"
