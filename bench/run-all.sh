#!/usr/bin/env bash
# Runs every benchmark of the project and prints one table of figures with the goals beside
# them. Builds first (configuring build/ when it is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build >/dev/null
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
run() { local name=$1; shift; echo "running $name ..." >&2; "$@" >"$out/$name" 2>&1 || echo "($name failed)" >&2; }

run bdc build/bin/bench_bdc --benchmark_filter=NONE
run title build/bin/bench_title
run train build/bin/bench_train
run segments build/bin/bench_segments
run playback build/bin/bench_playback
run textview build/bin/bench_textview
run picture build/bin/bench_picture
run align bash bench/run-align.sh build/bin
run sync bash bench/run-sync.sh build/bin
run map xvfb-run -a -s "-screen 0 1280x800x24" bash bench/time_to_map.sh build/bin .
run whole xvfb-run -a -s "-screen 0 1280x800x24" bash bench/whole_program.sh build/bin .
run peer xvfb-run -a -s "-screen 0 1280x800x24" bash bench/cpu_vs_peer.sh build/bin
run toolmem bash bench/tool_memory.sh build/bin

field() { grep -m1 -- "$2" "$out/$1" | sed 's/^ *//' || true; }
row() { printf '%-46s %-30s %s\n' "$1" "$2" "$3"; }
number() { grep -m1 -- "$2" "$out/$1" | grep -oE -- "$3" | head -1 || true; }

echo
row "Figure" "Measured" "Goal"
row "------" "--------" "----"
row "BDC decode / zlib inflate" "$(number bdc 'BDC decode / zlib inflate' '[0-9.]+ x')" "≥ 1 x"
row "BDC encode / zlib deflate" "$(number bdc 'BDC encode / zlib deflate' '[0-9.]+ x')" "-"
row "title load, 5000 cards" "$(number title '  load' '[0-9.]+ ms')" "< 20 ms"
row "title save, 5000 cards" "$(number title '  save' '[0-9.]+ ms')" "-"
row "package extract peak memory (200 MB media)" "$(number train '^extract' 'peak +[0-9.]+ MB' | sed 's/peak *//')" "< 64 MB"
row "installed files taken in, 2 x 100000" "$(number train '^installed-files' '[0-9.]+ ms')" "< 1 s"
for format in WAV OGG MP3 MP4 M4A; do
  line=$(grep -m1 -E "^$format +player" "$out/segments" || true)
  row "segment start/end error, $format (max ms)" "$(awk '{print $5 " / " $9}' <<<"$line")" "≤ 1 ms"
  timer=$(grep -A1 -m1 -E "^$format +player" "$out/segments" | tail -1 | grep -oE '[0-9]+x' || true)
  row "  timer-driven baseline overshoot / player" "$timer" "-"
done
for format in WAV OGG MP3 MP4 M4A; do
  slower=$(grep -m1 -E "^$format +0.7x" "$out/segments" || true)
  faster=$(grep -m1 -A2 -E "^$format +0.7x" "$out/segments" | tail -1 || true)
  row "segment start/end error at 0.7x, $format (max ms)" "$(awk '{print $5 " / " $9}' <<<"$slower")" "≤ 1 ms"
  row "segment start/end error at 1.3x, $format (max ms)" "$(awk '{print $4 " / " $8}' <<<"$faster")" "≤ 1 ms"
done
row "completion after last sample, WAV (mean ms)" "$(awk '/^WAV/ && NF==10 {print $2; exit}' "$out/segments")" "≤ 5 ms"
row "timer tick, card unchanged (median, 30 ms pace)" "$(number playback 'card unchanged, near card 2500' 'median +[0-9.]+ us' | sed 's/median *//')" "< 50 us"
warm=$(grep -A100 'back to back' "$out/playback" | grep -m1 'card unchanged, near card 2500' | grep -oE 'median +[0-9.]+ us' | sed 's/median *//' || true)
row "  the same, ticks back to back (warm caches)" "$warm" "-"
row "timer tick, card changed (median)" "$(number playback 'card changed, all' 'median +[0-9.]+ us' | sed 's/median *//')" "< 1 ms"
row "key N to next card's text (median)" "$(number playback "key N to next card's text, playing" 'median +[0-9.]+ ms' | sed 's/median *//')" "< 40 ms"
row "text view, unchanged text" "$(number textview SetDisplayTextUnchanged '[0-9.]+ us')" "< 2 us"
row "text view, unchanged underline" "$(number textview UpdateUnderlineUnchanged '[0-9.]+ us')" "< 2 us"
row "text view, changed range (300 chars)" "$(number textview UpdateUnderlineChanged '[0-9.]+ us')" "< 200 us"
sizes() { local name=$1; for size in 180B 50KB 10MB; do number textview "$name/$size" '[0-9.]+ us' | tr -d ' us'; done | paste -sd/ | sed 's|/| / |g; s|$| us|'; }
row "text view tick, same range, 180B/50KB/10MB" "$(sizes Tick/RangeUnchanged)" "< 20 us, flat"
row "text view tick, moved range, 180B/50KB/10MB" "$(sizes Tick/RangeChanged)" "< 1000 us"
row "text view, set text, 180B/50KB/10MB" "$(sizes SetText)" "10 MB < 60 s"
row "picture load and fit, 3000x2000 JPEG" "$(number picture LoadAndFit '[0-9.]+ ms')" "< 60 ms"
for case in silence roomtone nogap intro music noise; do
  line=$(grep -m1 -E "^$case " "$out/align" || true)
  if grep -q ' met$\| MISSED$' <<<"$line"; then
    figures=$(awk '{ printf "%s/%s, %s/%s ms, %s, %.0f x", $3, $4, $6, $7, $9, $10 }' <<<"$line")
  else
    figures=${line:-missing}
  fi
  row "align, $case: start/end med/p95, unplaced, x" "$figures" "≤ 40/150 ms, 0, ≥ 30 x"
done
tabbed() { grep -m1 -- "$2" "$out/$1" | cut -f2 || true; }
for cache in cold warm; do
  row "window mapped, $cache plug-in cache (median)" "$(tabbed map "window mapped, $cache")" "< 300 ms"
  row "  tool bar drawn" "$(tabbed map "tool bar drawn, $cache")" "< 300 ms"
  row "  title open" "$(tabbed map "title open, $cache")" "-"
done
row "start to window with the demo title" "$(grep -m1 'start to demo' "$out/whole" | cut -f2)" "-"
row "peak memory, 5000-card title playing" "$(grep -m1 'peak memory' "$out/whole" | cut -f2)" "< 150 MB"
row "CPU while playing audio" "$(grep -m1 'CPU while' "$out/whole" | cut -f2)" "-"
row "  the same beside gst-play-1.0 (ours / peer)" "$(tabbed peer 'CPU ratio')" "≤ 1"
for format in wav ogg; do
  row "olvetool media play 1 s $format, memory / gst-play-1.0" "$(tabbed toolmem "ratio olvetool / gst-play-1.0, $format")" "≤ 1"
done

echo
echo "Subtitle sync: cue start error against exact truth (goal: median ≤ 60 ms, p95 ≤ 200 ms; 2 h in < 60 s)"
cat "$out/sync"
