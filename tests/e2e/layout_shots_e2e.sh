#!/usr/bin/env bash
# The whole program under a virtual X display of 1280x800 (run through xvfb-run): a title in
# each of the six layouts, its window at the layout's own size and then filling the screen as
# a maximised one would (there is no window manager to maximise it), with a Japanese text of two to four lines. The Japanese pane
# must grow for it, and the tool bar show the card counter and the time; in the text-only
# layout the divider is dragged up, and a second start must show it where it was left.
# Usage: layout_shots_e2e.sh BIN_DIR [SCREENSHOT_FOLDER]
set -euo pipefail
bin_dir=$1
shots=${2:-}
for program in xdotool xprop import convert tesseract; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is missing (scripts/deps.sh installs it)"; exit 77; }
done
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
# The X server resets when its last client leaves, and a player started during the reset
# cannot connect: one client stays connected between the players.
xprop -root -spy >/dev/null 2>&1 &
pids+=("$!")
passed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }

english="Every morning I walk along the river to the station, and I listen to English on the way."
japanese="毎朝わたしは川にそって駅まで歩き、そのあいだ英語を聞いています。晴れた日には、川の向こうの山がよく見えて、とても気持ちのよい散歩になります。雨の日はバスに乗りますが、それでも英語を聞くことはやめません。駅に着くころには、その日に覚えた言い回しを三つか四つ、小さな声でくり返せるようになっています。"
window=""

# start NAME: starts the player with the package of that name and waits for its window.
start() {
  "$work/prog/olveplayer" NoTie "$work/packages/$1.qzw" 2>"$work/player.err" &
  pids+=("$!")
  local caption="^$1 - Player Olve / Rindale\$"
  titled() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
  wait_for 30 titled || fail "no window for $1: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | head -5)"
  window=$(xdotool search --onlyvisible --name "$caption" | head -1)
}
stop() {
  kill -TERM "${pids[-1]}"
  wait "${pids[-1]}" || fail "the player did not end cleanly"
  unset 'pids[-1]'
}
size() {
  xdotool windowmove "$window" 0 0 windowsize "$window" "$1" "$2"
  sleep 1.5
}
shot() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"
  [ -z "$shots" ] || cp "$work/$1.png" "$shots/$1.png"
}
# The tool bar reads "N / 2" for the counter and "m:ss / m:ss" for the time.
check_place() {
  convert "$work/$1.png" -crop "x33+0+0" +repage -resize 300% -colorspace Gray "$work/bar.png"
  local read
  read=$(tesseract "$work/bar.png" - --psm 7 2>/dev/null | tr '\n' ' ')
  grep -Eq '[0-9-] ?/ ?2' <<<"$read" || fail "$1: no card counter in the tool bar: $read"
  grep -Eq '0:0[0-9] ?/ ?0:[0-9][0-9]' <<<"$read" || fail "$1: no time in the tool bar: $read"
}
# The divider's top in the window: the lowest run of six or more rows of one colour other
# than the text views' blue, read down a column of pixels near the window's right edge.
divider_y() {
  local width
  width=$(identify -format '%w' "$work/$1.png")
  convert "$work/$1.png" -crop "1x+$((width - 30))+0" +repage txt:- | awk 'NR > 1 { print $1, $3 }' | uniq -f1 -c |
    awk '$1 >= 6 && $3 != "#CEE3F7" { split($2, at, /[,:]/); if (at[2] > 40) top = at[2] } END { print top + 0 }'
}
# The Japanese pane under the divider has grown past its default 64 pixels for a text of
# three lines or more, and shows the text whole (checked on the screenshots by eye).
grown() {
  local height top
  height=$(identify -format '%h' "$work/$1.png")
  top=$(divider_y "$1")
  [ "$top" -gt 40 ] || fail "$1: no divider found"
  [ $((height - top - 6)) -gt 70 ] || fail "$1: the Japanese pane is only $((height - top - 6)) pixels high"
}

make() {
  local name=$1
  shift
  "$bin_dir/make_test_package" --serial "$name" --name "$name" "$@" \
    --card "$english|$japanese" --card "Second card.|二枚目。" "$work/packages" >/dev/null 2>"$work/make.err" \
    || fail "cannot make $name: $(cat "$work/make.err")"
}
make TextOnly
make PictureBeside --pictures
make VideoAbove --video
make PictureAbove --pictures --setting ImgAln=alBottom
make CardList --setting MonSty=msList
make CardListPicture --pictures --setting MonSty=msList

for name in TextOnly PictureBeside VideoAbove PictureAbove CardList CardListPicture; do
  start "$name"
  xdotool windowfocus --sync "$window" key a
  sleep 1.5
  shot "$name-default"
  size 1280 800
  shot "$name-maximised"
  case $name in
    CardList*) ;;
    *) grown "$name-maximised" ;;
  esac
  check_place "$name-maximised"
  stop
  pass "$name: the Japanese pane grown, the counter and the time shown"
done

start TextOnly
size 1280 800
shot divider-before
before=$(divider_y divider-before)
[ "$before" -gt 400 ] || fail "no divider found in the text pane (at $before)"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 640)) $((Y + before + 3)) mousedown 1 mousemove $((X + 640)) $((Y + before - 150)) \
  mousemove $((X + 640)) $((Y + before - 200)) mouseup 1
sleep 1
shot divider-moved
moved=$(divider_y divider-moved)
[ "$moved" -lt $((before - 150)) ] || fail "dragging did not move the divider ($before to $moved)"
stop
start TextOnly
size 1280 800
shot divider-kept
kept=$(divider_y divider-kept)
[ "$kept" -eq "$moved" ] || fail "the divider came back at $kept, not $moved"
stop
pass "the divider moved from $before to $moved and stayed there across a restart"
echo "layout shots e2e: $passed passed, 0 failed"
