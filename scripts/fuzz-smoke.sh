#!/usr/bin/env bash
# scripts/fuzz-smoke.sh [SECONDS] [BUILD_DIR]: builds every libFuzzer target
# with clang and runs each briefly from its seeds (default 15 s each), so that
# CI sees a target that no longer builds or that crashes on its seeds at once.
# Long runs are done by hand (see tests/fuzz/CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
dir=${2:-build-fuzz}
scripts/install-deps.sh
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DKESTREL_FUZZ=ON -DKESTREL_TESTS=ON -DKESTREL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$dir" --parallel "$(nproc)" --target fuzz_targets
status=0
while read -r target seeds; do
  [ -n "$target" ] || continue
  work=$(mktemp -d)
  echo "fuzz smoke: $target ($seconds s from $seeds)"
  if ! "$dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 "$work" "$seeds" > "$work.log" 2>&1; then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work.log" || true
  fi
  rm -rf "$work" "$work.log"
done < tests/fuzz/targets.txt
exit $status
