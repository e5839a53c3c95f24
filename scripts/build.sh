#!/usr/bin/env bash
# scripts/build.sh [BUILD_DIR] [extra cmake options...]: configures and builds,
# warnings fatal.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
# ccache keys on relative paths below the checkout, so worktrees share hits.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake -S . -B "$dir" -G Ninja -DKESTREL_WERROR=ON "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
