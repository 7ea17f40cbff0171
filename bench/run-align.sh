#!/usr/bin/env bash
# Sentence boundaries and speed of the transcript aligner against exact truth, on real read
# speech: the LibriVox clips that Debian's pocketsphinx-testdata ships, each trimmed at the
# onset and the offset of its speech, are joined in several rounds and orders into one
# recording per row (16 kHz mono, about two minutes), and the recording is aligned with the
# clips' transcriptions. A sentence truly starts where its trimmed clip was placed and ends
# where that clip ends; the error is |found - true| for every start and every end, with no
# tolerance band. Builds bench_align first when BIN_DIR is a build folder's bin/.
# Usage: run-align.sh [BIN_DIR [ROUNDS]]  (BIN_DIR: build/bin of this tree unless given;
# ROUNDS of the five clips per row, 5 unless given: about 22 s of speech each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/bin}
case $bin in /*) ;; *) bin=$PWD/$bin ;; esac
rounds=${2:-5}
[[ $rounds =~ ^[1-9][0-9]{0,2}$ ]] || { echo "ROUNDS must be a number from 1 to 999" >&2; exit 2; }
data=/usr/share/pocketsphinx/test/data/librivox
[ -d "$data" ] || { echo "pocketsphinx-testdata is not installed" >&2; exit 1; }
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

# Where the speech of a clip begins and ends: the first and last 30 ms whose level is above
# this (dBFS, RMS over 20 ms), about 7 dB above the clips' noise floor.
threshold=-40
# The clips' own noise floor between sentences (dBFS RMS), for room tone.
floor=-47
export SOX_OPTS="-D -V1"  # no dither: digital silence stays exactly zero

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
  run cmake --build "$build" --target bench_align >/dev/null
fi
[ -x "$bin/bench_align" ] || { echo "$bin/bench_align is missing" >&2; exit 1; }

samples() { soxi -s "$1"; }
rms() { sox "$1" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'; }
# Copies $1 to $2 with its RMS level set to $3 dBFS.
level() { sox "$1" "$2" gain "$(awk -v want="$3" -v is="$(rms "$1")" 'BEGIN { print want - is }')"; }

declare -A text
ids=()
while read -r line; do
  id=$(sed -E 's/.*\((.*)\)$/\1/' <<<"$line")
  words=$(sed -E 's/<s> (.*) <\/s>.*/\1/' <<<"$line")
  text[$id]="${words^}."
  ids+=("$id")
  sox "$data/$id.wav" "$work/$id.wav" \
    silence 1 0.03 "${threshold}d" reverse silence 1 0.03 "${threshold}d" reverse
done <"$data/transcription"
for id in "${ids[@]}"; do speech+=("$work/$id.wav"); done
sox "${speech[@]}" "$work/speech.wav"
speech_db=$(rms "$work/speech.wav")

# Two minutes of room tone to cut the gaps from, each gap from another place in it.
sox -R -r 16000 -c 1 -n -b 16 "$work/pink.wav" synth 120 pinknoise
level "$work/pink.wav" "$work/tone.wav" "$floor"
tone_at=0
tone_length=$(samples "$work/tone.wav")

# gap KIND SAMPLES FILE: a gap of digital silence or of room tone.
gap() {
  case $1 in
    silence) sox -r 16000 -c 1 -n -b 16 "$3" trim 0 "$2s" ;;
    tone)
      [ $((tone_at + $2)) -le "$tone_length" ] || tone_at=0
      sox "$work/tone.wav" "$3" trim "${tone_at}s" "$2s"
      tone_at=$((tone_at + $2)) ;;
  esac
}

# compose ROW GAP ROUNDS CLIP...: the clips in ROUNDS rounds, each in another order, with a gap
# of 0.3 to 1.6 s before each and after the last; writes ROW.wav, ROW.txt (the transcript)
# and ROW.ref (true start and end of each sentence, ms). The order of a round steps through
# the clips by a stride prime to their count, so it is a permutation.
compose() {
  local row=$1 kind=$2 count=$3; shift 3
  local clips=("$@") m=$# parts=() at=0 n=0 round k id length pause
  [ -n "$opening" ] && { parts+=("$opening"); at=$(samples "$opening"); }
  : >"$rows/$row.txt"; : >"$rows/$row.ref"
  for ((round = 0; round < count; ++round)); do
    for ((k = 0; k < m; ++k)); do
      id=${clips[$(( (k * (round % (m - 1) + 1) + round) % m ))]}
      if [ "$kind" != none ]; then
        pause=$(( (3 + (n * 7) % 14) * 1600 ))
        gap "$kind" "$pause" "$rows/$row-gap$n.wav"
        parts+=("$rows/$row-gap$n.wav"); at=$((at + pause))
      fi
      length=$(samples "$work/$id.wav")
      echo "${text[$id]}" >>"$rows/$row.txt"
      awk -v s="$at" -v e="$((at + length))" 'BEGIN { printf "%.4f %.4f\n", s / 16, e / 16 }' >>"$rows/$row.ref"
      parts+=("$work/$id.wav"); at=$((at + length)); n=$((n + 1))
    done
  done
  if [ "$kind" != none ]; then
    gap "$kind" 8000 "$rows/$row-end.wav"
    parts+=("$rows/$row-end.wav")
  fi
  [ -n "$closing" ] && parts+=("$closing")
  sox "${parts[@]}" "$rows/$row.wav"
}

