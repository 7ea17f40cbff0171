#!/usr/bin/env bash
# CPU of the player's window playing the demo title's audio, side by side with a general
# GStreamer command-line player (gst-play-1.0, installed from Debian when missing) playing the
# same recording at the same time. Run in a virtual display:
#   xvfb-run -a -s "-screen 0 1280x800x24" bash bench/cpu_vs_peer.sh [BIN_DIR [SECONDS]]
# Prints "name<TAB>figure" lines and the ratio ours / peer (goal: at most 1).
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin_dir=$(cd "${1:-$source_dir/build/bin}" && pwd)
seconds=${2:-10}
if ! command -v gst-play-1.0 >/dev/null; then
  apt-get install -y gstreamer1.0-plugins-base-apps >/dev/null || { echo "cannot install gst-play-1.0" >&2; exit 1; }
fi
. "$source_dir/tests/e2e/e2e_common.sh"
mkdir -p "$work/prog"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

window_named() { xdotool search --onlyvisible --name "^$1 - Player Olve / Rindale\$" >/dev/null 2>&1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

bash "$source_dir/demo/build-demo.sh" "$work/demo" "$bin_dir/olvetool" >/dev/null
"$bin_dir/olvetool" extract "$work/demo/demo.qzw" "$work/demo-x" >/dev/null
demo_name=$("$bin_dir/olvetool" title dump "$work/demo-x"/*.qzc | sed -n 's/.*"VolFileTitle=\([^"]*\)".*/\1/p' | head -1)
recording=$(find "$work/demo-x" -type f \( -iname '*.wav' -o -iname '*.ogg' -o -iname '*.mp3' \) | head -1)
[ -n "$recording" ] || fail "the demo holds no recording"

"$work/prog/olveplayer" "$work/demo/demo.qzw" 2>/dev/null &
ours=$!
pids+=("$ours")
wait_for 60 window_named "$demo_name" || fail "the demo did not open"
gst-play-1.0 --no-interactive -q "$recording" >/dev/null 2>&1 &
peer=$!
pids+=("$peer")
sleep 1
hz=$(getconf CLK_TCK)
ours_before=$(cpu_ticks "$ours")
peer_before=$(cpu_ticks "$peer")
sleep "$seconds"
ours_ticks=$(($(cpu_ticks "$ours") - ours_before))
peer_ticks=$(($(cpu_ticks "$peer") - peer_before))
percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }'; }
printf 'recording\t%s\n' "$(basename "$recording")"
printf 'CPU while playing audio, player window\t%s %%\n' "$(percent "$ours_ticks")"
printf 'CPU while playing audio, gst-play-1.0\t%s %%\n' "$(percent "$peer_ticks")"
printf 'CPU ratio player / gst-play-1.0\t%s\n' "$(awk -v a="$ours_ticks" -v b="$peer_ticks" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }')"
