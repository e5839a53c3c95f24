#!/usr/bin/env bash
# scripts/label-pictures.sh [KESTREL] [OUTDIR]
# Draws one small drawing per label kind with `kestrel export --texts`, prints
# each through LibreCAD's command-line plotter (dxf2pdf) and turns the pages
# into the small PNG pictures of docs/images/labels-*.png (see docs/labels.md).
# Needs librecad and poppler-utils (installed when missing), like
# scripts/check-librecad.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
kestrel=${1:-build/src/tools/kestrel/kestrel}
out=${2:-build/label-pictures}
scripts/install-deps.sh librecad poppler-utils
mkdir -p "$out" docs/images

/usr/bin/python3 - "$out" <<'PY'
import copy, json, sys
out = sys.argv[1]
source = json.load(open("examples/survey.json", encoding="utf-8"))
base = source["Dibujos"][0]
template = base["Rotulo"][0]
def label(text, kind, x, y, x2=0, y2=0, x3=0, y3=0, giro=0, size=1, layer=1, count=0):
    r = copy.deepcopy(template)
    r.update({"Texto": text, "Texto3": kind, "Xr": x, "Yr": y, "Xr2": x2, "Yr2": y2, "Xr3": x3, "Yr3": y3,
              "Giro": giro, "Altura": size, "CapaR": layer, "Cuenta": count, "Estilo": "Arial"})
    return r
kinds = {
    "plain": [label("PARCELA 12", "", 0, 0, size=2), label("Camino#de la#Fuente", "", 0, -6, giro=50)],
    "dimensions": [label("", "5", 0, 0, 12, 5), label("", "6", 0, -8, 10, -10), label("", "7", 16, -10, 16, -2),
                   label("", "6", 0, -14, 2.5, -14)],
    "leaders": [label("Farola tipo A", "1", 6, 6, 2, 1), label("Arqueta A-3", "9", 6, -2, 1, -6),
                label("Bordillo", "21", 4, -10, 0, -14, 12, -15, count=2)],
    "elbow": [label("Pozo#Registro", "8", 0, 0, 6, 6, 12, 6), label("Farola", "8", 0, -4, -6, 2, -12, 2)],
    "grid": [label("", "11", 0, 0, 100, 60, size=3)],
    "scale": [label("", "12", 0, 0, 20, 0)],
}
for name, labels in kinds.items():
    d = copy.deepcopy(source)
    d["NuDibujos"], d["DibujoAct"] = 1, 1
    drawing = d["Dibujos"][0]
    drawing["Rotulo"], drawing["NuRotulos"] = labels, len(labels)
    d["Dibujos"] = [drawing]
    json.dump(d, open("%s/%s.json" % (out, name), "w", encoding="utf-8"))
PY

unitless() {  # LibreCAD's plotter sizes a page in drawing units: metres print far too large
  awk '{ line = $0; cr = sub(/\r$/, "", line) ? "\r" : "" }
       step == 2 { print "0" cr; step = 0; next }
       step == 1 { step = 2 }
       line == "$INSUNITS" { step = 1 }
       { print }' "$1" > "$2"
}

for name in plain dimensions leaders elbow grid scale; do
  "$kestrel" --settings "$out/settings.ini" export "$out/$name.json" -o "$out/$name.dxf" -q \
    --texts --no-points --no-labels --no-polylines --no-contours --no-blocks --triangles none
  unitless "$out/$name.dxf" "$out/$name-view.dxf"
  QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a -o "$out/$name-view.pdf" "$out/$name-view.dxf" > "$out/$name.log" 2>&1 || true
  [ -s "$out/$name-view.pdf" ] || { echo "LibreCAD could not print $name" >&2; cat "$out/$name.log" >&2; exit 1; }
  pdftoppm -png -singlefile -scale-to 480 "$out/$name-view.pdf" "docs/images/labels-$name"
  echo "docs/images/labels-$name.png"
done
