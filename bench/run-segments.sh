#!/usr/bin/env bash
# Builds and runs the media player's segment benchmark: segment accuracy against a timer-polling
# player, the same at 0.7 and 1.3 times the speed, completion latency, position accuracy, open
# time and CPU use, for WAV, OGG, MP3 and AAC in MP4 and M4A, and for files made by ffmpeg as
# users have them (when ffmpeg is installed). It needs no sound card and takes about seven
# minutes. BUILD_DIR picks another build folder (default build/); --speeds-only prints only the
# table at other speeds; --ffmpeg-only plays only WAV and the files made by ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
if [ ! -d "$build_dir" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# bench/ is only configured when Google Benchmark was found, although this program does not
# use it; say so instead of leaving the reader with an "unknown target" error.
if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' "$build_dir/CMakeCache.txt" 2>/dev/null; then
  echo "Google Benchmark was not found when $build_dir/ was configured, so bench/ is not built;" >&2
  echo "install libbenchmark-dev and re-run cmake -S . -B $build_dir." >&2
  exit 1
fi
cmake --build "$build_dir" --target bench_segments
exec "$build_dir/bin/bench_segments" "$@"
