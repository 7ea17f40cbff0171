#!/usr/bin/env bash
# Makes the README's screenshots of the player with the demo title, in a virtual display.
# Run after a build: docs/make-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs/images
xvfb-run -a -s "-screen 0 1280x800x24" bash tests/titlemaker/demo_player_e2e.sh build/bin . docs/images
xvfb-run -a -s "-screen 0 1280x800x24" bash tests/e2e/own_material_e2e.sh build/bin docs/images
