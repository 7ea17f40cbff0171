#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player from its program folder.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
olve_install_deps
olve_build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Run the player under a virtual display instead:" >&2
  echo "  xvfb-run -a ./run.sh $*" >&2
  exit 1
fi
if [ $# -eq 0 ]; then
  # Without a package named, the demo title, made again when its sources or the tool changed.
  demo=build/demo/demo.qzw
  if [ ! -e "$demo" ] || [ -n "$(find demo build/bin/olvetool -newer "$demo" -print -quit)" ]; then
    demo/build-demo.sh build/demo build/bin/olvetool || echo "The demo title could not be made." >&2
  fi
  if [ -e "$demo" ]; then set -- "$demo"; fi
fi
args=()
for a in "$@"; do
  case "$a" in /*) args+=("$a") ;; *) [ -e "$a" ] && args+=("$PWD/$a") || args+=("$a") ;; esac
done
cd build/bin
exec ./olveplayer "${args[@]}"
