#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run): second starts against a
# first instance that shows a message box end within 2 s, and the package handed over while
# the box is open opens once it is closed.
set -euo pipefail
bin_dir=$1
shots=${2:-}
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/prog2" "$work/packages"
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
cp "$bin_dir/olveplayer" "$work/prog2/olveplayer"
package=$("$bin_dir/make_test_package" "$work/packages")
printf 'not a package' >"$work/damaged.qzw"

# The main window and a message box both carry the program's caption.
captioned() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
box_open() { [ "$(captioned 'Player Olve / Rindale')" -eq 2 ]; }
titled() { [ "$(captioned 'Test Lesson - Player Olve / Rindale')" -eq 1 ]; }
# The box is the captioned window that is not the main window's size.
message_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Player Olve / Rindale$' 2>/dev/null); do
    xdotool getwindowgeometry "$w" | grep -Eq 'Geometry: [0-9]+x512$' || { echo "$w"; return; }
  done
}
shown() { [ "$(captioned 'Player Olve / Rindale')" -eq 1 ]; }
# A second start that must end, with status 0, within 2 s.
second_start() {
  local began=$SECONDS status=0
  timeout -k 1 2 "$work/prog2/olveplayer" "$1" || status=$?
  [ "$status" -eq 0 ] || fail "a second start with $1 ended with status $status after $((SECONDS - began)) s (124 or 137: still waiting at 2 s)"
}

"$work/prog/olveplayer" 2>"$work/first.err" &
pids+=("$!")
wait_for 20 shown || fail "main window not shown"
# Ready once its first activation has run; until then a second start hands nothing over.
sleep 1

# 1. The handed-over package cannot be installed: the first instance says so in a box, and the
#    start that handed it over does not wait for the box.
second_start "$work/damaged.qzw"
wait_for 10 box_open || fail "no message box for the damaged package: $(cat "$work/first.err")"
grep -q 'damaged.qzw' "$work/first.err" || fail "the box does not name the package: $(cat "$work/first.err")"
[ -z "$shots" ] || import -window root "$shots/hand-over-box.png"

# 2. Another start while the box is open ends as quickly; its package waits for the box.
second_start "$package"
sleep 1
titled && fail "the package opened while the box was open"
box=$(message_box)
[ -n "$box" ] || fail "the message box cannot be told from the main window"
xdotool windowfocus --sync "$box" key Return
wait_for 20 titled || fail "the package handed over during the box did not open after it: $(cat "$work/first.err")"
echo "hand-over e2e: 3 passed, 0 failed"
