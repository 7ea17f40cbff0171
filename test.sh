#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
# With --sanitize: the same tests, built in build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
olve_install_deps
export QT_QPA_PLATFORM=offscreen

# Runs ctest, then makes sure no test (they may run as root) put a plain file in the place of
# /dev/null, which would break the machine for everything that runs after.
run_tests() {
  local status=0
  ctest "$@" || status=$?
  if [ ! -c /dev/null ]; then
    echo "test.sh: FAILED: /dev/null is no longer a character device; a test replaced it" \
      "(as root: rm -f /dev/null && mknod -m 666 /dev/null c 1 3)" >&2
    status=1
  fi
  return "$status"
}

if [ "${1:-}" = "--sanitize" ]; then
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"
  # The benchmarks are left out: ctest never runs them.
  olve_build build-sanitize \
    -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  # Leaks inside libraries, with no frame of ours, that the sanitizer cannot tell from ours
  # without a rule: GLib's constructor makes a quark table that it outgrows and, by design,
  # never frees; Qt's D-Bus thread keeps libdbus's buffers when the program ends. Full stacks
  # (these libraries have no frame pointers) let each rule match that and nothing else.
  printf '%s\n' 'leak:_dl_init' 'leak:libdbus-1.so' > build-sanitize/lsan.supp
  export LSAN_OPTIONS=suppressions=$PWD/build-sanitize/lsan.supp:print_suppressions=0
  export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=30:detect_stack_use_after_return=1:strict_init_order=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_tests --test-dir build-sanitize --output-on-failure -j2 --timeout 1200
  exit 0
fi

olve_build build
status=0
run_tests --test-dir build --output-on-failure -j2 --timeout 600 || status=$?
# Every fuzz target is built and run for a few seconds, so that the harness cannot break unseen.
fuzz/run.sh 5 || status=1
exit "$status"
