#!/usr/bin/env bash
# Builds the demo title package from the sources in this folder:
#   demo/build-demo.sh OUT_DIR [OLVETOOL]
# speaks each sentence of sentences.tsv with espeak-ng, joins the sentences into one
# recording with sox (short silences between them), writes English and Japanese WebVTT
# subtitles with the real times of the sentences (and word times, measured by speaking
# the rest of each sentence on its own), draws the pictures, and makes OUT_DIR/demo.qzw
# with `olvetool title from-subtitles`. The inputs stay in OUT_DIR/source.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: build-demo.sh OUT_DIR [OLVETOOL]}
olvetool=${2:-$here/../build/bin/olvetool}

for tool in espeak-ng sox convert "$olvetool"; do
  command -v "$tool" >/dev/null || { echo "build-demo.sh: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done

rate=22050
voice=en-us
speed=135
mkdir -p "$out"
out=$(cd "$out" && pwd)
src=$out/source
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$src"
mkdir -p "$src"

# speak TEXT FILE: the sentence as mono 16-bit audio with the silence at both ends cut off.
speak() {
  espeak-ng -v "$voice" -s "$speed" -w "$work/raw.wav" "$1"
  sox "$work/raw.wav" -r "$rate" -c 1 -b 16 "$2" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
}
samples() { sox --i -s "$1"; }
silence() { sox -n -r "$rate" -c 1 -b 16 "$2" trim 0 "$1"; }
# vtt_time SAMPLES: "hh:mm:ss.mmm".
vtt_time() {
  local ms=$(($1 * 1000 / rate))
  printf '%02d:%02d:%02d.%03d' $((ms / 3600000)) $((ms / 60000 % 60)) $((ms / 1000 % 60)) $((ms % 1000))
}

# word_times TEXT START LENGTH: the sentence with a WebVTT time before each word after the
# first. The rest of a sentence from a word on, spoken alone, lasts about as long as it does
# at the end of the whole sentence (the pause before it falls away), so the word starts that
# long before the sentence ends.
word_times() {
  local -a words
  read -r -a words <<<"$1"
  local line=${words[0]} last=$2 end=$(($2 + $3)) k at
  for ((k = 1; k < ${#words[@]}; k++)); do
    speak "${words[*]:k}" "$work/rest.wav"
    at=$((end - $(samples "$work/rest.wav")))
    if ((at > last && at < end)); then
      line+=" <$(vtt_time "$at")>${words[k]}"
      last=$at
    else
      line+=" ${words[k]}"
    fi
  done
  printf '%s\n' "$line"
}

silence 0.8 "$work/lead.wav"
silence 1.0 "$work/gap.wav"
parts=("$work/lead.wav")
position=$(samples "$work/lead.wav")
gap=$(samples "$work/gap.wav")
printf 'WEBVTT\n' >"$src/demo-en.vtt"
printf 'WEBVTT\n' >"$src/demo-ja.vtt"
n=0
while IFS=$'\t' read -r english japanese; do
  [[ -z "$english" || "$english" == \#* ]] && continue
  n=$((n + 1))
  speak "$english" "$work/$n.wav"
  length=$(samples "$work/$n.wav")
  times="$(vtt_time "$position") --> $(vtt_time $((position + length)))"
  printf '\n%d\n%s\n%s\n' "$n" "$times" "$(word_times "$english" "$position" "$length")" >>"$src/demo-en.vtt"
  printf '\n%d\n%s\n%s\n' "$n" "$times" "$japanese" >>"$src/demo-ja.vtt"
  parts+=("$work/$n.wav" "$work/gap.wav")
  position=$((position + length + gap))
done <"$here/sentences.tsv"

sox "${parts[@]}" -C 4 "$src/demo.ogg"
"$here/draw-pictures.sh" "$src/pictures"
"$olvetool" title from-subtitles "$src/demo.ogg" "$src/demo-en.vtt" --translation "$src/demo-ja.vtt" \
  --pictures "$src/pictures" --title "はじめてのデモ: A Day in English" --code OlveDemo01 -o "$out/demo.qzw"
