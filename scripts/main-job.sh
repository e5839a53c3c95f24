#!/usr/bin/env bash
# The main job: builds the CLI and runs it on the bundled example drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DKESTREL_TESTS=OFF
build/src/tools/kestrel/kestrel --version
build/src/tools/kestrel/kestrel session --cad "ZWCAD 2021(x64)"
