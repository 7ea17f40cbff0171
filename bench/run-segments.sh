#!/usr/bin/env bash
# Builds and runs the media player's segment benchmarks. The first measures segment accuracy
# against a timer-polling player, the same at 0.7 and 1.3 times the speed, completion latency,
# position accuracy, open time and CPU use, for WAV, OGG, MP3 and AAC in MP4 and M4A, and for
# files made by ffmpeg as users have them (when ffmpeg is installed), through fake sinks (about
# seven minutes). The second plays 20 segments one after another in one player session through
# a real sound server, a PulseAudio daemon of this run's own whose null sink is recorded sample
# by sample, beside a fake sink, at 1.0, 0.7 and 1.3 times the speed (about eight minutes).
# Neither needs a sound card.
#   BUILD_DIR      another build folder (default build/)
#   --speeds-only  only the first benchmark's table at other speeds
#   --ffmpeg-only  only the first benchmark, playing WAV and the files made by ffmpeg
#   --sound-server only the second benchmark; further arguments go to it
#                  (--formats WAV,MP3 --speeds 1.0,0.7)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
if [ ! -d "$build_dir" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# bench/ is only configured when Google Benchmark was found, although these programs do not
# use it; say so instead of leaving the reader with an "unknown target" error.
if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' "$build_dir/CMakeCache.txt" 2>/dev/null; then
  echo "Google Benchmark was not found when $build_dir/ was configured, so bench/ is not built;" >&2
  echo "install libbenchmark-dev and re-run cmake -S . -B $build_dir." >&2
  exit 1
fi

sound_server=false
case "${1:-}" in
  --sound-server) sound_server=true; shift ;;
  --speeds-only | --ffmpeg-only) ;;
  "") ;;
  *) echo "usage: $0 [--speeds-only | --ffmpeg-only | --sound-server [--formats LIST] [--speeds LIST]]" >&2; exit 2 ;;
esac

if ! $sound_server; then
  cmake --build "$build_dir" --target bench_segments
  "$build_dir/bin/bench_segments" "$@"
  [ -n "${1:-}" ] && exit 0
  echo
fi
for tool in pulseaudio parec pactl ffmpeg; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing: install pulseaudio, pulseaudio-utils and ffmpeg (scripts/deps.sh lists them)" >&2
    exit 1
  fi
done
cmake --build "$build_dir" --target bench_sound_server

# A daemon of this run's own, in a private folder, so that nothing of the user's sound setup
# is touched or heard: no configuration read, no cookie or state written outside the folder.
runtime=$(mktemp -d)
chmod 700 "$runtime"
daemon=
cleanup() {
  if [ -n "$daemon" ]; then
    kill "$daemon" 2>/dev/null || true
    wait "$daemon" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT
sink=olvebench
HOME=$runtime XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$runtime PULSE_RUNTIME_PATH=$runtime/pulse \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=no --log-target=stderr \
  -L "module-null-sink sink_name=$sink rate=44100 channels=1 format=s16le" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$runtime/native" 2>"$runtime/daemon.log" &
daemon=$!
export PULSE_SERVER=unix:$runtime/native PULSE_COOKIE=$runtime/cookie PULSE_CLIENTCONFIG=/dev/null
export OLVE_BENCH_SINK=$sink
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$daemon" 2>/dev/null || { cat "$runtime/daemon.log" >&2; exit 1; }
  sleep 0.1
done
pactl set-default-sink "$sink"
# In the background, so that a SIGTERM to this script ends the run at once.
bench=
trap '[ -n "$bench" ] && kill "$bench" 2>/dev/null; exit 143' TERM
"$build_dir/bin/bench_sound_server" "$@" &
bench=$!
wait "$bench"
