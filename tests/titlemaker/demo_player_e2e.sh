#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run) with the demo title:
#   demo_player_e2e.sh BIN_DIR SOURCE_DIR [SHOTS_DIR]
# builds the demo package from the sources as ./run.sh does; started with it on its command
# line, the player shows the title's caption and plays from the top, and the words of the
# first sentences are read off the screen as they appear. With SHOTS_DIR, screenshots of the
# window are left there.
set -euo pipefail
bin_dir=$1
source_dir=$2
shots=${3:-}
for program in xdotool import convert tesseract espeak-ng sox; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/../e2e/e2e_common.sh"
mkdir -p "$work/prog"

bash "$source_dir/demo/build-demo.sh" "$work/demo" "$bin_dir/olvetool" >/dev/null || fail "the demo did not build"
package=$work/demo/demo.qzw
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$work/prog/olveplayer" NoTie "$package" 2>"$work/player.err" &
pids+=("$!")
caption='A Day in English - Player Olve / Rindale$'
titled() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
wait_for 30 titled || fail "no window with the demo's caption: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
window=$(xdotool search --onlyvisible --name "$caption" | head -1)
[ -f "$work/prog/demo.qzc" ] || fail "the package was not installed into the program folder"
[ -f "$work/prog/vcd/OlveDemo01/demo.ogg" ] || fail "the recording was not installed below vcd"

screen() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/window.png"
}
read_screen() {
  screen
  convert "$work/window.png" -resize 200% -colorspace Gray "$work/text.png"
  tesseract "$work/text.png" - 2>/dev/null | tr '\n' ' '
}
# The words of the first sentence appear as they are spoken.
first=""
first_seen() { first=$(read_screen); grep -q 'morning' <<<"$first"; }
wait_for 20 first_seen || fail "the first sentence did not appear; read: $first"
[ -z "$shots" ] || cp "$work/window.png" "$shots/demo-first-card.png"
# Playing on from the top, a later sentence takes its place.
later=""
later_seen() { later=$(read_screen); grep -q -E 'coffee|sleeping|train' <<<"$later"; }
wait_for 20 later_seen || fail "playback did not move on to the next sentences; read: $later"
[ -z "$shots" ] || cp "$work/window.png" "$shots/demo-later-card.png"

kill -TERM "${pids[0]}"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
[ ! -e "$work/prog/demo.qzc" ] || fail "installed files left behind"
echo "demo player e2e: 3 passed, 0 failed"
