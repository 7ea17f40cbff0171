#!/usr/bin/env bash
# A recording with no subtitles of its name, in the whole program under a virtual X display:
#   chosen_subtitles_e2e.sh BIN_DIR
# Handed to the empty window, it offers its folder's subtitles, the likeliest name first;
# taking that one, whose lines split sentences, asks whether to make sentence cards; the
# answer "Sentences" makes a title whose first card is the whole first sentence.
set -euo pipefail
bin_dir=$1
for program in xdotool sox; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/films"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

sox -n -r 16000 -c 1 -b 16 "$work/films/Talk.Episode.2.wav" synth 6 sine 300 || fail "the test sound could not be made"
printf '1\n00:00:00,500 --> 00:00:01,500\nWhen we came\n\n2\n00:00:01,600 --> 00:00:02,800\nhome, it rained.\n\n3\n00:00:03,000 --> 00:00:04,000\nGood night.\n' \
  >"$work/films/talk.episode.2.english.srt"
printf '1\n00:00:00,500 --> 00:00:01,500\nWrong episode.\n' >"$work/films/talk.episode.3.srt"

log=$work/player.err
OLVE_PLAY_LOG=1 "$work/prog/olveplayer" NoTie 2>>"$log" &
pids+=("$!")
shown() { xdotool search --onlyvisible --name 'Player Olve / Rindale' >/dev/null 2>&1; }
wait_for 30 shown || fail "no window: $(tail -5 "$log")"
"$work/prog/olveplayer" "$work/films/Talk.Episode.2.wav" 2>>"$log" || fail "the second start failed"

# answer NAME KEY: presses KEY in the window named NAME once it is shown.
answer() {
  asked() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
  wait_for 30 asked "$1" || fail "not asked: $1: $(grep -v '^ALSA\|^AL lib' "$log" | tail -5)"
  local box
  box=$(xdotool search --onlyvisible --name "$1" | head -1)
  xdotool windowfocus --sync "$box" key "$2"
}
answer 'Choose the subtitles' Return
answer 'Cards' Return

playing() { grep -q 'play card 1' "$log"; }
wait_for 60 playing || fail "no title plays: $(grep -v '^ALSA\|^AL lib' "$log" | tail -5)"
package=$(ls "$HOME"/.local/share/olveplayer/library/Talk.Episode.2-*.qzw 2>/dev/null | head -1)
[ -f "$package" ] || fail "no title in the library folder: $(ls "$HOME/.local/share/olveplayer/library")"
"$bin_dir/olvetool" extract "$package" "$work/check" >/dev/null
dump=$("$bin_dir/olvetool" title dump "$work/check/$(basename "$package" .qzw).qzc")
grep -q '"main": "When we came home, it rained."' <<<"$dump" || fail "the first card is not the first sentence: $dump"
grep -q '"main": "Good night."' <<<"$dump" || fail "the second sentence is not a card of its own: $dump"
echo "ok: the likeliest subtitles were offered first and made sentence cards"

kill -TERM "${pids[0]}"
wait "${pids[0]}" || true
echo "chosen subtitles e2e: 1 passed, 0 failed"
