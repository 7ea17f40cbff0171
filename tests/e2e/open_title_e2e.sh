#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run): started with a title
# package on its command line, it shows the title's caption and plays the first card, whose
# text can be read off the screen.
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"

package=$("$bin_dir/make_test_package" "$work/packages")
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$work/prog/olveplayer" "$package" 2>"$work/player.err" &
pids+=("$!")
titled() { xdotool search --onlyvisible --name '^Test Lesson - Player Olve / Rindale$' >/dev/null 2>&1; }
wait_for 30 titled || fail "no window with the title's caption: $(head -5 "$work/player.err")"
window=$(xdotool search --onlyvisible --name '^Test Lesson - Player Olve / Rindale$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"

# The first card's text, read from the top of the text pane below the tool bar.
read_text() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x70+${X}+$((Y + 33))" -resize 200% -colorspace Gray "$work/text.png"
  tesseract "$work/text.png" - 2>/dev/null | tr '\n' ' '
}
seen() { read_text | grep -q 'Good morning'; }
wait_for 15 seen || fail "first card text not visible; read: $(read_text)"
[ -z "$shots" ] || cp "$work/screen.png" "$shots/open-title.png"
[ -f "$work/prog/lesson.qzc" ] || fail "package not installed into the program folder"
# A machine without sound (and no server) plays into a silent sink without a word from the
# sound library.
if [ -z "${PULSE_SERVER:-}" ] && ! grep -qs '^ *[0-9]' /proc/asound/cards; then
  ! grep -q '^ALSA lib\|^AL lib' "$work/player.err" || fail "sound library errors: $(grep -c '^ALSA lib\|^AL lib' "$work/player.err")"
fi

# Closed by the system: installed files removed, layout saved, status 0.
kill -TERM "${pids[0]}"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
[ ! -e "$work/prog/lesson.qzc" ] || fail "installed files left behind"
[ -s "$work/prog/olveplayer.dat" ] || fail "no settings file"
echo "open title e2e: 4 passed, 0 failed"
