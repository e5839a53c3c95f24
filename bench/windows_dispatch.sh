#!/bin/bash
# Late binding into the CAD, per call: through IDispatch into the fake CAD
# under Wine (the Windows build), next to memcad in process on Linux; then
# the whole export of 10^5 points both ways (the automation library driving
# the fake CAD against the Linux tool), per point.
#   bench/windows_dispatch.sh WIN_BUILD_DIR LINUX_BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
win=$(cd "${1:?usage: windows_dispatch.sh WIN_BUILD_DIR LINUX_BUILD_DIR}" && pwd)
linux=$(cd "${2:?}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX=$win/wine-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1
wine regsvr32 /s "$(wine winepath -w "$win/tests/windows/fake_cad/fake_cad.dll")"
wine regsvr32 /s "$(wine winepath -w "$win/src/server/Mvx4_Kestrel.dll")"
wine "$win/tests/windows/e2e/dispatch_bench.exe"
"$linux/bench/kestrel_bench_dispatch"

"$here/make_points.py" 100000 >"$work/points.csv"
export KESTREL_UNATTENDED=1
per_point() { python3 -c "import sys; print(f'{(float(sys.argv[2]) - float(sys.argv[1])) * 1e9 / 100000:.0f}')" "$@"; }
start=$(date +%s.%N)
wine "$win/tests/windows/e2e/cad_client.exe" export "$(wine winepath -w "$work/points.csv")" \
  "$(wine winepath -w "$work/windows.dxf")"
echo "export of 10^5 points through the fake CAD: $(per_point "$start" "$(date +%s.%N)") ns/point (whole run)"
start=$(date +%s.%N)
"$linux/src/tools/kestrel/kestrel" --settings "$work/s.ini" export "$work/points.csv" -o "$work/linux.dxf" -q
echo "export of 10^5 points by the Linux tool: $(per_point "$start" "$(date +%s.%N)") ns/point (whole run)"
wineserver -k 2>/dev/null || true