# layer ROW FILE DB: mixes FILE, repeated and cut to the length of ROW.wav, under it at DB dBFS.
layer() {
  local length; length=$(samples "$rows/$1.wav")
  sox "$2" "$work/layer-long.wav" repeat $(( length / $(samples "$2") + 1 ))
  sox "$work/layer-long.wav" "$work/layer-cut.wav" trim 0 "${length}s"
  level "$work/layer-cut.wav" "$work/layer.wav" "$3"
  sox -m -v 1 "$rows/$1.wav" -v 1 "$work/layer.wav" "$rows/$1-mixed.wav"
  mv "$rows/$1-mixed.wav" "$rows/$1.wav"
}

# A bar of eight struck chords (C C Am Am F F G G), three tones and a bass each.
chord() {
  sox -r 16000 -c 4 -n -b 16 -c 1 "$work/chord$1.wav" \
    synth 1 sine "$2" sine "$3" triangle "$4" triangle "$5" remix - fade q 0.02 1 0.6
}
chord 1 261.63 329.63 392.00 65.41
chord 2 220.00 261.63 329.63 55.00
chord 3 174.61 220.00 261.63 43.65
chord 4 196.00 246.94 293.66 49.00
c=$work/chord
sox "$c"1.wav "$c"1.wav "$c"2.wav "$c"2.wav "$c"3.wav "$c"3.wav "$c"4.wav "$c"4.wav "$work/bed.wav"
sox -R -r 16000 -c 1 -n -b 16 "$work/hiss.wav" synth 30 whitenoise

music_db=$(awk -v s="$speech_db" 'BEGIN { printf "%.1f", s - 20 }')
noise_db=$(awk -v s="$speech_db" 'BEGIN { printf "%.1f", s - 17 }')
# Speech not in the transcript: the longest clip (0870) opens the recording and the next longest
# (0920) closes it, and only the other three are read in between.
opening=
closing=
compose silence silence "$rounds" "${ids[@]}"
compose roomtone tone "$rounds" "${ids[@]}"
compose nogap none "$rounds" "${ids[@]}"
compose music silence "$rounds" "${ids[@]}"
layer music "$work/bed.wav" "$music_db"
compose noise silence "$rounds" "${ids[@]}"
layer noise "$work/hiss.wav" "$noise_db"
opening=$work/${ids[0]}.wav closing=$work/${ids[3]}.wav
intro_rounds=$(( (rounds * 5 + 2) / 3 ))
compose intro tone "$intro_rounds" "${ids[1]}" "${ids[2]}" "${ids[4]}"

seconds() { awk -v n="$(samples "$1")" 'BEGIN { printf "%.1f", n / 16000 }'; }
cat <<EOF
Transcript alignment against exact truth: ${#ids[@]} LibriVox clips of pocketsphinx-testdata,
each trimmed at the onset and offset of its speech at ${threshold} dBFS (RMS over 20 ms, held 30 ms);
speech level ${speech_db} dBFS RMS. Each row joins the trimmed clips in $rounds rounds of other orders
(16 kHz mono); gaps are 0.3 to 1.6 s before each sentence and 0.5 s after the last.
  silence   gaps of exact digital silence
  roomtone  gaps of room tone: pink noise at ${floor} dBFS RMS, the clips' own floor
  nogap     no gap: each clip starts on the sample after the one before ends
  intro     $(seconds "$opening") s of one clip before the first sentence and $(seconds "$closing") s of another
            after the last, neither in the transcript; the other three clips in
            $intro_rounds rounds between them; gaps of room tone
  music     a bed of struck chords (sines and triangles, C Am F G, one a second) under
            everything at ${music_db} dBFS RMS (20 dB below the speech); silent gaps
  noise     white noise over everything at ${noise_db} dBFS RMS (SNR 17 dB); silent gaps
Errors in ms (|found - true|, every start and every end); unplaced: sentences the aligner
timed between their neighbours; x real time: CPU time of decoding and alignment on core 0.
Goal: start and end median <= 40 ms and p95 <= 150 ms, none unplaced, >= 30 x real time.

EOF
"$bin/bench_align" --header | sed 's/^/          /'
for row in silence roomtone nogap intro music noise; do
  status=0
  run taskset -c 0 "$bin/bench_align" "$rows/$row.wav" "$rows/$row.txt" "$rows/$row.ref" \
    >"$work/out" 2>"$work/err" || status=$?
  if [ "$status" -eq 0 ]; then
    printf '%-10s%s\n' "$row" "$(cat "$work/out")"
    if [ -n "${OLVE_ALIGN_EACH:-}" ]; then sed "s/^/  $row /" "$work/err" >&2; fi
  elif [ "$status" -gt 128 ]; then
    printf '%-10sfailed: killed by signal %d\n' "$row" $((status - 128))
  else
    printf '%-10sfailed (exit %d): %s\n' "$row" "$status" "$(tail -n 1 "$work/err")"
  fi
done
