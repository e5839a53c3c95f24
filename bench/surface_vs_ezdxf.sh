#!/usr/bin/env bash
# bench/surface_vs_ezdxf.sh [TRIANGLES] [CONTOUR_VERTICES] [EZDXF_TRIANGLES]
# Times `kestrel export --triangles 3d --contours` of a generated surface
# (wall time and peak memory) next to python3-ezdxf writing the same 3D
# faces; ezdxf runs on EZDXF_TRIANGLES (default a tenth) and is scaled
# linearly. The record file is made first and not timed. Both wall and CPU
# time (user + system) are given: on a shared machine the CPU time is the
# steadier of the two.
set -euo pipefail
cd "$(dirname "$0")/.."
triangles=${1:-2000000}
contour_vertices=${2:-200000}
ezdxf_triangles=${3:-$((triangles / 10))}
source bench/common.sh

/usr/bin/python3 bench/make_surface.py "$triangles" "$contour_vertices" "$work/surface.json"
measure kestrel "$kestrel" --settings "$work/settings.ini" export "$work/surface.json" -o "$work/surface.dxf" -q \
  --no-points --no-polylines --triangles 3d --contours --3d
read -r k_wall k_user k_sys k_rss < "$work/kestrel.time"
faces=$(grep -c '^3DFACE' "$work/surface.dxf" || true)

measure ezdxf /usr/bin/python3 bench/ezdxf_faces.py "$ezdxf_triangles" "$work/ezdxf.dxf"
read -r e_wall e_user e_sys e_rss < "$work/ezdxf.time"

/usr/bin/python3 - "$faces" "$k_wall" "$k_rss" "$ezdxf_triangles" "$e_wall" "$e_rss" "$contour_vertices" \
  "$k_user" "$k_sys" "$e_user" "$e_sys" <<'PY'
import sys
f, kw, kr, en, ew, er, cv, ku, ks, eu, es = sys.argv[1:]
f, kw, kr, en, ew, er, cv = int(f), float(kw), int(kr), int(en), float(ew), int(er), int(cv)
kc, ec = float(ku) + float(ks), float(eu) + float(es)
scaled, scaled_cpu = ew * f / en, ec * f / en
print(f"kestrel export: {f} 3D faces and {cv} contour vertices: wall {kw:.2f} s, CPU {kc:.2f} s, "
      f"peak memory {kr / 1024:.0f} MB")
print(f"ezdxf: {en} faces: wall {ew:.2f} s, CPU {ec:.2f} s, peak {er / 1024:.0f} MB; "
      f"scaled to {f} faces: wall {scaled:.1f} s, CPU {scaled_cpu:.1f} s")
print(f"kestrel is {scaled / kw:.1f}x faster by wall time, {scaled_cpu / kc:.1f}x by CPU time")
PY
