#!/usr/bin/env bash
# Time from starting the player with a title package to its main window being mapped, to its
# tool bar being drawn, and on to the title's caption, with an empty GStreamer plug-in cache (a first launch) and with
# the cache it wrote (every later launch). Run through xvfb-run:
#   time_to_map.sh BIN_DIR SOURCE_DIR [RUNS]
# prints "name<TAB>figure" lines, each the median of RUNS starts (default 5).
set -euo pipefail
bin_dir=$1
source_dir=$2
runs=${3:-5}
. "$source_dir/tests/e2e/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
package=$("$bin_dir/make_test_package" "$work/packages")

ms_now() { date +%s%N | cut -c1-13; }
window() { xdotool search --onlyvisible --name 'Player Olve / Rindale$' 2>/dev/null | head -1; }
# A point of the tool bar, which is light, on the screen, which is black around the window.
drawn() {
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  ! import -window root -crop "1x1+$((X + 40))+$((Y + 15))" txt:- 2>/dev/null | grep -q '#000000'
}
titled() { xdotool search --onlyvisible --name '^Test Lesson - Player Olve / Rindale$' >/dev/null 2>&1; }
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# One start against the registry file $1: prints "ms-to-map ms-to-drawn ms-to-title".
start_once() {
  local start map drawn player id=""
  start=$(ms_now)
  GST_REGISTRY=$1 "$work/prog/olveplayer" "$package" 2>/dev/null &
  player=$!
  pids+=("$player")
  until id=$(window) && [ -n "$id" ]; do
    kill -0 "$player" 2>/dev/null || fail "the player ended before its window mapped"
  done
  map=$(( $(ms_now) - start ))
  until drawn "$id"; do :; done
  drawn=$(( $(ms_now) - start ))
  wait_for 30 titled || fail "the title did not open"
  echo "$map $drawn $(( $(ms_now) - start ))"
  kill -TERM "$player"
  wait "$player" || true
}

: >"$work/cold"
: >"$work/warm"
for i in $(seq "$runs"); do
  start_once "$work/registry-$i.bin" >>"$work/cold"
  start_once "$work/registry-$i.bin" >>"$work/warm"
done
for cache in cold warm; do
  printf 'window mapped, %s plug-in cache\t%s ms\n' "$cache" "$(cut -d' ' -f1 "$work/$cache" | median)"
  printf 'tool bar drawn, %s plug-in cache\t%s ms\n' "$cache" "$(cut -d' ' -f2 "$work/$cache" | median)"
  printf 'title open, %s plug-in cache\t%s ms\n' "$cache" "$(cut -d' ' -f3 "$work/$cache" | median)"
done
