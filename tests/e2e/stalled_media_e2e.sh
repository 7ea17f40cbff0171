#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run) with a title whose
# recording stops answering after its first bytes, as on a network share that hangs: the
# player gives up opening it after its time-out with a message, answers the keyboard, and
# SIGTERM ends it while the recording's pipeline still waits in its read.
# Usage: stalled_media_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
. "$(dirname "$0")/e2e_common.sh"
# A player that hangs does not end on SIGTERM.
trap 'for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done; cleanup' EXIT
mkdir -p "$work/prog/vcd/K100" "$work/packages" "$work/stage"

# The test package without its recording; in its place a pipe that gives the recording's
# first bytes and then nothing, its writer kept open until the end.
package=$("$bin_dir/make_test_package" "$work/packages" 2>/dev/null)
"$bin_dir/olvetool" extract "$package" "$work/stage" >/dev/null 2>&1
mv "$work/stage/vcd/K100/tone.wav" "$work/tone.wav"
"$bin_dir/olvetool" pack "$work/stage" "$work/stalled.qzw" >/dev/null 2>&1
mkfifo "$work/prog/vcd/K100/tone.wav"
exec 3<>"$work/prog/vcd/K100/tone.wav"
head -c 30 "$work/tone.wav" >&3

cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
start=$SECONDS
"$work/prog/olveplayer" "$work/stalled.qzw" 2>"$work/player.err" &
pids+=("$!")
# Every message shown is written to standard error as well.
told() { grep -q -E '応答しませんでした|デバイスエラー|ファイルが開けません' "$work/player.err"; }
wait_for 30 told || fail "no message that the recording can not be opened: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
echo "ok: gave up opening after $((SECONDS - start)) s"

# The messages are boxes, smaller than the main window, that Return answers. The window
# may try the title again; it has settled once the main window shows, no box is left and no
# message came for longer than the time-out.
windows() { xdotool search --onlyvisible --name 'Player Olve' 2>/dev/null || true; }
main_shown=0
answer_boxes() {
  local w boxes=0
  main_shown=0
  for w in $(windows); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
    if [ "$WIDTH" -ge 500 ]; then
      main_shown=1
    else
      boxes=$((boxes + 1))
      xdotool windowfocus --sync "$w" key Return 2>/dev/null || true
    fi
  done
  [ "$boxes" -eq 0 ]
}
quiet_since=$SECONDS
told_lines=0
settled() {
  local lines
  lines=$(wc -l <"$work/player.err")
  answer_boxes && [ "$main_shown" -eq 1 ] || quiet_since=$SECONDS
  [ "$lines" -eq "$told_lines" ] || { told_lines=$lines; quiet_since=$SECONDS; }
  [ $((SECONDS - quiet_since)) -ge 12 ]
}
wait_for 60 settled || fail "the messages did not answer the keyboard or the main window did not follow them"
echo "ok: the messages were answered and the main window shows"

kill -TERM "${pids[0]}"
ended() { ! kill -0 "${pids[0]}" 2>/dev/null; }
wait_for 10 ended || fail "SIGTERM did not end the player"
echo "ok: SIGTERM ended the player"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
exec 3>&-
echo "stalled media e2e: 3 passed, 0 failed"
