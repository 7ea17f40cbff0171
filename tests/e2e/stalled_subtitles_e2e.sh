#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run), started with a video
# that is a pipe giving a Matroska head and then nothing: reading the subtitles in it waits
# for ever, and SIGTERM still ends the player within a second.
# Usage: stalled_subtitles_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
. "$(dirname "$0")/e2e_common.sh"
# A player that hangs does not end on SIGTERM.
trap 'for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done; cleanup' EXIT
mkdir -p "$work/prog" "$work/films"

mkfifo "$work/films/film.mkv"
exec 3<>"$work/films/film.mkv"
printf '\x1a\x45\xdf\xa3' >&3

cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$work/prog/olveplayer" "$work/films/film.mkv" 2>"$work/player.err" &
pids+=("$!")
reading() { ls -l "/proc/${pids[0]}/fd" 2>/dev/null | grep -q 'films/film.mkv'; }
wait_for 30 reading || fail "the video is not read: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | tail -5)"
sleep 1
kill -0 "${pids[0]}" || fail "the player ended by itself"
echo "ok: the player waits in the subtitles of a pipe that gives nothing"

kill -TERM "${pids[0]}"
start=$(date +%s%N)
ended() { ! kill -0 "${pids[0]}" 2>/dev/null; }
wait_for 10 ended || fail "SIGTERM did not end the player"
took=$((($(date +%s%N) - start) / 1000000))
[ "$took" -le 1500 ] || fail "SIGTERM took $took ms to end the player"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
echo "ok: SIGTERM ended the player in $took ms"
exec 3>&-
echo "stalled subtitles e2e: 2 passed, 0 failed"
