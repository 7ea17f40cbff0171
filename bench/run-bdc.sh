#!/usr/bin/env bash
# Builds and runs the BDC / zlib throughput comparison. Arguments go to the benchmark program
# (for example --benchmark_filter=Decode or --benchmark_repetitions=3).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -d build ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# bench/ is only configured when Google Benchmark was found; say so instead of leaving the
# reader with an "unknown target" error.
if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' build/CMakeCache.txt 2>/dev/null; then
  echo "Google Benchmark was not found when build/ was configured; install libbenchmark-dev" >&2
  echo "and re-run cmake -S . -B build." >&2
  exit 1
fi
cmake --build build --target bench_bdc
exec build/bin/bench_bdc "$@"
