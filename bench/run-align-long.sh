#!/usr/bin/env bash
# Peak memory and speed of `olvetool title from-transcript` on a long audiobook, made as a user
# would have it: the LibriVox clips that Debian's pocketsphinx-testdata ships, as they are (with
# their breaths and room tone), joined in order again and again into one MP3 (mono, 22.05 kHz,
# 64 kb/s) of HOURS hours, with a transcript of their sentences in order, one a line.
# Prints: hours of sound, peak resident memory (MB), x real time (CPU time of the whole run,
# decoding included), sentences unplaced. Ten hours take a quarter of an hour of CPU or more.
# Usage: run-align-long.sh [HOURS [BIN_DIR]]  (HOURS: 1 to 99, 10 unless given; BIN_DIR:
# build/bin of this tree unless given, built first when it is a build folder's bin/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
hours=${1:-10}
[[ $hours =~ ^[1-9][0-9]?$ ]] || { echo "HOURS must be a number from 1 to 99" >&2; exit 2; }
bin=${2:-$root/build/bin}
case $bin in /*) ;; *) bin=$PWD/$bin ;; esac
data=/usr/share/pocketsphinx/test/data/librivox
[ -d "$data" ] || { echo "pocketsphinx-testdata is not installed" >&2; exit 1; }
for tool in sox ffmpeg ffprobe; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is not installed" >&2; exit 1; }

work=$(mktemp -d)
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
# Runs a command as a child that SIGTERM reaches: bash runs a trap only between commands.
run() { "$@" & child=$!; local status=0; wait "$child" || status=$?; child=; return "$status"; }

build=$(dirname "$bin")
if [ -f "$build/CMakeCache.txt" ]; then
  run cmake --build "$build" --target olvetool >/dev/null
fi
[ -x "$bin/olvetool" ] || { echo "$bin/olvetool is missing" >&2; exit 1; }

# One round: the five clips in order, as the reader left them.
declare -a clips texts
while read -r line; do
  id=$(sed -E 's/.*\((.*)\)$/\1/' <<<"$line")
  words=$(sed -E 's/<s> (.*) <\/s>.*/\1/' <<<"$line")
  clips+=("$data/$id.wav")
  texts+=("${words^}.")
done <"$data/transcription"
run sox "${clips[@]}" "$work/round.wav"
round_samples=$(soxi -s "$work/round.wav")
rounds=$(( (hours * 3600 * 16000 + round_samples - 1) / round_samples ))

for ((k = 0; k < rounds; ++k)); do printf '%s\n' "${texts[@]}"; done >"$work/book.txt"
run ffmpeg -nostdin -v error -stream_loop $((rounds - 1)) -i "$work/round.wav" \
  -ac 1 -ar 22050 -c:a libmp3lame -b:a 64k "$work/book.mp3"
seconds=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/book.mp3")

status=0
run /usr/bin/time -v -o "$work/time" "$bin/olvetool" title from-transcript "$work/book.mp3" "$work/book.txt" \
  -o "$work/book.qzw" >"$work/out" 2>"$work/err" || status=$?
if [ "$status" -ne 0 ]; then
  echo "olvetool failed (exit $status): $(grep -v 'aligning:' "$work/err" | tail -n 1)" >&2
  exit 1
fi
peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")
cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { print u + s }' "$work/time")
wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time")
# The first notes name a sentence each; one more note counts the rest.
named=$(grep -c 'was not heard in the recording; timed' "$work/err" || true)
rest=$(sed -nE 's/.*note: ([0-9]+) more sentences were not heard.*/\1/p' "$work/err")
sentences=$(wc -l <"$work/book.txt")
printf '%-10s %-10s %-14s %-10s %s\n' hours "peak MB" "x real time" "wall" unplaced
printf '%-10.2f %-10.0f %-14.1f %-10s %d of %d\n' "$(awk -v s="$seconds" 'BEGIN { print s / 3600 }')" \
  "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')" \
  "$(awk -v s="$seconds" -v c="$cpu" 'BEGIN { print s / (c > 0 ? c : 1e-6) }')" \
  "$wall" $((named + ${rest:-0})) "$sentences"
