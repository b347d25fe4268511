#!/usr/bin/env bash
# Runs every test headless: the fuzz targets briefly over their seeds, then ctest under a virtual X
# display with OpenAL Soft's null output; the names of tests that passed only when run again come last.
# Given a third build (ThreadSanitizer, network and sound tests only), its tests run after the rest.
set -u
test_build=$1
fuzz_build=$2
tsan_build=${3:+$(cd "$3" && pwd)}
top=$(cd "$(dirname "$0")/.." && pwd)
status=0

export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

echo "== fuzz targets (bounded runs)"
# The whole-game load target opens the game's window: without a display it gets a virtual one.
display_run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x720x24" "$@"; fi; }
for target in "$fuzz_build"/bin/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$top/fuzz/corpus/${name%_fuzz}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null
  # Bounded by runs and by time, whichever ends first, so a slow target cannot stretch CI.
  # Crash and slow-input files go to the work folder, not into the checkout (the log shows them).
  if display_run "$target" -runs="${FUZZ_RUNS:-20000}" -max_total_time="${FUZZ_SECONDS:-15}" -max_len=4096 -rss_limit_mb=2048 \
      -artifact_prefix="$work/" "$work" > "$work.log" 2>&1; then
    echo "   $name: ok"
  else
    echo "   $name: FAILED (log follows)"; tail -40 "$work.log"; status=1
  fi
  rm -rf "$work" "$work.log"
done

echo "== ctest"
cd "$test_build" || exit 1
# A test that fails is run again, alone, up to twice before it counts as failed: tests that drive a
# real X server, sound device or sockets can meet a passing hiccup of the machine, and under load
# the leak checker's own tracer now and then crashes at the exit of a GL test that passed (a fault
# in our code fails every run). The tests that needed another run are named, so a flaky test is seen.
run_ctest() {
  local failed_log=Testing/Temporary/LastTestsFailed.log
  rm -f "$failed_log"
  if ctest --output-on-failure -j "$(nproc)" --timeout 900 "$@"; then return 0; fi
  [ -s "$failed_log" ] || return 1
  local first
  first=$(cut -d: -f2- "$failed_log" | sort)
  echo "== ctest: running the failed tests again"
  local status=0
  ctest --output-on-failure --timeout 900 --rerun-failed --repeat until-pass:2 "$@" || status=1
  local still=""
  [ $status -ne 0 ] && [ -s "$failed_log" ] && still=$(cut -d: -f2- "$failed_log" | sort)
  local flaky
  flaky=$(comm -23 <(echo "$first") <(echo "$still") | sed '/^$/d')
  if [ -n "$flaky" ]; then
    echo "== tests that passed only when run again (flaky, look into them):"
    echo "$flaky" | sed 's/^/   /'
  fi
  return $status
}
if [ -n "${DISPLAY:-}" ]; then
  run_ctest || status=1
else
  xvfb-run -a -s "-screen 0 1280x720x24" bash -c "$(declare -f run_ctest); run_ctest" || status=1
fi

if [ -n "$tsan_build" ]; then
  echo "== ctest under ThreadSanitizer (network and sound)"
  # A report ends its test program with a failure. The suppressions name only libraries we do not build.
  export TSAN_OPTIONS="halt_on_error=1:exitcode=66:second_deadlock_stack=1:suppressions=$top/tools/tsan.supp:${TSAN_OPTIONS:-}"
  tsan_log=$(mktemp)
  # g++ 12's ThreadSanitizer cannot place its shadow memory under the wider address randomisation of
  # newer kernels: its tests run without randomisation wherever the system allows that.
  no_aslr=""
  setarch "$(uname -m)" -R true 2>/dev/null && no_aslr="setarch $(uname -m) -R"
  (cd "$tsan_build" && $no_aslr bash -c "$(declare -f run_ctest); run_ctest") 2>&1 | tee "$tsan_log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # A race seen once is a fault even when the test passed when run again.
  if grep -q "ThreadSanitizer" "$tsan_log"; then
    echo "== ThreadSanitizer reported (see above)"
    status=1
  fi
  rm -f "$tsan_log"
fi
exit $status
