#!/usr/bin/env bash
# Cue start errors and speed of the subtitle sync against exact truth. Three recordings of about
# five minutes (16 kHz mono WAV) with known sentence starts: espeak-ng speech with pauses; the
# LibriVox clips that Debian's pocketsphinx-testdata ships, trimmed at their speech and joined
# with pauses of room tone; and a film-like mix of those clips under music and noise. For every
# offset and drift the cues are written as a file made that way would have them, synced, and
# each synced start compared with where its sentence starts: the error is |found - true|, with
# no tolerance band. A last row syncs a long recording (HOURS, 2 unless given; 0 leaves it out)
# of the film-like mix, as an MP3 (44.1 kHz stereo, 128 kbit/s) such as users have.
# Usage: run-sync.sh [BIN_DIR [HOURS]]  (BIN_DIR: build/bin of this tree unless given)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
case $bin in /*) ;; *) bin=$PWD/$bin ;; esac
hours=${2:-2}
[[ $hours =~ ^[0-9]$ ]] || { echo "HOURS must be a number from 0 to 9" >&2; exit 2; }
data=/usr/share/pocketsphinx/test/data/librivox
[ -d "$data" ] || { echo "pocketsphinx-testdata is not installed" >&2; exit 1; }
for tool in sox soxi espeak-ng ffmpeg; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

# Where a LibriVox clip's speech begins and ends (dBFS, as run-align.sh), and their room tone.
threshold=-40
floor=-47
export SOX_OPTS="-D -V1"  # no dither: digital silence stays exactly zero
RANDOM=28                 # the same recordings every run

work=$(mktemp -d)
rows=$work/rows
child=
cleanup() { rm -rf "$work"; }
stop() {
  trap - TERM INT
  [ -n "$child" ] && kill "$child" 2>/dev/null
  cleanup
  exit 143
}
trap cleanup EXIT
trap stop TERM INT
mkdir "$rows"
# Runs a command as a child that SIGTERM reaches: bash runs a trap only between commands.
run() { "$@" & child=$!; local status=0; wait "$child" || status=$?; child=; return "$status"; }

build=$(dirname "$bin")
if [ -z "${1:-}" ] && [ ! -d "$build" ]; then
  run cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if [ -f "$build/CMakeCache.txt" ]; then
  if grep -q '^benchmark_DIR:PATH=.*NOTFOUND' "$build/CMakeCache.txt"; then
    echo "Google Benchmark was not found when $build/ was configured, so bench/ is not built;" >&2
    echo "install libbenchmark-dev and re-run cmake -S $root -B $build." >&2
    exit 1
  fi
  run cmake --build "$build" --target bench_sync >/dev/null
fi
[ -x "$bin/bench_sync" ] || { echo "$bin/bench_sync is missing" >&2; exit 1; }

samples() { soxi -s "$1"; }
rms() { sox "$1" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'; }
# Copies $1 to $2 with its RMS level set to $3 dBFS.
level() { sox "$1" "$2" gain "$(awk -v want="$3" -v is="$(rms "$1")" 'BEGIN { print want - is }')"; }
# A FILE of LENGTH samples, from SOURCE repeated as often as needed, at DB dBFS RMS.
bed() {
  sox "$1" "$work/bed-long.wav" repeat $(( $2 / $(samples "$1") + 1 ))
  sox "$work/bed-long.wav" "$work/bed-cut.wav" trim 0 "$2s"
  level "$work/bed-cut.wav" "$4" "$3"
}

# The sentences: the LibriVox clips trimmed at their speech, and espeak-ng readings of the demo's
# sentences and the clips' transcriptions, each in several voices and speeds.
clips=() clip_length=()
while read -r line; do
  id=$(sed -E 's/.*\((.*)\)$/\1/' <<<"$line")
  sox "$data/$id.wav" "$work/$id.wav" \
    silence 1 0.03 "${threshold}d" reverse silence 1 0.03 "${threshold}d" reverse
  clips+=("$work/$id.wav"); clip_length+=("$(samples "$work/$id.wav")")
  sentences+=("$(sed -E 's/<s> (.*) <\/s>.*/\1/' <<<"$line")")
