#!/usr/bin/env bash
# scripts/test.sh [BUILD_DIR] [extra cmake options...]: builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=${1:-build}
scripts/build.sh "$@"
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
