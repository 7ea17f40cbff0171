#!/usr/bin/env bash
# The whole program under a virtual X display and a private session bus (run through
# xvfb-run and dbus-run-session), driven from outside as a desktop panel drives it: playerctl
# plays, pauses, stops and steps through the cards, and reads the status, the position and
# the current card's text; the play log (OLVE_PLAY_LOG) tells what the player really played.
# Then the help opens with "?" and the player still takes keys; past the last card a notice
# shows inside the window, never a box; a package opens through the bus, and a D-Bus Quit
# ends the player as closing it does.
# Without a session bus the player starts all the same, with one line on standard error.
# Usage: media_controls_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
for program in playerctl dbus-send xdotool; do
  command -v "$program" >/dev/null || { echo "FAIL: $program is missing (scripts/deps.sh installs it)"; exit 1; }
done
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAIL: run inside dbus-run-session"; exit 1; }
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
passed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }

package=$("$bin_dir/make_test_package" --serial D301 --name "Media Keys Lesson" \
  --card "Alpha apples are red.|りんごは赤い。" \
  --card "Bravo “bananas” are yellow.|バナナは黄色い。" \
  --card "Charlie cherries are dark.|さくらんぼは黒っぽい。" \
  "$work/packages" 2>"$work/make.err") || fail "cannot make the package: $(cat "$work/make.err")"
grep '^card' "$work/make.err"
second=$("$bin_dir/make_test_package" --serial D302 --name "Second Lesson" \
  --card "Golf gardens are green.|庭は緑だ。" "$work/packages" 2>/dev/null)
last_end=$(grep '^card' "$work/make.err" | tail -1 | sed -E 's/^card +[0-9]+- *([0-9]+) ms.*/\1/')
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
caption='^Media Keys Lesson - Player Olve / Rindale$'
titled() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
stop_player() {
  kill -TERM "$1"
  wait "$1" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "the player ended with status $status"
}

# 1. No session bus: the player plays, and one line says why panels cannot reach it.
DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" "$work/prog/olveplayer" NoTie "$package" 2>"$work/nobus.err" &
pids+=("$!")
wait_for 30 titled || fail "no window without a session bus: $(grep -v '^ALSA\|^AL lib' "$work/nobus.err" | head -5)"
sleep 1
stop_player "${pids[0]}"
[ "$(grep -ci 'd-bus' "$work/nobus.err")" -eq 1 ] || fail "not one line about the missing bus: $(cat "$work/nobus.err")"
pass "without a session bus the player starts and says so once"

# 2. On the bus: the title plays from the top, and the panel sees it.
OLVE_PLAY_LOG=1 "$work/prog/olveplayer" NoTie "$package" 2>"$work/player.err" &
player=$!
pids+=("$player")
ctl() { playerctl -p olveplayer "$@" 2>/dev/null; }
status_is() { [ "$(ctl status)" = "$1" ]; }
title_is() { [ "$(ctl metadata xesam:title)" = "$1" ]; }
plays() { grep -c "ms: play card $1 from" "$work/player.err" || true; }
# more_plays CARD COUNT: card CARD has been played more than COUNT times (looked at anew on each call).
more_plays() { [ "$(plays "$1")" -gt "$2" ]; }
wait_for 30 status_is Playing || fail "the player is not on the bus as playing: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
playerctl -l | grep -qx olveplayer || fail "playerctl does not list the player"
playerctl -p olveplayer --follow status >"$work/follow.log" 2>/dev/null &
pids+=("$!")
[ "$(ctl metadata xesam:album)" = "Media Keys Lesson" ] || fail "album: $(ctl metadata xesam:album)"
length=$(ctl metadata mpris:length)
[ "$length" -ge $((last_end * 1000)) ] || fail "mpris:length $length is shorter than the cards ($last_end ms)"
wait_for 5 title_is "Alpha apples are red." || fail "title: $(ctl metadata xesam:title)"
pass "status, title and album of the first card"

