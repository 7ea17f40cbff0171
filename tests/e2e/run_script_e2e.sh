#!/usr/bin/env bash
# ./run.sh started from another folder with a relative package path passes the package on as
# the caller named it. Without a display the script stops before building and says how it
# would start the player, with the paths it would pass.
#   run_script_e2e.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lessons"
touch "$work/lessons/lesson.qzw"
said=$(cd "$work/lessons" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$source_dir/run.sh" lesson.qzw NoTie \
  ../missing.QZW 2>&1) && { echo "FAIL: run.sh started without a display" >&2; exit 1; }
expected="$source_dir/run.sh $work/lessons/lesson.qzw NoTie $work/lessons/../missing.QZW"
grep -qF "$expected" <<<"$said" || { echo "FAIL: expected '$expected' in: $said" >&2; exit 1; }
echo "run script e2e: 1 passed, 0 failed"