done <"$data/transcription"
while IFS=$'\t' read -r english _; do
  [[ $english == \#* || -z $english ]] || sentences+=("$english")
done <"$root/demo/sentences.tsv"
voices=(en-us en-gb en-gb-x-rp en-gb-scotland)
readings=() reading_length=()
for ((k = 0; k < ${#sentences[@]} * ${#voices[@]}; ++k)); do
  raw=$work/raw.wav out=$work/reading$k.wav
  run espeak-ng -v "${voices[k % ${#voices[@]}]}" -s $((130 + RANDOM % 50)) -w "$raw" "${sentences[k % ${#sentences[@]}]}"
  sox "$raw" -r 16000 -c 1 -b 16 "$out" silence 1 0.01 -50d reverse silence 1 0.01 -50d reverse
  readings+=("$out"); reading_length+=("$(samples "$out")")
done

# Pauses of 0.3 to 2.4 s, of digital silence and of the clips' room tone (pink noise).
sox -R -r 16000 -c 1 -n -b 16 "$work/pink.wav" synth 5 pinknoise
level "$work/pink.wav" "$work/tone.wav" "$floor"
for ((g = 3; g <= 24; ++g)); do
  sox -r 16000 -c 1 -n -b 16 "$work/silence$g.wav" trim 0 "$((g * 1600))s"
  sox "$work/tone.wav" "$work/tone$g.wav" trim 0 "$((g * 1600))s"
done

# compose NAME COUNT KIND GAP [OPENING]: COUNT sentences picked at random from KIND (clips or
# readings), each after a pause of GAP (silence or tone), and a pause after the last; writes
# NAME.wav and NAME.ref (true start and end of each sentence, ms). Joined in chunks, so that
# sox never holds too many files open.
compose() {
  local name=$1 count=$2 kind=$3 gap=$4 at=0 n pick g chunk=() chunks=() file length
  : >"$rows/$name.ref"
  for ((n = 0; n < count; ++n)); do
    g=$((3 + RANDOM % 22))
    chunk+=("$work/$gap$g.wav"); at=$((at + g * 1600))
    if [ "$kind" = clips ]; then
      pick=$((RANDOM % ${#clips[@]})); file=${clips[pick]}; length=${clip_length[pick]}
    else
      pick=$((RANDOM % ${#readings[@]})); file=${readings[pick]}; length=${reading_length[pick]}
    fi
    awk -v s="$at" -v e="$((at + length))" 'BEGIN { printf "%.4f %.4f\n", s / 16, e / 16 }' >>"$rows/$name.ref"
    chunk+=("$file"); at=$((at + length))
    if [ ${#chunk[@]} -ge 200 ]; then
      sox "${chunk[@]}" "$rows/$name-${#chunks[@]}.wav"; chunks+=("$rows/$name-${#chunks[@]}.wav"); chunk=()
    fi
  done
  chunk+=("$work/${gap}10.wav")
  sox "${chunk[@]}" "$rows/$name-${#chunks[@]}.wav"; chunks+=("$rows/$name-${#chunks[@]}.wav")
  run sox "${chunks[@]}" "$rows/$name.wav"
  rm -f "${chunks[@]}"
}

# A bar of eight struck chords (C C Am Am F F G G), three tones and a bass each, and hiss.
chord() {
  sox -r 16000 -c 4 -n -b 16 -c 1 "$work/chord$1.wav" \
    synth 1 sine "$2" sine "$3" triangle "$4" triangle "$5" remix - fade q 0.02 1 0.6
}
chord 1 261.63 329.63 392.00 65.41
chord 2 220.00 261.63 329.63 55.00
chord 3 174.61 220.00 261.63 43.65
chord 4 196.00 246.94 293.66 49.00
c=$work/chord
sox "$c"1.wav "$c"1.wav "$c"2.wav "$c"2.wav "$c"3.wav "$c"3.wav "$c"4.wav "$c"4.wav "$work/music.wav"
sox -R -r 16000 -c 1 -n -b 16 "$work/hiss.wav" synth 30 pinknoise

# film NAME: NAME.wav under a bed of music 15 dB and pink noise 25 dB below the speech, with
# 20 s of music alone at 6 dB below the speech at the start (the sentences begin after it).
film() {
  local length speech_db; length=$(samples "$rows/$1.wav"); speech_db=$(rms "$rows/$1.wav")
  bed "$work/music.wav" "$length" "$(awk -v s="$speech_db" 'BEGIN { print s - 15 }')" "$work/film-music.wav"
  bed "$work/hiss.wav" "$length" "$(awk -v s="$speech_db" 'BEGIN { print s - 25 }')" "$work/film-hiss.wav"
  bed "$work/music.wav" 320000 "$(awk -v s="$speech_db" 'BEGIN { print s - 6 }')" "$work/film-intro.wav"
  sox "$work/film-intro.wav" "$work/film-intro-long.wav" pad 0 "$((length - 320000))s"
  run sox -m "$rows/$1.wav" "$work/film-music.wav" "$work/film-hiss.wav" "$work/film-intro-long.wav" "$rows/$1-mixed.wav"
  mv "$rows/$1-mixed.wav" "$rows/$1.wav"
}

compose espeak 70 readings silence
compose librivox 60 clips tone
compose film 60 clips silence
# The film's sentences begin after its music: 20 s of it, then the first pause.
sox -r 16000 -c 1 -n -b 16 "$work/lead.wav" trim 0 320000s
sox "$work/lead.wav" "$rows/film.wav" "$rows/film-lead.wav"; mv "$rows/film-lead.wav" "$rows/film.wav"
awk '{ printf "%.4f %.4f\n", $1 + 20000, $2 + 20000 }' "$rows/film.ref" >"$rows/film-lead.ref"
mv "$rows/film-lead.ref" "$rows/film.ref"
film film

seconds() { awk -v n="$(samples "$1")" 'BEGIN { printf "%.0f", n / 16000 }'; }
cases=()
for offset in -60000 -2500 0 800 60000; do
  for rate in 1 25/23.976; do cases+=("$offset/$rate"); done
done
cat <<EOF
Subtitle sync against exact truth (cue start = where its sentence's speech starts):
  espeak    $(seconds "$rows/espeak.wav") s: 70 espeak-ng readings (${#sentences[@]} sentences, ${#voices[@]} voices, 130-180 words/min)
            with pauses of digital silence of 0.3 to 2.4 s
  librivox  $(seconds "$rows/librivox.wav") s: 60 of the ${#clips[@]} LibriVox clips of pocketsphinx-testdata, trimmed at
            ${threshold} dBFS, with pauses of room tone (pink noise at ${floor} dBFS) of 0.3 to 2.4 s
  film      $(seconds "$rows/film.wav") s: 60 clips so joined, under struck chords 15 dB and pink noise 25 dB
            below the speech, after 20 s of the chords alone 6 dB below the speech
Cases: the subtitles' offset (negative: late) and the rate they ran at (25/23.976: made for a 25 fps
release of a 23.976 fps film); cues that would be written before 0 are cut. Errors in ms over
every synced cue start; s/hour: wall time of decoding and syncing per hour of recording.
Goal: median <= 60 ms and p95 <= 200 ms; a 2-hour recording in under 60 s.

EOF
printf '%-9s' material; "$bin/bench_sync" --header
for row in espeak librivox film; do
  status=0
  run "$bin/bench_sync" "$rows/$row.wav" "$rows/$row.ref" "${cases[@]}" >"$work/out" 2>"$work/err" || status=$?
  sed "s/^/$(printf '%-9s' "$row")/" "$work/out"
  [ "$status" -eq 0 ] || printf '%-9sfailed (exit %d): %s\n' "$row" "$status" "$(tail -n 1 "$work/err")"
done

[ "$hours" -gt 0 ] || exit 0
# The long recording: the film-like mix again, about 620 sentences an hour, encoded as MP3.
compose long $((hours * 620)) clips silence
film long
run ffmpeg -v error -i "$rows/long.wav" -ar 44100 -ac 2 -c:a libmp3lame -b:a 128k "$rows/long.mp3"
rm -f "$rows/long.wav"
echo
status=0
run "$bin/bench_sync" "$rows/long.mp3" "$rows/long.ref" -2500/25/23.976 >"$work/out" 2>"$work/err" || status=$?
sed "s/^/$(printf '%-9s' "${hours} h mp3")/" "$work/out"
[ "$status" -eq 0 ] || printf '%-9sfailed (exit %d): %s\n' "long" "$status" "$(tail -n 1 "$work/err")"
