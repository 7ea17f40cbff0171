#!/usr/bin/env bash
# ./run.sh itself, as a newcomer starts it, from a folder other than the checkout: with no
# package it opens the demo title; with a package named relative to that folder it opens that.
#   run_script_window_e2e.sh SOURCE_DIR BIN_DIR
set -euo pipefail
source_dir=$1
bin_dir=$2
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/elsewhere/lessons"

# The script starts the player beside the checkout's own build: keep that folder's settings as
# they were.
settings=$source_dir/build/bin/olveplayer.dat
[ ! -e "$settings" ] || cp -p "$settings" "$work/settings.saved"
restore() {
  if [ -e "$work/settings.saved" ]; then cp -p "$work/settings.saved" "$settings"; else rm -f "$settings"; fi
}
trap 'restore; cleanup' EXIT

# start_and_see CAPTION ARGS...: ./run.sh from the other folder shows a window with CAPTION.
start_and_see() {
  local caption=$1; shift
  (cd "$work/elsewhere" && exec "$source_dir/run.sh" "$@") >"$work/run.out" 2>&1 &
  pids+=("$!")
  local pid=$!
  titled() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
  wait_for 150 titled || fail "no window '$caption' after ./run.sh $*: $(grep -v '^ALSA\|^AL lib' "$work/run.out" | tail -5)"
  ! grep -q 'file not exist' "$work/run.out" || fail "the player could not find its package: $(grep 'file not exist' "$work/run.out")"
  kill -TERM "$pid"
  wait "$pid" || fail "the player ended with status $? after SIGTERM"
}

start_and_see 'A Day in English - Player Olve / Rindale$'
package=$("$bin_dir/make_test_package" "$work/elsewhere/lessons" 2>/dev/null)
start_and_see '^Test Lesson - Player Olve / Rindale$' "lessons/$(basename "$package")"
echo "run script window e2e: 2 passed, 0 failed"
