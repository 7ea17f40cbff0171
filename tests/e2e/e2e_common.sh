# Sourced by the whole-program tests: a private home, runtime and data folder in a scratch
# folder $work that is removed at the end with every process listed in $pids, and helpers.
unset QT_QPA_PLATFORM
work=$(mktemp -d)
pids=()
# The players end as closing them does (saving, removing what they installed), which may take
# a while under the sanitizers: the folder goes once they have ended.
cleanup() {
  local p i
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do
    for i in $(seq 100); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$p" 2>/dev/null || true
  done
  rm -rf "$work" || true
}
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

fail() { echo "FAIL: $*" >&2; exit 1; }
# wait_for SECONDS COMMAND...: true once COMMAND succeeds within the time.
wait_for() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}

# start_player [ARG...]: starts the player of $work/prog with its play log going to $log, and
# sets $window once its window shows.
start_player() {
  OLVE_PLAY_LOG=1 "$work/prog/olveplayer" NoTie "$@" 2>>"$log" &
  pids+=("$!")
  shown() { xdotool search --onlyvisible --name 'Player Olve / Rindale' >/dev/null 2>&1; }
  wait_for 30 shown || fail "no window: $(tail -5 "$log")"
  window=$(xdotool search --onlyvisible --name 'Player Olve / Rindale' | head -1)
}
# read_screen: the text of $window as OCR reads it.
read_screen() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -resize 200% -colorspace Gray "$work/text.png"
  tesseract "$work/text.png" - 2>/dev/null | tr '\n' ' '
}
