#!/usr/bin/env bash
# The whole program under a virtual X display (run through xvfb-run), killed with SIGKILL
# while it installs a large package: no file is left half-written under its real name, and
# the next start installs the same package, opens it and removes what the killed ones left.
# Usage: killed_install_e2e.sh BIN_DIR
set -euo pipefail
bin_dir=$1
. "$(dirname "$0")/e2e_common.sh"
mkdir -p "$work/prog" "$work/packages"

package=$("$bin_dir/make_test_package" --many 6000 "$work/packages" 2>/dev/null)
cp "$bin_dir/olveplayer" "$work/prog/olveplayer"
"$bin_dir/olvetool" list "$package" 2>/dev/null >"$work/entries"

# Temporaries of one process carry its id in their names.
writing() { find "$work/prog" -name ".*.$1.*.part" | grep -q .; }
whole() {
  while read -r _ size name; do
    local file=$work/prog/$name
    [ ! -e "$file" ] || [ "$(stat -c %s "$file")" -eq "$size" ] || fail "$name is half-written ($1)"
  done <"$work/entries"
  [ ! -e "$work/prog/olveplayer.dat" ] || "$bin_dir/olvetool" bdc decode "$work/prog/olveplayer.dat" "$work/settings.txt" ||
    fail "the settings file does not decode ($1)"
}

killed=0
for round in 1 2 3 4 5; do
  "$work/prog/olveplayer" "$package" 2>>"$work/player.err" &
  pid=$!
  end=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $end ]; do
    if writing "$pid"; then
      kill -KILL "$pid"
      killed=$((killed + 1))
      break
    fi
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  whole "round $round"
done
[ "$killed" -gt 0 ] || fail "no installation was caught midway"
left=$(find "$work/prog" -name '.*.part' | wc -l)
echo "ok: killed $killed installations midway, every file whole, $left temporaries left behind"

"$work/prog/olveplayer" "$package" 2>>"$work/player.err" &
pids+=("$!")
titled() { xdotool search --onlyvisible --name '^Test Lesson - Player Olve / Rindale$' >/dev/null 2>&1; }
wait_for 30 titled || fail "the next start did not open the title: $(grep -v '^ALSA\|^AL lib' "$work/player.err" | tail -5)"
# The title opens once the whole package is installed; temporaries of the killed rounds go
# as their folders are written.
settled() { ! find "$work/prog" -name '.*.part' | grep -q .; }
wait_for 30 settled || fail "temporaries left behind: $(find "$work/prog" -name '.*.part')"
whole "after the next start"
echo "ok: the next start opened the title and removed the temporaries"

kill -TERM "${pids[0]}"
wait "${pids[0]}" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the player with status $status"
echo "killed install e2e: 2 passed, 0 failed"
