#!/usr/bin/env bash
# Late subtitles of a film, in the whole program under a virtual X display:
#   synced_film_e2e.sh BIN_DIR [SHOTS_DIR]
# A film-like video (sentences spoken with pauses under music and noise, over a coloured
# picture) whose subtitles beside it come 2.5 s late opens as a title: the player says the
# subtitles were corrected, and card 3, played by keys, shows card 3's sentence and plays
# within the time that sentence is spoken. With SHOTS_DIR, a screenshot is left there.
set -euo pipefail
bin_dir=$1
shots=${2:-}
for program in xdotool import convert tesseract espeak-ng sox soxi ffmpeg; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/films" "$work/make"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

sentences=("The train leaves at nine o'clock." "Please wait for me at the station."
  "Bring your yellow umbrella tomorrow." "It may rain all afternoon." "We will have lunch together."
  "My brother works in a small bakery." "The shop opens early on Sundays." "Could you close the window, please?"
  "I have never seen the sea in winter." "Let us meet again next week.")
# Pauses of uneven length, as in dialogue: evenly spaced lines would fit as well one line on.
pauses_ms=(1200 2600 900 3100 1700 2300 1000 2800 1500 2000 1800)
lead_ms=3000
late_ms=2500

# The speech: each sentence trimmed to its sound, after the music's lead and a pause; its
# true times in ms in $work/make/true.
m=$work/make
silence() { sox -n -r 16000 -c 1 -b 16 "$2" trim 0 "$(($1 / 1000)).$(printf %03d $(($1 % 1000)))"; }
silence $((lead_ms - pauses_ms[0])) "$m/lead.wav"
parts=("$m/lead.wav")
at=$((lead_ms - pauses_ms[0]))
: >"$m/true"
for k in "${!sentences[@]}"; do
  espeak-ng -v en-us -s 150 -w "$m/raw$k.wav" "${sentences[$k]}"
  sox "$m/raw$k.wav" -r 16000 -c 1 -b 16 "$m/s$k.wav" silence 1 0.01 -50d reverse silence 1 0.01 -50d reverse
  silence "${pauses_ms[$k]}" "$m/pause$k.wav"
  length=$(soxi -s "$m/s$k.wav")
  at=$((at + pauses_ms[k]))
  echo "$at $((at + length / 16))" >>"$m/true"
  at=$((at + length / 16))
  parts+=("$m/pause$k.wav" "$m/s$k.wav")
done
silence "${pauses_ms[${#sentences[@]}]}" "$m/end.wav"
parts+=("$m/end.wav")
sox "${parts[@]}" "$m/speech.wav"
seconds=$(soxi -D "$m/speech.wav")
# Music (a slow sweep that swells and fades) about 15 dB and hiss about 25 dB under the speech.
sox -n -r 16000 -c 1 -b 16 "$m/music.wav" synth "$seconds" sine 220:660 tremolo 0.5 60 vol 0.025
sox -n -r 16000 -c 1 -b 16 "$m/hiss.wav" synth "$seconds" pinknoise vol 0.03
sox -m "$m/speech.wav" "$m/music.wav" "$m/hiss.wav" "$m/mix.wav"
ffmpeg -v error -f lavfi -i "color=c=0x203050:s=320x240:r=10" -i "$m/mix.wav" -t "$seconds" -c:v libx264 -preset ultrafast \
  -g 10 -pix_fmt yuv420p -c:a libvorbis "$work/films/film.mkv" || fail "the film could not be made"

stamp() { printf '%02d:%02d:%02d,%03d' $(($1 / 3600000)) $(($1 / 60000 % 60)) $(($1 / 1000 % 60)) $(($1 % 1000)); }
k=0
while read -r from to; do
  printf '%d\n%s --> %s\n%s\n\n' $((k + 1)) "$(stamp $((from + late_ms)))" "$(stamp $((to + late_ms)))" \
    "${sentences[$k]}" >>"$work/films/film.srt"
  k=$((k + 1))
