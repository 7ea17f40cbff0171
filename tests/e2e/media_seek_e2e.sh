#!/usr/bin/env bash
# The whole program under a virtual X display and a private session bus (run through
# xvfb-run and dbus-run-session), moved by a desktop panel: "playerctl position 5" plays on
# from the card at 5 s, a relative seek goes on from where the play is, and a seek while
# stopped shows the card there without playing it. The play log (OLVE_PLAY_LOG) tells what
# the player really played.
# Usage: media_seek_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
for program in playerctl dbus-send; do
  command -v "$program" >/dev/null || { echo "FAIL: $program is missing (scripts/deps.sh installs it)"; exit 1; }
done
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "FAIL: run inside dbus-run-session"; exit 1; }
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
passed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }

# Cards of 100 ms each: card 51 holds 5.0 s.
package=$("$bin_dir/make_test_package" --serial D401 --name "Seek Lesson" --many 80 "$work/packages" 2>"$work/make.err") ||
  fail "cannot make the package: $(cat "$work/make.err")"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
OLVE_PLAY_LOG=1 "$work/prog/olveplayer" NoTie "$package" 2>"$work/player.err" &
player=$!
pids+=("$player")
ctl() { playerctl -p olveplayer "$@" 2>/dev/null; }
status_is() { [ "$(ctl status)" = "$1" ]; }
logged() { grep -q "$1" "$work/player.err"; }
wait_for 30 status_is Playing || fail "the player is not on the bus as playing: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"

can_seek=$(dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.olveplayer /org/mpris/MediaPlayer2 \
  org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:CanSeek | tail -1)
[[ "$can_seek" == *"boolean true"* ]] || fail "CanSeek: $can_seek"
pass "the panel is told that seeking works"

# 1. SetPosition while playing: the card at 5 s plays from 5 s.
ctl position 5
wait_for 5 logged 'ms: play card 51 from 5000 to ' || fail "position 5 did not play card 51: $(tail -3 "$work/player.err")"
at=$(ctl position | awk '{ printf "%d", $1 * 1000 }')
[ "$at" -ge 5000 ] && [ "$at" -lt 8000 ] || fail "position after the seek: $at ms"
pass "playerctl position 5 plays on from the card at 5 s"

# 2. Seek by an offset goes on from where the play is.
ctl position 1+
seek_line() { grep -E 'ms: seek to [0-9]+ in card' "$work/player.err" | tail -1 | sed -E 's/.*seek to ([0-9]+) in card ([0-9]+)$/\1 \2/'; }
second_seek() { [ "$(grep -cE 'ms: seek to [0-9]+ in card' "$work/player.err")" -ge 2 ]; }
wait_for 5 second_seek || fail "position 1+ did not seek: $(tail -3 "$work/player.err")"
read -r to card <<<"$(seek_line)"
[ "$to" -ge 6000 ] && [ "$card" -eq $((to / 100 + 1)) ] || fail "position 1+ sought to $to in card $card"
pass "a seek by an offset moves on from the playing position"

# 3. Stopped: the card there shows, and nothing plays.
ctl stop
wait_for 3 status_is Stopped || fail "stop: status $(ctl status)"
plays=$(grep -c 'ms: play card' "$work/player.err")
ctl position 2
title_is() { [ "$(ctl metadata xesam:title)" = "$1" ]; }
wait_for 3 title_is "Sentence number 21 is spoken here." || fail "the card at 2 s is not shown: $(ctl metadata xesam:title)"
sleep 0.5
status_is Stopped || fail "a seek while stopped started a play"
[ "$(grep -c 'ms: play card' "$work/player.err")" -eq "$plays" ] || fail "a seek while stopped played a card"
pass "a seek while stopped shows the card there"

# 4. Offsets and positions far outside the recording land on its first or last card.
mpris() {
  dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.olveplayer /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Player."$@"
}
mpris Seek int64:9223372036854775807
wait_for 3 title_is "Sentence number 80 is spoken here." || fail "a huge offset: $(ctl metadata xesam:title)"
mpris Seek int64:-9223372036854775808
wait_for 3 title_is "Sentence number 1 is spoken here." || fail "a huge offset back: $(ctl metadata xesam:title)"
mpris SetPosition objpath:/org/mpris/MediaPlayer2/Track/0 int64:-5
kill -0 "$player" || fail "the player ended after hostile seeks"
pass "seeks outside the recording stay inside it"

kill -TERM "$player"
wait "$player" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the player ended with status $status"
echo "media seek e2e: $passed passed, 0 failed"
