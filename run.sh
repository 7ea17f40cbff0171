#!/usr/bin/env bash
# Installs what is missing, builds the player and the tool, and starts the player from its
# program folder.
set -euo pipefail
# Paths are taken as the caller meant them, from the folder the script was started in.
args=()
for a in "$@"; do
  if [[ "$a" != /* && ( -e "$a" || "${a,,}" == *.qzw ) ]]; then args+=("$PWD/$a"); else args+=("$a"); fi
done
set -- "${args[@]+"${args[@]}"}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Run the player under a virtual display instead:" >&2
  echo "  xvfb-run -a $0 $*" >&2
  exit 1
fi
cd "$(dirname "$0")"
. scripts/deps.sh
olve_install_deps
olve_build_programs build
if [ $# -eq 0 ]; then
  # Without a package named, the demo title, made again when its sources or the tool changed.
  # Absolute, since the player starts from its program folder below.
  demo=$PWD/build/demo/demo.qzw
  if [ ! -e "$demo" ] || [ -n "$(find demo build/bin/olvetool -newer "$demo" -print -quit)" ]; then
    demo/build-demo.sh build/demo build/bin/olvetool || echo "The demo title could not be made." >&2
  fi
  if [ -e "$demo" ]; then set -- "$demo"; fi
fi
cd build/bin
exec ./olveplayer "$@"
