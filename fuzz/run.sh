#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each of them for SECONDS seconds, as many at a time as there are
# processors. Fails when any target crashes, leaks, gets a sanitizer report or breaks one of
# its checks; the input that did it is kept in build-fuzz/findings/<target>/.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      (60 seconds and every target by default)
#
# Replay a finding: build-fuzz/bin/<target> build-fuzz/findings/<target>/<file>
# The corpus grows from run to run in build-fuzz/corpus/<target>/; the seeds are written
# anew by build-fuzz/bin/make_seeds on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
case "$seconds" in '' | *[!0-9]*) echo "usage: fuzz/run.sh [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

. scripts/deps.sh
OLVE_PACKAGES+=(clang libclang-rt-14-dev)
olve_install_deps

build=$PWD/build-fuzz
olve_compiler_cache
CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${OLVE_CACHE_FLAGS[@]}" >/dev/null
cmake --build "$build"
if [ "$#" -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build/targets.txt"
fi

"$build/bin/make_seeds" "$build/seeds"
# The targets write files for every input: a memory file system keeps that fast.
scratch_base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
scratch=$(mktemp -d "$scratch_base/olve-fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# One target: its own scratch folder, corpus, findings and log.
run_target() {
  local target=$1 build=$2 seconds=$3 scratch=$4
  local log=$build/logs/$target.log dict=()
  [ -f "fuzz/dicts/$target.dict" ] && dict=(-dict="fuzz/dicts/$target.dict")
  mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/logs" "$scratch/$target"
  if TMPDIR=$scratch/$target \
     ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$build/bin/$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2560 \
       -artifact_prefix="$build/findings/$target/" -print_final_stats=1 "${dict[@]}" \
       "$build/corpus/$target" "$build/seeds/$target" >"$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: clean, $runs runs in $seconds s, corpus $(ls "$build/corpus/$target" | wc -l) files"
  else
    echo "$target: FAILED (log: $log)"
    grep -E -m 20 -A 12 'ERROR: |runtime error|property does not hold|==[0-9]+==' "$log" | head -40 || tail -30 "$log"
    return 1
  fi
}
export -f run_target

status=0
printf '%s\n' "${targets[@]}" |
  xargs -P "$(nproc)" -I{} bash -c 'run_target "$@"' _ {} "$build" "$seconds" "$scratch" || status=1
if [ "$status" -ne 0 ]; then
  echo "fuzzing found faults: see build-fuzz/findings/ and build-fuzz/logs/" >&2
fi
exit "$status"
