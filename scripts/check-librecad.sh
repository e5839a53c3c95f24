#!/usr/bin/env bash
# scripts/check-librecad.sh [KESTREL] [OUTDIR]
# Opens the DXF drawings kestrel writes in LibreCAD, an independent CAD
# program: installs librecad and poppler-utils when missing, exports the
# bundled example (polylines, hatches, the coloured surface and the contours on) and a profile, prints each
# through LibreCAD's command-line plotter (dxf2pdf) and turns the pages into
# PNG pictures to look at. Not part of CI: it needs the Debian packages and
# a few hundred MB of Qt.
set -euo pipefail
cd "$(dirname "$0")/.."
kestrel=${1:-build/src/tools/kestrel/kestrel}
out=${2:-build/librecad-check}

scripts/install-deps.sh librecad poppler-utils
if [ ! -x "$kestrel" ]; then
  scripts/build.sh build -DKESTREL_TESTS=OFF
fi

mkdir -p "$out"
settings="$out/settings.ini"
"$kestrel" --settings "$settings" export examples/survey.json -o "$out/survey.dxf" -q \
  --polylines --hatches --3d --triangles 3d --contours --colour-by-areas
printf 'PK;Cota\n0;612.5\n20;613.8\n40;611.2\n60;610.9\n80;614.0\n100;615.3\n' > "$out/profile.csv"
"$kestrel" --settings "$settings" profile "$out/profile.csv" --at 0,0 -o "$out/profile.dxf" -q

# A copy to look at: LibreCAD's plotter sizes the page in drawing units, so a
# drawing in metres ($INSUNITS 6, as survey drawings are) prints on a page a
# thousand times too large, on which nothing shows. The copy is unitless.
unitless() {
  awk '{ line = $0; cr = sub(/\r$/, "", line) ? "\r" : "" }
       step == 2 { print "0" cr; step = 0; next }
       step == 1 { step = 2 }
       line == "$INSUNITS" { step = 1 }
       { print }' "$1" > "$2"
}

status=0
for name in survey profile; do
  rm -f "$out/$name"*.pdf "$out/$name"*.png
  unitless "$out/$name.dxf" "$out/$name-view.dxf"
  for file in "$name" "$name-view"; do
    # -a: fit the drawing on the page. LibreCAD's exit code is not reliable:
    # the PDF must exist and hold a page.
    if ! QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a -o "$out/$file.pdf" "$out/$file.dxf" \
         > "$out/$file.librecad.log" 2>&1 || [ ! -s "$out/$file.pdf" ]; then
      echo "LibreCAD could not print $out/$file.dxf:" >&2
      cat "$out/$file.librecad.log" >&2
      status=1
    fi
  done
  [ -s "$out/$name-view.pdf" ] || continue
  pdftoppm -png -r 150 "$out/$name-view.pdf" "$out/$name-view"
  echo "$name: $out/$name.pdf printed; look at $(ls "$out/$name-view"-*.png)"
done
exit $status
