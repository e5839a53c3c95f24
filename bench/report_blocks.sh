#!/usr/bin/env bash
# bench/report_blocks.sh [POINTS] [BLOCKS]
# Times `kestrel report` and `kestrel import --blocks` on the survey drawing
# of bench/import_vs_ezdxf.sh (POINTS points, 2·POINTS 3D faces, POINTS/10
# texts) with BLOCKS block definitions (a line, a circle and a text each) and
# one insertion of each, next to the whole-drawing import of the same file in
# the same run. Wall time and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-1000000}
blocks=${2:-10000}
source bench/common.sh

/usr/bin/python3 bench/make_survey_dxf.py "$points" $((2 * points)) $((points / 10)) "$work/survey.dxf"
/usr/bin/python3 bench/make_blocks_dxf.py "$work/survey.dxf" "$blocks" "$work/big.dxf"
rm "$work/survey.dxf"

row() {  # LABEL COMMAND...
  local label=$1
  measure "$@" > /dev/null
  read -r wall _ _ rss < "$work/$label.time"
  printf '%-28s %8.2f s wall, peak %6.0f MB\n' "$label" "$wall" "$((rss / 1024))"
}
echo "drawing: $points points, $((2 * points)) 3D faces, $((points / 10)) texts, $blocks blocks and insertions," \
  "$(($(stat -c %s "$work/big.dxf") / 1000000)) MB DXF"
row "import (whole drawing)" "$kestrel" --settings "$work/s.ini" import "$work/big.dxf" -o "$work/a.json" -q
row "report" "$kestrel" --settings "$work/s.ini" report "$work/big.dxf"
row "report --json" "$kestrel" --settings "$work/s.ini" report "$work/big.dxf" --json
row "import --blocks" "$kestrel" --settings "$work/s.ini" import "$work/big.dxf" -o "$work/b.json" -q --blocks
