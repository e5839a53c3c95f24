#!/usr/bin/env bash
# bench/import_vs_ezdxf.sh [POINTS] [DIVISOR]
# Times `kestrel import` of a generated survey drawing of POINTS points,
# 2·POINTS 3D faces and POINTS/10 texts — wall time and peak memory — next to
# python3-ezdxf reading a drawing DIVISOR times smaller (default 10), its time
# scaled linearly. Also times kestrel on that smaller drawing to show how its
# time grows with size.
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-1000000}
divisor=${2:-10}
source bench/common.sh

small=$((points / divisor))
/usr/bin/python3 bench/make_survey_dxf.py "$points" $((2 * points)) $((points / 10)) "$work/big.dxf"
/usr/bin/python3 bench/make_survey_dxf.py "$small" $((2 * small)) $((small / 10)) "$work/small.dxf"

measure kestrel "$kestrel" --settings "$work/s.ini" import "$work/big.dxf" -o "$work/big.json" -q
measure kestrel_small "$kestrel" --settings "$work/s.ini" import "$work/small.dxf" -o "$work/small.json" -q
measure ezdxf_small /usr/bin/python3 bench/ezdxf_read.py "$work/small.dxf" 2>/dev/null

/usr/bin/python3 - "$points" "$divisor" "$(stat -c %s "$work/big.dxf")" \
  $(awk '{print $1, $4}' "$work/kestrel.time" "$work/kestrel_small.time" "$work/ezdxf_small.time") <<'PY'
import sys
n, div, size = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
kw, kr, sw, sr, ew, er = (float(v) for v in sys.argv[4:10])
entities = n + 2 * n + n // 10
print(f"drawing: {n} points, {2 * n} 3D faces, {n // 10} texts = {entities} entities, {size / 1e6:.0f} MB DXF")
print(f"kestrel import: {kw:.2f} s wall ({entities / kw / 1e6:.2f} M entities/s, {size / kw / 1e6:.0f} MB/s), "
      f"peak memory {kr / 1024:.0f} MB")
print(f"kestrel import, 1/{div} size: {sw:.2f} s, peak {sr / 1024:.0f} MB  (x{kw / sw:.1f} time for x{div} size)")
print(f"ezdxf read, 1/{div} size: {ew:.2f} s, peak {er / 1024:.0f} MB; scaled x{div}: {ew * div:.1f} s")
print(f"kestrel is {ew * div / kw:.1f}x faster than ezdxf (same-size comparison: {ew / sw:.1f}x)")
PY
