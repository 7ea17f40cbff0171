#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run): the refusal from the
# desktop folder in a real message box, the bare main window, and a second start that hands
# its argument to the first and ends; a first instance that does not answer, and instance
# files that are not the user's own, end a start with a message and their exit status.
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$HOME/Desktop"
main_windows() { xdotool search --onlyvisible --name '^Player Olve / Rindale$' 2>/dev/null | wc -l; }
two_windows() { [ "$(main_windows)" -eq 2 ]; }
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
first=$!
pids+=("$first")
# A stopped process ignores the end of the test until it is let go on.
trap 'kill -CONT "$first" 2>/dev/null || true; cleanup' EXIT
wait_for 20 one_main_window || fail "main window not shown: $(cat "$work/main.err")"
[ -s "$work/prog/olveplayer.dat" ] || fail "no settings file"
[ "$(head -c 4 "$work/prog/olveplayer.dat")" = "BDC1" ] || fail "settings file is not BDC"
[ -d "$work/prog/titles" ] || fail "no titles folder"
geometry=$(xdotool getwindowgeometry "$(xdotool search --onlyvisible --name '^Player Olve / Rindale$')")
# As wide as the whole tool bar needs, and never narrower than it used to be.
[[ "$geometry" =~ Geometry:\ ([0-9]+)x512 ]] && [ "${BASH_REMATCH[1]}" -ge 512 ] || fail "unexpected window size: $geometry"
shot main-window

# 3. A second start hands its argument over and ends without a window of its own; the
#    first reports the package, which is not there, in a box under its own name.
mkdir -p "$work/prog2"
cp "$bin_dir/olveplayer" "$work/prog2/olveplayer"
timeout 20 "$work/prog2/olveplayer" "$work/lesson.qzw" || fail "second start did not end cleanly"
wait_for 20 grep -q "< $work/lesson.qzw >" "$work/main.err" || fail "the missing package was not reported"
wait_for 10 two_windows || fail "no box for the missing package"
xdotool key Return
wait_for 10 one_main_window || fail "second start left another window"
[ ! -e "$work/prog2/olveplayer.dat" ] || fail "second start ran its own start-up"

# Ends a start that shows one message box: waits for the text on standard error, presses
# the box's OK, and leaves the start's exit status in $status.
end_with_message() { # pid errfile text
  wait_for 20 grep -q "$3" "$2" || fail "no message \"$3\": $(cat "$2")"
  local box
  box=$(wait_for 10 xdotool search --onlyvisible --name '^olveplayer$' && xdotool search --onlyvisible --name '^olveplayer$' | head -1) \
    || fail "no message box for \"$3\""
  xdotool windowfocus --sync "$box" key Return
  status=0
  wait "$1" || status=$?
}

# 4. The first instance stopped: a second start with a relative package path says within
#    its wait that the running player does not answer, names the package, ends with 2.
kill -STOP "$first"
began=$SECONDS
(cd "$work" && exec "$work/prog2/olveplayer" lesson.qzw) 2>"$work/stopped.err" &
stopped=$!
pids+=("$stopped")
wait_for 20 grep -q 'does not answer' "$work/stopped.err" || fail "no word of the silent instance"
[ $((SECONDS - began)) -le 15 ] || fail "the second start waited $((SECONDS - began)) s"
end_with_message "$stopped" "$work/stopped.err" "< $work/lesson.qzw >"
[ "$status" -eq 2 ] || fail "a start that found no answer ended with status $status"
kill -CONT "$first"
[ "$(main_windows)" -eq 1 ] || fail "the silent instance's start opened a window"

# 5. No runtime folder, and the folder for the instance files under the temporary folder
#    belongs to someone else (or is open to others): refused, status 1, no window.
private="$work/tmp/olveplayer-$(id -u)"
mkdir -p "$private"
if [ "$(id -u)" -eq 0 ]; then chown 65534 "$private"; else chmod 755 "$private"; fi
env -u XDG_RUNTIME_DIR TMPDIR="$work/tmp" "$work/prog2/olveplayer" 2>"$work/foreign.err" &
foreign=$!
pids+=("$foreign")
end_with_message "$foreign" "$work/foreign.err" 'not private to this user'
[ "$status" -eq 1 ] || fail "a start with a foreign instance folder ended with status $status"
[ "$(main_windows)" -eq 1 ] || fail "a start with a foreign instance folder showed a window"
[ -z "$(ls -A "$private")" ] || fail "files were put into a foreign instance folder"
echo "startup e2e: 5 passed, 0 failed"
