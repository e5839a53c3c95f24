#!/usr/bin/env bash
# scripts/test.sh [BUILD_DIR] [extra cmake options...]: builds and runs every
# test; fails when a test fails or when no test ran.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=${1:-build}
shift || true
# Tests on explicitly: a cache left by the main job (tests off) must not win.
scripts/build.sh "$dir" -DKESTREL_TESTS=ON "$@"
ctest --test-dir "$dir" --output-on-failure --no-tests=error --parallel "$(nproc)"
