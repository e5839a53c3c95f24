#!/bin/bash
# The CAD side under Wine (64-bit): the VARIANT and platform test programs,
# then the engine driving the fake CAD (memcad as an automation server) end
# to end. The example exported through the fake CAD by the automation library,
# attached to the running CAD as a host calls it, must give the DXF the Linux
# tool writes (as python3-ezdxf reads both); that DXF copied back through the
# library must give the records the tool's import gives.
#   tests/windows/e2e/run.sh BUILD_DIR   (the x86_64 Windows build; KESTREL_CLI:
#   the Linux tool, default build/src/tools/kestrel/kestrel)
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
cli=${KESTREL_CLI:-$repo/build/src/tools/kestrel/kestrel}
bin=$build/tests/windows/e2e
fake_cad=$build/tests/windows/fake_cad/fake_cad.dll
server=$build/src/server/Mvx4_Kestrel.dll
work=$build/e2e-work
# shellcheck source=../wine-env.sh
source "$here/../wine-env.sh" "$build" || exit 1
trap wine_stop EXIT
same_dxf() {  # GDI and FreeType round some advances differently: labels move by up to 0.02
  /usr/bin/python3 "$here/compare_dxf.py" "$1" "$2" 0.0200001
}
no_saved_options() { wine reg delete 'HKCU\Software\VB and VBA Program Settings\Merivox' /f >/dev/null 2>&1; }

for need in "$bin/variant_test.exe" "$bin/platform_test.exe" "$bin/cad_client.exe" "$fake_cad" "$cli" "$server"; do
  [ -e "$need" ] || { echo "e2e: missing $need"; exit 1; }
done
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
survey=$(to_win_path "$repo/examples/survey.json")

step "variant conversions" wine "$bin/variant_test.exe"
step "platform services" wine "$bin/platform_test.exe"
# Where the host's family keeps its settings, read back by the system's own tool.
step "settings location" sh -c "wine reg query 'HKCU\\Software\\VB and VBA Program Settings\\KestrelTest\\Errores' | grep -q 'Numero.*REG_SZ.*300'"

step "fake CAD registered" wine regsvr32 /s "$(to_win_path "$fake_cad")"
step "library registered" wine regsvr32 /s "$(to_win_path "$server")"
no_saved_options
export KESTREL_UNATTENDED=1
step "export through the library" wine "$bin/cad_client.exe" export "$survey" \
  "$(to_win_path "$work/library.dxf")"
step "export by the Linux tool" "$cli" --settings "$work/linux.ini" export "$repo/examples/survey.json" \
  -o "$work/linux.dxf" -q
step "the library's DXF as the tool's" same_dxf "$work/library.dxf" "$work/linux.dxf"
step "import by the Linux tool" "$cli" --settings "$work/linux.ini" import "$work/library.dxf" -o "$work/linux.json" -q
step "import through the library" wine "$bin/cad_client.exe" import "$(to_win_path "$work/library.dxf")" \
  "$(to_win_path "$work/library.json")"
step "the library's records as the tool's" /usr/bin/python3 -c 'import json, sys
a, b = (json.load(open(f, encoding="utf-8")) for f in sys.argv[1:])
sys.exit(0 if a == b else "the records differ")' "$work/library.json" "$work/linux.json"
wine regsvr32 /u /s "$(to_win_path "$server")"
wine regsvr32 /u /s "$(to_win_path "$fake_cad")"
steps_done e2e
