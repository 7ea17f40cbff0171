#!/usr/bin/env bash
# The practice controls on the demo title, in the whole program under a virtual X display:
#   practice_e2e.sh BIN_DIR SOURCE_DIR
# The player writes each play and each end it reaches to standard error (OLVE_PLAY_LOG), so
# what it played is read from there and what it shows from the screen.
set -euo pipefail
bin_dir=$1
source_dir=$2
for program in xdotool import convert tesseract espeak-ng sox; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/../e2e/e2e_common.sh"
mkdir -p "$work/prog"

bash "$source_dir/demo/build-demo.sh" "$work/demo" "$bin_dir/olvetool" >/dev/null || fail "the demo did not build"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
log=$work/player.err
OLVE_PLAY_LOG=1 "$work/prog/olveplayer" NoTie "$work/demo/demo.qzw" 2>"$log" &
pids+=("$!")
caption='A Day in English - Player Olve / Rindale$'
titled() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
wait_for 30 titled || fail "no window with the demo's caption: $(grep -v '^ALSA\|^AL lib' "$log" | head -5)"
window=$(xdotool search --onlyvisible --name "$caption" | head -1)

press() { for key in "$@"; do xdotool windowfocus --sync "$window"; xdotool key "$key"; done; }
read_screen() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -resize 200% -colorspace Gray "$work/text.png"
  tesseract "$work/text.png" - 2>/dev/null | tr '\n' ' '
}
# The log from line $1 on.
since() { tail -n "+$1" "$log" | grep ' ms: '; }
mark() { wc -l <"$log" | awk '{print $1 + 1}'; }
count() { since "$1" | grep -c "$2" || true; }
# ms TEXT: the time of the first log line from line $1 holding TEXT.
ms() { since "$1" | grep -m1 "$2" | sed 's/ ms:.*//'; }

passed=0
check() { passed=$((passed + 1)); }

# Automatic pause: the first card plays to its end, the whole sentence shows, and nothing follows.
press a
from=$(mark)
press Home
ended() { [ "$(count "$from" 'card 1 ended')" -ge 1 ]; }
wait_for 15 ended || fail "the first card did not end: $(since "$from")"
sleep 1.5
[ "$(count "$from" 'play card 2')" -eq 0 ] || fail "automatic pause played on: $(since "$from")"
screen=""
whole() { screen=$(read_screen); grep -q 'morning' <<<"$screen" && grep -q 'sun is up' <<<"$screen"; }
wait_for 10 whole || fail "the whole first sentence is not shown after its card; read: $screen"
check

# Repeat 2: the same card is heard twice, from its start to its end, then the player stops.
press r
from=$(mark)
press Home
twice() { [ "$(count "$from" 'card 1 ended')" -ge 2 ]; }
wait_for 20 twice || fail "the first card was not heard twice: $(since "$from")"
sleep 1.5
[ "$(count "$from" 'play card 1 from')" -eq 2 ] || fail "expected two plays of card 1: $(since "$from")"
[ "$(since "$from" | grep 'play card 1 from' | sort -u -k2 | wc -l)" -eq 1 ] || fail "the two plays differ: $(since "$from")"
[ "$(count "$from" 'play card 2')" -eq 0 ] || fail "repeat went on with automatic pause: $(since "$from")"
check

# Shown once heard: the next card's English is hidden while it is heard the first time.
press r r r r e
from=$(mark)
press n
sleep 0.4
screen=$(read_screen)
! grep -q 'coffee' <<<"$screen" || fail "the English of a card not yet heard is shown: $screen"
heard() { [ "$(count "$from" 'card 2 ended')" -ge 1 ]; }
wait_for 15 heard || fail "the second card did not end: $(since "$from")"
shown() { screen=$(read_screen); grep -q 'coffee' <<<"$screen"; }
wait_for 10 shown || fail "the English did not show once the card was heard; read: $screen"
check

# Shadowing factor 1 without automatic pause: after the first card, about its length of
# silence, then the second card by itself.
press e e a w w
from=$(mark)
press Home
next() { [ "$(count "$from" 'play card 2')" -ge 1 ]; }
wait_for 20 next || fail "the second card did not follow: $(since "$from")"
read -r start end < <(since "$from" | grep -m1 'play card 1 from' | sed 's/.* from \([0-9]*\) to \([0-9]*\)/\1 \2/')
length=$((end - start))
silence=$(($(ms "$from" 'play card 2') - $(ms "$from" 'card 1 ended')))
[ "$silence" -ge $((length * 9 / 10)) ] && [ "$silence" -le $((length + 1500)) ] ||
  fail "a silence of $silence ms after a card of $length ms: $(since "$from")"
check

press s
kill -TERM "${pids[0]}"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
echo "practice e2e: $passed passed, 0 failed"
