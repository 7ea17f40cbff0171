#!/usr/bin/env bash
# A learner's own video, in the whole program under a virtual X display:
#   own_material_e2e.sh BIN_DIR [SHOTS_DIR]
# A video whose English subtitles are a track inside it, with Japanese subtitles beside it,
# handed to the empty window by a second start (as a file manager's "Open with" does)
# becomes a title in the library folder that plays with both texts; after a restart the
# start page lists it among the recent titles. With SHOTS_DIR, screenshots of the window are
# left there.
set -euo pipefail
bin_dir=$1
shots=${2:-}
for program in xdotool import convert tesseract gst-launch-1.0; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/films"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

printf '1\n00:00:00,500 --> 00:00:03,500\nWelcome to the lesson.\n\n2\n00:00:04,000 --> 00:00:07,000\nWe read it together.\n' \
  >"$work/films/talk.srt"
printf '1\n00:00:00,500 --> 00:00:03,500\nレッスンへようこそ。\n\n2\n00:00:04,000 --> 00:00:07,000\n一緒に読みます。\n' \
  >"$work/films/lesson.ja.srt"
gst-launch-1.0 -q matroskamux name=m ! filesink location="$work/films/lesson.mkv" \
  videotestsrc num-buffers=200 ! video/x-raw,width=320,height=240,framerate=25/1 ! x264enc ! m. \
  audiotestsrc num-buffers=350 wave=sine ! audio/x-raw,rate=44100 ! vorbisenc ! m. \
  filesrc location="$work/films/talk.srt" ! subparse ! taginject tags="language-code=en" ! m. >/dev/null ||
  fail "the test video could not be made"
rm "$work/films/talk.srt"

log=$work/player.err
passed=0
# shot NAME: the window as the last reading saw it, into SHOTS_DIR.
shot() {
  [ -n "$shots" ] || return 0
  eval "$(xdotool getwindowgeometry --shell "$window")"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$1.png"
}

start_player
"$work/prog/olveplayer" "$work/films/lesson.mkv" 2>>"$log" || fail "the second start failed"
playing() { grep -q 'play card 1' "$log"; }
wait_for 60 playing || fail "the video did not become a title that plays: $(grep -v '^ALSA\|^AL lib' "$log" | tail -5)"
package=$(ls "$HOME"/.local/share/olveplayer/library/lesson-*.qzw 2>/dev/null | head -1)
[ -f "$package" ] || fail "no title in the library folder: $(ls "$HOME/.local/share/olveplayer/library")"
[ "$(stat -c %s "$package")" -lt "$(stat -c %s "$work/films/lesson.mkv")" ] || fail "the library copied the recording"
screen=""
english() { screen=$(read_screen); grep -q 'Welcome to the lesson' <<<"$screen"; }
wait_for 15 english || fail "the English of the embedded track is not shown; read: $screen"
shot own-video
"$bin_dir/olvetool" extract "$package" "$work/check" >/dev/null
dump=$("$bin_dir/olvetool" title dump "$work/check/$(basename "$package" .qzw).qzc")
grep -q '"sub": "レッスンへようこそ。"' <<<"$dump" || fail "the Japanese beside the video is not the translation: $dump"
[ -f "$work/films/lesson.ja.srt" ] && [ "$(ls "$work/films")" = "$(printf 'lesson.ja.srt\nlesson.mkv')" ] ||
  fail "the learner's folder changed: $(ls "$work/films")"
passed=$((passed + 1))

kill -TERM "${pids[0]}"
wait "${pids[0]}" || true
start_player
listed() { screen=$(read_screen); grep -qi 'lesson.*olveplayer/library' <<<"$screen"; }
wait_for 15 listed || fail "the start page does not list the title after a restart; read: $screen"
shot start-page
passed=$((passed + 1))
kill -TERM "${pids[1]}"
wait "${pids[1]}" || true
echo "own material e2e: $passed passed, 0 failed"
