#!/usr/bin/env bash
# Starts the game. On a machine with no display it runs the game under a virtual X display for a
# few seconds, saves a screenshot of it and says where, so that a headless machine still sees it work.
set -u
game=$1
if [ ! -x "$game" ]; then
  echo "The game executable $game was not built." >&2
  exit 1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$game"
fi

top=$(cd "$(dirname "$0")/.." && pwd)
shot=$top/build/screenshot.png
seconds=${VELKOR_HEADLESS_SECONDS:-6}
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running Velkor under Xvfb for ${seconds} s."
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A look at the game is no play: its save goes to a folder of its own, removed afterwards, so the
# player's real save and the checkout stay untouched.
data_home=$(mktemp -d "${TMPDIR:-/tmp}/velkor-run.XXXXXX")
trap 'rm -rf "$data_home"' EXIT
export XDG_DATA_HOME=$data_home
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  "$1" & pid=$!
  sleep "$2"
  if kill -0 $pid 2>/dev/null; then
    import -window root "$3" 2>/dev/null || xwd -root -silent | convert xwd:- "$3"
    kill $pid; wait $pid 2>/dev/null
    exit 0
  fi
  wait $pid; echo "Velkor ended early (exit code $?)." >&2; exit 1
' _ "$game" "$seconds" "$shot"
status=$?
[ -f "$shot" ] && echo "Screenshot of the running game: $shot"
exit $status
