#!/usr/bin/env bash
# bench/export_vs_ezdxf.sh [POINTS] [EZDXF_POINTS]
# Times `kestrel export` of a generated points file with four labels per point
# (name, number, code, elevation) — wall time and peak memory — next to
# python3-ezdxf writing the same POINT and TEXT entities. ezdxf is run on
# EZDXF_POINTS points (default a tenth) and scaled linearly to POINTS.
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-1000000}
ezdxf_points=${2:-$((points / 10))}
source bench/common.sh

/usr/bin/python3 bench/make_points.py "$points" > "$work/points.csv"
measure kestrel "$kestrel" --settings "$work/settings.ini" export "$work/points.csv" -o "$work/points.dxf" -q \
  --labels name,number,code,z --3d
read -r k_wall _ _ k_rss < "$work/kestrel.time"
k_size=$(stat -c %s "$work/points.dxf")

measure ezdxf /usr/bin/python3 bench/ezdxf_points.py "$work/points.csv" "$ezdxf_points" "$work/ezdxf.dxf"
read -r e_wall _ _ e_rss < "$work/ezdxf.time"

/usr/bin/python3 - "$points" "$k_wall" "$k_rss" "$k_size" "$ezdxf_points" "$e_wall" "$e_rss" <<'PY'
import sys
n, kw, kr, ks, en, ew, er = sys.argv[1:]
n, kw, kr, ks, en, ew, er = int(n), float(kw), int(kr), int(ks), int(en), float(ew), int(er)
entities = 5 * n
scaled = ew * n / en
print(f"kestrel export: {n} points, {entities} entities, {ks / 1e6:.0f} MB DXF")
print(f"  wall {kw:.2f} s  ({entities / kw / 1e6:.2f} M entities/s)  peak memory {kr / 1024:.0f} MB")
print(f"ezdxf: {en} points in {ew:.2f} s, peak {er / 1024:.0f} MB; scaled to {n} points: {scaled:.1f} s")
print(f"kestrel is {scaled / kw:.1f}x faster")
PY