# Pause holds the position; play-pause goes on from there.
ctl pause
wait_for 3 status_is Paused || fail "pause: status $(ctl status)"
held=$(ctl position)
sleep 0.6
[ "$(ctl position)" = "$held" ] || fail "the position moved while paused"
ctl play-pause
wait_for 3 status_is Playing || fail "play-pause: status $(ctl status)"
moved() { [ "$(ctl position)" != "$held" ]; }
wait_for 3 moved || fail "the position did not move on after play-pause"
wait_for 3 grep -qx Paused "$work/follow.log" || fail "no change signal for Paused: $(cat "$work/follow.log")"
pass "pause and play-pause, with change signals"

# Stop keeps the card; next and previous play the cards beside it, which the panel shows.
ctl stop
wait_for 3 status_is Stopped || fail "stop: status $(ctl status)"
current=$(ctl metadata mpris:trackid | sed "s|.*/||; s|'||g")
[ "$current" = 1 ] || fail "after stop the current card is '$current'"
before=$(plays 2)
ctl next
wait_for 3 more_plays 2 "$before" || fail "next did not play card 2: $(tail -3 "$work/player.err")"
wait_for 3 title_is "Bravo “bananas” are yellow." || fail "title after next: $(ctl metadata xesam:title)"
ctl stop
wait_for 3 status_is Stopped || fail "second stop: status $(ctl status)"
before=$(plays 1)
ctl previous
wait_for 3 more_plays 1 "$before" || fail "previous did not play card 1: $(tail -3 "$work/player.err")"
wait_for 3 title_is "Alpha apples are red." || fail "title after previous: $(ctl metadata xesam:title)"
pass "next and previous step through the cards"

# The position is the recording's, inside the card the log says is playing.
range=$(grep 'ms: play card 1 from' "$work/player.err" | tail -1 | sed -E 's/.* from ([0-9]+) to ([0-9]+)$/\1 \2/')
read -r from to <<<"$range"
position_ms=$(ctl position | awk '{ printf "%d", $1 * 1000 }')
[ "$position_ms" -ge "$from" ] && [ "$position_ms" -le "$to" ] || fail "position $position_ms ms outside $from-$to"
pass "the position is inside the playing card"

# 3. "?" opens the help; it is not modal: the player window still takes keys.
ctl stop
window=$(xdotool search --onlyvisible --name "$caption" | head -1)
xdotool windowfocus --sync "$window"
xdotool key question
helped() { xdotool search --onlyvisible --name '^利用案内$' >/dev/null 2>&1; }
wait_for 10 helped || fail "? did not open the help"
before=$(plays 2)
xdotool windowfocus --sync "$window"
xdotool key n
wait_for 5 more_plays 2 "$before" || fail "N did not reach the player while the help is open"
pass "the help opens with ? and the player still takes keys"

# 4. Past the last card: the words on standard error and inside the window, no box.
ctl stop
ctl next
wait_for 3 title_is "Charlie cherries are dark." || fail "title of the last card: $(ctl metadata xesam:title)"
ctl stop
wait_for 3 status_is Stopped || fail "stop on the last card: status $(ctl status)"
windows() { xdotool search --onlyvisible --pid "$player" 2>/dev/null | wc -l; }
shown=$(windows)
ctl next
wait_for 5 grep -q 'つぎはありません' "$work/player.err" || fail "no notice past the last card"
sleep 0.5
[ "$(windows)" -eq "$shown" ] || fail "a window of its own was shown past the last card"
pass "past the last card a notice, not a box"

# 5. A package given to OpenUri opens as a dropped one; Quit ends the player as closing it does.
dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.olveplayer /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Player.OpenUri "string:file://$second"
second_title() { [ "$(ctl metadata xesam:album)" = "Second Lesson" ] && title_is "Golf gardens are green."; }
wait_for 15 second_title || fail "OpenUri did not open the second package: $(ctl metadata xesam:album)"
pass "OpenUri opens a package"

dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.olveplayer /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Quit
wait "$player" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "Quit ended the player with status $status"
[ -z "$(ls "$work/prog"/*.qzc 2>/dev/null)" ] || fail "installed files left behind after Quit"
pass "Quit ends the player"
echo "media controls e2e: $passed passed, 0 failed"
