#!/usr/bin/env bash
# Figures of the whole program in a virtual display (run through xvfb-run):
#   whole_program.sh BIN_DIR SOURCE_DIR
# prints "name<TAB>figure" lines: start to the window with the demo title's first card, peak
# memory with a 5000-card title open and playing, CPU while playing audio.
set -euo pipefail
bin_dir=$1
source_dir=$2
. "$source_dir/tests/e2e/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

ms_now() { date +%s%3N; }
window_named() { xdotool search --onlyvisible --name "^$1 - Player Olve / Rindale\$" >/dev/null 2>&1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# 1. Start to the window showing the demo title (its first card is set when it opens).
bash "$source_dir/demo/build-demo.sh" "$work/demo" "$bin_dir/olvetool" >/dev/null
demo_name=$("$bin_dir/olvetool" extract "$work/demo/demo.qzw" "$work/demo-x" >/dev/null && \
  "$bin_dir/olvetool" title dump "$work/demo-x"/*.qzc | sed -n 's/.*"VolFileTitle=\([^"]*\)".*/\1/p' | head -1)
start=$(ms_now)
"$work/prog/olveplayer" "$work/demo/demo.qzw" 2>/dev/null &
player=$!
pids+=("$player")
wait_for 60 window_named "$demo_name" || fail "the demo did not open"
printf 'start to demo window\t%d ms\n' $(( $(ms_now) - start ))

# 2. CPU while playing audio: 10 s of the demo.
sleep 1
before=$(cpu_ticks "$player")
sleep 10
after=$(cpu_ticks "$player")
hz=$(getconf CLK_TCK)
printf 'CPU while playing audio\t%s %%\n' "$(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.1f", 100 * t / hz / 10 }')"
kill -TERM "$player"; wait "$player" || true

# 3. Peak memory with a 5000-card title open and playing.
big=$("$bin_dir/make_test_package" --serial B5000 --name "Big Title" --many 5000 "$work/packages" 2>/dev/null)
"$work/prog/olveplayer" "$big" 2>/dev/null &
player=$!
pids+=("$player")
wait_for 60 window_named "Big Title" || fail "the big title did not open"
sleep 5
printf 'peak memory, 5000 cards playing\t%s MB\n' "$(awk '/VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$player/status")"
kill -TERM "$player"; wait "$player" || true
