#!/usr/bin/env bash
# bench/records_vs_python.sh [BUILD_DIR] [POINTS]: record file writing and
# reading at 10^4, 10^5 and 10^6 points, with python3's json module on the
# same 10^6-point file in the same run, twice:
# - as one command runs (every large buffer is memory the process never
#   touched, which on a virtual machine may cost more than the parsing);
# - with freed memory kept by the allocator (glibc tunables; python3 told to
#   use malloc), which leaves the work itself.
# BUILD_DIR holds a Release build with -DKESTREL_BENCH=ON (default: build-bench).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
points=${2:-1000000}
bin=$build/bench/kestrel_bench_records
if [ ! -x "$bin" ]; then
  echo "No $bin. Build it first:" >&2
  echo "  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_BENCH=ON" >&2
  echo "  cmake --build build-bench --target kestrel_bench_records" >&2
  exit 1
fi
echo "== memory as one command gets it (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
"$bin" "$points"
echo
echo "== freed memory kept and reused (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
GLIBC_TUNABLES=glibc.malloc.mmap_max=0:glibc.malloc.trim_threshold=1099511627776 PYTHONMALLOC=malloc "$bin" "$points"
