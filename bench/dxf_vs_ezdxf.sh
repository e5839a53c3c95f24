#!/usr/bin/env bash
# bench/dxf_vs_ezdxf.sh [BUILD_DIR]: runs the DXF benchmark (save, plain
# write of the same bytes, load of 3.1 million entities) and python3-ezdxf on
# the same drawing, and prints both side by side. BUILD_DIR holds a Release
# build with -DKESTREL_BENCH=ON (default: build-bench). EZDXF_DIVISOR (default
# 10) shrinks the drawing ezdxf works on; its times are scaled back up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
bin=$build/bench/kestrel_bench_dxf
if [ ! -x "$bin" ]; then
  echo "No $bin. Build it first:" >&2
  echo "  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_BENCH=ON" >&2
  echo "  cmake --build build-bench --target kestrel_bench_dxf" >&2
  exit 1
fi
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bin" --benchmark_out="$json" --benchmark_out_format=json
/usr/bin/python3 "$here/dxf_vs_ezdxf.py" --kestrel-json "$json" --divisor "${EZDXF_DIVISOR:-10}"
