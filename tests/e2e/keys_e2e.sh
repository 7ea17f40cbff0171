#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run), driven by keys: a title
# of six spoken cards is played with N, B, H, Space, A and Esc, and the card on the screen
# (read off the text pane), the progress bar and the pause and automatic-pause buttons are
# checked after each key. Then a second start with another package hands it to the running
# window and ends.
# Usage: keys_e2e.sh BIN_DIR [SCREENSHOT_FOLDER]
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
passed=0
fail() { echo "FAIL: $*" >&2; [ -z "$shots" ] || cp "$work/screen.png" "$shots/keys-failed.png" 2>/dev/null || true; exit 1; }
pass() { passed=$((passed + 1)); echo "ok: $*"; }

# Each card's text has two words of its own, so one misread word still names the card.
words=(none "Alpha|apples" "Bravo|bananas" "Charlie|cherries" "Delta|dolphins" "Echo|eagles" "Foxtrot|foxes")
package=$("$bin_dir/make_test_package" --serial K201 --name "Keys Lesson" \
  --card "Alpha apples are red.|りんごは赤い。" \
  --card "Bravo bananas are yellow.|バナナは黄色い。" \
  --card "Charlie cherries are dark.|さくらんぼは黒っぽい。" \
  --card "Delta dolphins can swim.|イルカは泳げる。" \
  --card "Echo eagles can fly.|ワシは飛べる。" \
  --card "Foxtrot foxes are quick.|キツネはすばやい。" \
  "$work/packages" 2>"$work/make.err") || fail "cannot make the package: $(cat "$work/make.err")"
grep '^media:' "$work/make.err"
second=$("$bin_dir/make_test_package" --serial K202 --name "Second Lesson" \
  --card "Golf gardens are green.|庭は緑だ。" --card "Hotel houses are tall.|家は高い。" \
  "$work/packages" 2>/dev/null)

cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$work/prog/olveplayer" "$package" 2>"$work/player.err" &
pids+=("$!")
caption='Keys Lesson - Player Olve / Rindale'
titled() { xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1; }
wait_for 30 titled || fail "no window with the title's caption: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
window=$(xdotool search --onlyvisible --name "^$caption\$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"

# Places inside the window, from the tool bar's layout: 30-pixel buttons from x = 4 (the
# automatic-pause button is the eighth), the progress bar with the playing line above it
# right of the speaker, and the text pane below the 33-pixel tool bar.
shot() { import -window root "$work/screen.png"; }
crop_sum() { convert "$work/screen.png" -crop "$1" +repage rgb:- | md5sum | cut -d' ' -f1; }
bar() { crop_sum "160x33+$((X + 270))+$Y"; }
button() { crop_sum "30x30+$((X + 4 + 30 * ($1 - 1)))+$((Y + 2))"; }
autopause_button() { button 8; }
pause_button() { button 7; }
read_text() {
  convert "$work/screen.png" -crop "${WIDTH}x70+${X}+$((Y + 33))" +repage -resize 200% -colorspace Gray "$work/text.png"
  tesseract "$work/text.png" - 2>/dev/null | tr '\n' ' '
}
# The number of the card whose text is shown (1 to 6), 0 for none.
card() {
  local text i
  text=$(read_text)
  for i in 1 2 3 4 5 6; do
    if grep -qiE "${words[$i]}" <<<"$text"; then echo "$i"; return; fi
  done
  echo 0
}
shown() { shot; [ "$(card)" = "$1" ]; }
# Still: the progress bar and the playing line did not move in 0.6 s.
still() { local a; shot; a=$(bar); sleep 0.6; shot; [ "$(bar)" = "$a" ]; }
moved_from() { shot; [ "$(bar)" != "$1" ]; }
glyph_is() { shot; [ "$(autopause_button)" = "$1" ]; }
glyph_is_not() { shot; [ "$(autopause_button)" != "$1" ]; }
keep() { [ -z "$shots" ] || cp "$work/screen.png" "$shots/keys-$1.png"; }
press() { xdotool windowfocus --sync "$window"; xdotool key "$1"; }
expect_card() {
  local what=$1 n=$2 limit=${3:-6}
  wait_for "$limit" shown "$n" || fail "$what: card $n not shown; read: $(read_text)"
}
expect_caption() { [ "$(xdotool getwindowname "$window")" = "$1" ] || fail "caption is '$(xdotool getwindowname "$window")'"; }
# Stays on card n without moving for longer than a card lasts.
expect_stays() {
  local what=$1 n=$2 sum
  wait_for 6 still || fail "$what: playback did not stop"
  sum=$(bar)
  sleep 2.5
  shot
  [ "$(card)" = "$n" ] || fail "$what: card $n did not stay; read: $(read_text)"
  [ "$(bar)" = "$sum" ] || fail "$what: the progress bar moved"
}

# Opened from the command line: plays from the top without automatic pause.
expect_card "start" 1 15
expect_caption "$caption"
keep open
off_glyph=$(autopause_button)
up_pause=$(pause_button)
pass "the first card is shown under the title's caption"

# A: automatic pause on while playing ends the play with the card being played.
press a
wait_for 3 glyph_is_not "$off_glyph" || fail "A: the automatic-pause button did not change"
expect_stays "A" 1
keep autopause-on
pass "A stops after the current card"

# N, N, B: each plays one card, which stays on the screen after it ends.
press n
expect_card "N" 2
expect_stays "N" 2
keep next
press n
expect_card "second N" 3
expect_stays "second N" 3
press b
expect_card "B" 2
expect_stays "B" 2
keep back
pass "N and B move by one card and automatic pause stops after it"

# H: the same card again; the bar goes back to the card's start and the card stays.
before=$(bar)
press h
wait_for 3 moved_from "$before" || fail "H: the card was not played again"
expect_stays "H" 2
pass "H plays the card again"

# A again: automatic pause off, nothing starts by itself.
press a
wait_for 3 glyph_is "$off_glyph" || fail "A: the button did not show automatic pause off again"
expect_stays "second A" 2

# H plays on through the cards; Space pauses on a card and Space resumes.
press h
expect_card "H without automatic pause" 3
press space
expect_stays "Space" 3
[ "$(pause_button)" != "$up_pause" ] || fail "Space: the pause button is not down"
keep paused
press space
expect_card "second Space" 4
[ "$(pause_button)" = "$up_pause" ] || fail "second Space: the pause button stayed down"
pass "Space pauses on a card and resumes to the next"

# Esc stops playback where it is.
press Escape
expect_stays "Esc" 4
keep stopped
expect_caption "$caption"
pass "Esc stops on the current card"

# A second start hands its package to the running window and ends with status 0.
status=0
timeout 30 "$work/prog/olveplayer" "$second" 2>"$work/second.err" || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status: $(head -5 "$work/second.err")"
new_caption() { [ "$(xdotool getwindowname "$window")" = 'Second Lesson - Player Olve / Rindale' ]; }
wait_for 15 new_caption || fail "the running window did not open the second package: $(xdotool getwindowname "$window")"
seen_golf() { shot; read_text | grep -qiE 'Golf|gardens'; }
wait_for 10 seen_golf || fail "the second title's first card is not shown; read: $(read_text)"
keep handed-over
[ "$(xdotool search --onlyvisible --name 'Player Olve / Rindale' | wc -l)" -eq 1 ] || fail "more than one player window"
pass "a second start hands its package over and ends"

kill -TERM "${pids[0]}"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
echo "keys e2e: $passed passed, 0 failed"
