#!/usr/bin/env bash
# bench/survey_vs_gdal.sh [POINTS] [FACES] [RUNS]
# The survey benchmark: `kestrel import` of an R2000 drawing as a CAD program
# saves it (POINTS points with two labels each plus one text in ten, FACES 3D
# faces; 100000 200000 by default, about 81 MB) next to GDAL counting the same
# file (`ogrinfo -so -al`), RUNS times each, interleaved so that both see the
# same load. Prints wall, user and system seconds and peak memory of every
# run, then the ranges and the peak memory as a multiple of the file size.
# KESTREL picks the binary; extra environment (GLIBC_TUNABLES ...) passes on.
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-100000}
faces=${2:-200000}
runs=${3:-3}
command -v ogrinfo >/dev/null || { echo "ogrinfo (GDAL) is needed for the anchor" >&2; exit 1; }
source bench/common.sh

/usr/bin/python3 bench/make_survey_r2000.py "$points" "$faces" "$work/survey.dxf"
for run in $(seq "$runs"); do
  measure kestrel "$kestrel" --settings "$work/s.ini" import "$work/survey.dxf" -o "$work/survey.json" -q
  measure gdal ogrinfo -so -al "$work/survey.dxf" >/dev/null 2>&1
done

/usr/bin/python3 - "$(stat -c %s "$work/survey.dxf")" "$work/kestrel.time" "$work/gdal.time" <<'PY'
import sys
size = int(sys.argv[1])
print(f"survey drawing: {size / 1e6:.0f} MB DXF")
for label, path in (("kestrel import", sys.argv[2]), ("ogrinfo -so -al", sys.argv[3])):
    runs = [[float(v) for v in line.split()] for line in open(path) if line.strip()]
    for wall, user, system, rss in runs:
        print(f"  {label}: {wall:.2f} s wall, {user:.2f} s user, {system:.2f} s sys, peak {rss / 1024:.0f} MB")
    walls, users, systems, peaks = zip(*runs)
    print(f"{label}: wall {min(walls):.2f}-{max(walls):.2f} s, user {min(users):.2f}-{max(users):.2f} s, "
          f"sys {min(systems):.2f}-{max(systems):.2f} s, peak {max(peaks) / 1024:.0f} MB "
          f"({max(peaks) * 1024 / size:.2f}x the file)")
PY
