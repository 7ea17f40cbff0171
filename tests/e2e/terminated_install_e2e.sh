#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run), sent SIGTERM at the
# awkward moments of a start: while it installs the package on its command line, inside the
# message box that reports a failed installation, and inside the refusal box that comes before
# the event loop runs. Each time it ends by itself with status 0, having saved its settings
# and removed what it installed, as a normal close does.
# Usage: terminated_install_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"

# A recording of some 26 MB: long enough to be caught while it is written.
package=$("$bin_dir/make_test_package" --many 6000 "$work/packages" 2>/dev/null)
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"

# ends_by_itself PID WHAT: the process ends within 20 seconds of SIGTERM, with status 0.
ends_by_itself() {
  kill -TERM "$1"
  local end=$((SECONDS + 20))
  while kill -0 "$1" 2>/dev/null; do
    [ $SECONDS -lt $end ] || { kill -KILL "$1"; fail "SIGTERM $2 did not end the player"; }
    sleep 0.1
  done
  wait "$1" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "SIGTERM $2 ended the player with status $status"
}
# closed_cleanly WHAT: nothing of the package is left, and the settings hold the window's bounds.
closed_cleanly() {
  [ ! -e "$work/prog/lesson.qzc" ] && [ ! -e "$work/prog/vcd" ] || fail "installed files left behind $1: $(find "$work/prog" | tr "\n" " ")"
  ! find "$work/prog" -name '.*.part' | grep -q . || fail "temporaries left behind $1"
  "$bin_dir/olvetool" bdc decode "$work/prog/olveplayer.dat" "$work/settings" || fail "settings unreadable $1"
  grep -q '^Width=' "$work/settings" || fail "layout not saved $1"
}

# 1. While the recording is being written.
"$work/prog/olveplayer" "$package" 2>"$work/install.err" &
pid=$!
pids+=("$pid")
writing() { find "$work/prog" -name ".*.$pid.*.part" | grep -q .; }
# The copy runs beside the window's event loop and takes a fraction of a second: looked for
# without pausing.
end=$((SECONDS + 30))
until writing; do
  [ $SECONDS -lt $end ] || fail "the installation was not seen: $(tail -5 "$work/install.err")"
done
ends_by_itself "$pid" "during the installation"
closed_cleanly "after SIGTERM during the installation"

# 2. Inside the message box that reports the recording could not be written.
rm -f "$work/prog/olveplayer.dat"
(ulimit -f 1024; trap '' XFSZ; exec "$work/prog/olveplayer" "$package" 2>"$work/box.err") &
pid=$!
pids+=("$pid")
wait_for 60 grep -q 'ファイルの書き込みに失敗しました' "$work/box.err" || fail "no report of the failed write: $(tail -5 "$work/box.err")"
grep -q 'vcd/K100/tone.wav: .' "$work/box.err" || fail "the report does not name the file and why"
ends_by_itself "$pid" "inside the message box"
closed_cleanly "after SIGTERM inside the message box"

# 3. Inside the refusal box of a start from the desktop folder, before the event loop runs.
mkdir -p "$HOME/Desktop"
cp "$bin_dir/olveplayer" "$HOME/Desktop/olveplayer"
"$HOME/Desktop/olveplayer" 2>"$work/refusal.err" &
pid=$!
pids+=("$pid")
wait_for 20 grep -q 'デスクトップ' "$work/refusal.err" || fail "no refusal on standard error"
sleep 0.5
ends_by_itself "$pid" "inside the refusal box"
echo "terminated install e2e: 3 passed, 0 failed"
