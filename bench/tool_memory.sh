#!/usr/bin/env bash
# Peak memory of `olvetool media play` playing a 1 s segment, side by side with GStreamer's own
# command-line player (gst-play-1.0, installed from Debian when missing) playing the same
# second as a file of its own:  bash bench/tool_memory.sh [BIN_DIR]
# Prints "name<TAB>figure" lines and the ratio ours / gst-play-1.0 (goal: at most 1).
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin_dir=$(cd "${1:-$source_dir/build/bin}" && pwd)
if ! command -v gst-play-1.0 >/dev/null; then
  apt-get install -y gstreamer1.0-plugins-base-apps >/dev/null || { echo "cannot install gst-play-1.0" >&2; exit 1; }
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

peak_kb() { /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1 || true; cat "$work/peak"; }
for format in wav ogg; do
  sox -n -r 44100 -c 1 "$work/tone.$format" synth 3 sine 440
  sox "$work/tone.$format" "$work/second.$format" trim 1 1
  ours=$(peak_kb "$bin_dir/olvetool" media play "$work/tone.$format" 1000 2000)
  peer=$(peak_kb gst-play-1.0 --no-interactive -q "$work/second.$format")
  printf 'peak memory, 1 s of %s, olvetool media play\t%d KB\n' "$format" "$ours"
  printf 'peak memory, 1 s of %s, gst-play-1.0\t%d KB\n' "$format" "$peer"
  printf 'ratio olvetool / gst-play-1.0, %s\t%s\n' "$format" "$(awk -v a="$ours" -v b="$peer" 'BEGIN { printf "%.2f", a / b }')"
done
