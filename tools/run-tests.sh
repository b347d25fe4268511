#!/usr/bin/env bash
# Runs every test headless: the fuzz targets briefly over their seeds, then ctest under a virtual X
# display with OpenAL Soft's null output. ctest's summary line is the last thing printed.
set -u
test_build=$1
fuzz_build=$2
top=$(cd "$(dirname "$0")/.." && pwd)
status=0

export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

echo "== fuzz targets (bounded runs)"
for target in "$fuzz_build"/bin/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$top/fuzz/corpus/${name%_fuzz}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null
  # Bounded by runs and by time, whichever ends first, so a slow target cannot stretch CI.
  if "$target" -runs="${FUZZ_RUNS:-20000}" -max_total_time="${FUZZ_SECONDS:-15}" -max_len=4096 -rss_limit_mb=2048 \
      "$work" > "$work.log" 2>&1; then
    echo "   $name: ok"
  else
    echo "   $name: FAILED (log follows)"; tail -40 "$work.log"; status=1
  fi
  rm -rf "$work" "$work.log"
done

echo "== ctest"
cd "$test_build" || exit 1
# A test that fails is run once more before it counts as failed: tests that drive a real X
# server, sound device or sockets can meet a passing hiccup of the machine (a fault in our code
# fails both runs).
run_ctest() { ctest --output-on-failure -j "$(nproc)" --timeout 900 --repeat until-pass:2 "$@"; }
if [ -n "${DISPLAY:-}" ]; then
  run_ctest || status=1
else
  xvfb-run -a -s "-screen 0 1280x720x24" bash -c "$(declare -f run_ctest); run_ctest" || status=1
fi
exit $status
