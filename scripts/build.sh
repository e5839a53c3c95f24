#!/usr/bin/env bash
# scripts/build.sh [BUILD_DIR] [extra cmake options...]: configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
