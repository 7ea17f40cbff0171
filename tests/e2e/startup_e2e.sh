#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run): the refusal from the
# desktop folder in a real message box, the bare main window, and a second start that hands
# its argument to the first and ends.
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$HOME/Desktop"
main_windows() { xdotool search --onlyvisible --name '^Player Olve / Rindale$' 2>/dev/null | wc -l; }
one_main_window() { [ "$(main_windows)" -eq 1 ]; }
shot() { [ -z "$shots" ] || import -window root "$shots/$1.png"; }

# 1. Started from the desktop folder (in another letter case): a message box, no window.
mkdir -p "$HOME/DESKTOP"
cp "$bin_dir/olveplayer" "$HOME/DESKTOP/olveplayer"
"$HOME/DESKTOP/olveplayer" 2>"$work/refusal.err" &
refused=$!
pids+=("$refused")
wait_for 20 grep -q 'デスクトップ' "$work/refusal.err" || fail "no refusal on standard error"
grep -q 'インストールフォルダを変更してください' "$work/refusal.err" || fail "refusal text incomplete"
box=$(wait_for 20 xdotool search --onlyvisible --name '^olveplayer$' && xdotool search --onlyvisible --name '^olveplayer$' | head -1) \
  || fail "no message box shown"
shot refusal
[ "$(main_windows)" -eq 0 ] || fail "a main window was shown from the desktop folder"
xdotool windowfocus --sync "$box" key Return
wait "$refused" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "refusal ended with status $status"
[ ! -e "$HOME/DESKTOP/olveplayer.dat" ] || fail "settings file written on the desktop"

# 2. Started from its own folder: settings file, "titles", and the bare main window.
mkdir -p "$work/prog"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$work/prog/olveplayer" 2>"$work/main.err" &
pids+=("$!")
wait_for 20 one_main_window || fail "main window not shown: $(cat "$work/main.err")"
[ -s "$work/prog/olveplayer.dat" ] || fail "no settings file"
[ "$(head -c 4 "$work/prog/olveplayer.dat")" = "BDC1" ] || fail "settings file is not BDC"
[ -d "$work/prog/titles" ] || fail "no titles folder"
geometry=$(xdotool getwindowgeometry "$(xdotool search --onlyvisible --name '^Player Olve / Rindale$')")
grep -q 'Geometry: 512x512' <<<"$geometry" || fail "unexpected window size: $geometry"
shot main-window

# 3. A second start hands its argument over and ends without a window of its own.
mkdir -p "$work/prog2"
cp "$bin_dir/olveplayer" "$work/prog2/olveplayer"
timeout 20 "$work/prog2/olveplayer" "$work/lesson.qzw" || fail "second start did not end cleanly"
[ "$(main_windows)" -eq 1 ] || fail "second start left another window"
[ ! -e "$work/prog2/olveplayer.dat" ] || fail "second start ran its own start-up"
echo "startup e2e: 3 passed, 0 failed"
