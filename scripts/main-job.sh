#!/usr/bin/env bash
# The main job: builds the CLI and exports the bundled example drawing to DXF.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DKESTREL_TESTS=OFF
kestrel=build/src/tools/kestrel/kestrel
"$kestrel" --version
mkdir -p build/main-job
# A settings file of its own, so the result does not depend on this user's saved options.
# The surface (3D faces, each on the layer of the closed area around it) and the contours included.
"$kestrel" --settings build/main-job/settings.ini export examples/survey.json -o build/main-job/survey.dxf \
  --triangles 3d --contours --colour-by-areas
echo "The DXF drawing is at build/main-job/survey.dxf"
