#!/usr/bin/env bash
# Forced-alignment accuracy and speed on real read speech: the LibriVox clips that Debian's
# pocketsphinx-testdata ships are trimmed to their speech, joined several times over in
# different orders with pauses of known length (a noise floor like the
# recordings' own), and aligned with their transcripts. The
# reference start and end of each sentence are where its clip was placed. Where speech begins
# and ends is itself unsure by a breath or a fading "f", so each is a band: from the clip
# trimmed at -44 dB (just above the recordings' noise floor) to the same trimmed at -40 dB;
# an aligned time inside the band is off by nothing, one outside by its distance to the band.
# Usage: run-align.sh BIN_DIR [ROUNDS]  (ROUNDS of the five clips, 4 unless given: about 27 s
# each, so 70 rounds make a half-hour recording)
set -euo pipefail
bin=${1:-build/bin}
rounds=${2:-4}
data=/usr/share/pocketsphinx/test/data/librivox
[ -d "$data" ] || { echo "pocketsphinx-testdata is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A text
while read -r line; do
  id=$(sed -E 's/.*\((.*)\)$/\1/' <<<"$line")
  words=$(sed -E 's/<s> (.*) <\/s>.*/\1/' <<<"$line")
  text[$id]="${words^}."
done <"$data/transcription"

declare -A lead tail
ids=(); for f in "$data"/*.wav; do ids+=("$(basename "$f" .wav)"); done
for id in "${ids[@]}"; do
  sox "$data/$id.wav" "$work/$id.wav" silence 1 0.03 -44d reverse silence 1 0.03 -44d reverse
  sox "$work/$id.wav" "$work/$id-lead.wav" silence 1 0.03 -40d
  sox "$work/$id.wav" "$work/$id-tail.wav" reverse silence 1 0.03 -40d reverse
  length=$(soxi -D "$work/$id.wav")
  lead[$id]=$(awk -v l="$length" -v x="$(soxi -D "$work/$id-lead.wav")" 'BEGIN { print l - x }')
  tail[$id]=$(awk -v l="$length" -v x="$(soxi -D "$work/$id-tail.wav")" 'BEGIN { print l - x }')
done

# Rounds of the clips, each in another order, with pauses of 0.4 to 1.6 s.
parts=(); at=0; n=0
: >"$work/text.txt"; : >"$work/reference.txt"
for round in $(seq 0 $((rounds - 1))); do
  for k in 0 1 2 3 4; do
    id=${ids[$(( (k * (round + 1) + round) % 5 ))]}
    gap=$(printf '0.%d' $(( 4 + (n * 3) % 6 )))
    [ $(( n % 4 )) -eq 3 ] && gap=1.6
    sox -R -n -r 16000 -c 1 -b 16 "$work/gap$n.wav" synth "$gap" whitenoise vol 0.004
    length=$(soxi -D "$work/$id.wav")
    start=$(awk -v a="$at" -v g="$gap" 'BEGIN { printf "%.3f", a + g }')
    at=$(awk -v s="$start" -v l="$length" 'BEGIN { printf "%.3f", s + l }')
    parts+=("$work/gap$n.wav" "$work/$id.wav")
    echo "${text[$id]}" >>"$work/text.txt"
    awk -v s="$start" -v e="$at" -v a="${lead[$id]}" -v b="${tail[$id]}" \
      'BEGIN { printf "%d %d %d %d\n", s * 1000, (s + a) * 1000, (e - b) * 1000, e * 1000 }' >>"$work/reference.txt"
    n=$((n + 1))
  done
done
sox -R -n -r 16000 -c 1 -b 16 "$work/tail.wav" synth 1 whitenoise vol 0.004
sox "${parts[@]}" "$work/tail.wav" "$work/reading.wav"
taskset -c 0 "$bin/bench_align" "$work/reading.wav" "$work/text.txt" "$work/reference.txt"
