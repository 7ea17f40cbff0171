#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run): started with a package
# whose recording is missing, it says so in a message box, whose text is read off the screen.
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
package=$("$bin_dir/make_test_package" --no-recording "$work/packages")

"$work/prog/olveplayer" "$package" 2>"$work/player.err" &
pids+=("$!")
shown() { xdotool search --onlyvisible --name 'Player Olve / Rindale$' >/dev/null 2>&1; }
wait_for 20 shown || fail "main window not shown"
# The box carries the program's caption as the main window does, and is the smaller one.
box() {
  local w
  for w in $(xdotool search --onlyvisible --name 'Player Olve / Rindale$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" | grep -Eq 'Geometry: [0-9]+x512$' || { echo "$w"; return; }
  done
}
box_open() { [ -n "$(box)" ]; }
wait_for 20 box_open || fail "no message box; standard error: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
read_box() {
  import -window "$(box)" "$work/box.png"
  convert "$work/box.png" -resize 300% -colorspace Gray "$work/box-text.png"
  tesseract "$work/box-text.png" - 2>/dev/null | tr '\n' ' '
}
says_missing() { read_box | grep -qi 'file not exist'; }
wait_for 10 says_missing \
  || fail "the box does not say the recording is missing; read: $(read_box)"
[ -z "$shots" ] || cp "$work/box.png" "$shots/missing-recording.png"
read_box | grep -q 'tone.wav' || fail "the box does not name the recording; read: $(read_box)"
echo "missing recording e2e: 2 passed, 0 failed"