done <"$m/true"
read -r third_from third_to < <(sed -n 3p "$m/true")

log=$work/player.err
start_player
press() { xdotool windowfocus --sync "$window"; xdotool key "$1"; }
passed=0

"$work/prog/olveplayer" "$work/films/film.mkv" 2>>"$log" || fail "the second start failed"
synced() { grep -q 'olveplayer: sync: ' "$log"; }
wait_for 90 synced || fail "the film was not synced: $(grep -v '^ALSA\|^AL lib' "$log" | tail -5)"
said=$(grep -o 'olveplayer: sync: .*' "$log")
grep -Eq 'subtitles were 2\.(4[5-9]|5[0-5]) s late.*; corrected' <<<"$said" ||
  fail "the player did not say the subtitles were 2.5 s late: $said"
# The notice shows for two seconds: the screen is taken several times now and read after.
for i in $(seq 10); do import -window root "$work/notice$i.png"; sleep 0.2; done
playing() { grep -q 'play card 1 ' "$log"; }
wait_for 30 playing || fail "the film did not become a title that plays: $(grep -v '^ALSA\|^AL lib' "$log" | tail -5)"

# Automatic pause on: the play stops with the card it is in; then N or B to card 3, and H
# plays it once more from its start.
stopped_at() { tail -1 "$log" | sed -n 's/^[0-9]* ms: card \([0-9]*\) ended at .*/\1/p'; }
stopped() { [ -n "$(stopped_at)" ]; }
# press_and_stop KEY: the key's play has ended.
press_and_stop() {
  local lines
  lines=$(wc -l <"$log")
  press "$1"
  moved() { [ "$(wc -l <"$log")" -gt "$lines" ] && stopped; }
  wait_for 15 moved || fail "$1 did not play one card: $(tail -3 "$log")"
}
press a
wait_for 20 stopped || fail "the automatic pause did not stop the play: $(tail -3 "$log")"
for tries in 1 2 3 4 5; do
  [ "$(stopped_at)" -lt 3 ] && press_and_stop n
  [ "$(stopped_at)" -gt 3 ] && press_and_stop b
done
[ "$(stopped_at)" = 3 ] || fail "card 3 was not reached: $(tail -5 "$log")"
press_and_stop h
line=$(grep 'play card 3 ' "$log" | tail -1)
from=$(sed 's/.* from \([0-9]*\) to .*/\1/' <<<"$line")
end=$(grep -o 'card 3 ended at [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
[ "${from#-}" -ge 0 ] && [ $((from - third_from)) -le 200 ] && [ $((third_from - from)) -le 200 ] ||
  fail "card 3 starts at $from ms, its sentence at $third_from ms: $line"
[ "$end" -ge "$third_from" ] && [ "$end" -le $((third_to + 300)) ] ||
  fail "card 3 ended at $end ms, outside its sentence ($third_from-$third_to ms)"
screen=""
third() { screen=$(read_screen); grep -qi 'yellow umbrella' <<<"$screen"; }
wait_for 15 third || fail "card 3's sentence is not shown; read: $screen"
grep -qi 'station' <<<"$screen" && fail "card 2's sentence is shown with card 3; read: $screen"
[ -z "$shots" ] || cp "$work/screen.png" "$shots/synced-film.png"
passed=$((passed + 1))

notice=""
for i in $(seq 10); do
  eval "$(xdotool getwindowgeometry --shell "$window")"
  convert "$work/notice$i.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -resize 200% -colorspace Gray -negate \
    "$work/notice.png"
  notice=$(tesseract "$work/notice.png" - 2>/dev/null | tr '\n' ' ')
  grep -Eq 'subtitles were 2\.[45][0-9] s late.*corrected' <<<"$notice" && break
done
grep -Eq 'subtitles were 2\.[45][0-9] s late.*corrected' <<<"$notice" ||
  fail "the window did not show what the sync found; read: $notice"
passed=$((passed + 1))

kill -TERM "${pids[0]}"
wait "${pids[0]}" || true
echo "synced film e2e: $passed passed, 0 failed"
