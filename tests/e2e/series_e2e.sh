#!/usr/bin/env bash
# A folder of episodes named on the command line, in the whole program under a virtual X
# display: series_e2e.sh BIN_DIR
# The first episode in natural order ("ep2" before "ep10") becomes a title and plays; the
# series is kept in the library under a name of the program's; after a restart the start page
# lists it with the place in it; SIGTERM ends the program meanwhile.
set -euo pipefail
bin_dir=$1
for program in xdotool import convert tesseract gst-launch-1.0; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/e2e_common.sh"
course="$work/My Course"
mkdir -p "$work/prog" "$course"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
for episode in ep10 ep2; do
  gst-launch-1.0 -q audiotestsrc num-buffers=120 wave=sine ! audio/x-raw,rate=44100 ! wavenc ! \
    filesink location="$course/$episode.wav" >/dev/null || fail "the test recording could not be made"
  printf '1\n00:00:00,200 --> 00:00:01,500\nThis is %s.\n' "$episode" >"$course/$episode.srt"
done

log=$work/player.err

start_player "$course"
playing() { grep -q 'play card 1' "$log"; }
wait_for 60 playing || fail "the folder did not open as a series that plays: $(tail -5 "$log")"
screen=""
first() { screen=$(read_screen); grep -q 'This is ep2' <<<"$screen"; }
wait_for 15 first || fail "the first episode is not ep2; read: $screen"
library=$HOME/.local/share/olveplayer/library
records=$(cd "$library" && ls series-* 2>/dev/null || true)
[[ $records =~ ^series-[0-9a-f]{12}\.series$ ]] || fail "the series record is not the program's own name: $records"
kill -TERM "${pids[0]}"
ended() { ! kill -0 "${pids[0]}" 2>/dev/null; }
wait_for 20 ended || fail "SIGTERM did not end the program"

start_player
listed() { screen=$(read_screen); grep -qi 'Course.*1 */ *2.*ep2' <<<"$screen"; }
wait_for 15 listed || fail "the start page does not list the series with its place; read: $screen"
kill -TERM "${pids[1]}"
wait "${pids[1]}" || true
echo "series e2e: 2 passed, 0 failed"
