#!/usr/bin/env bash
# Starts the game. On a machine with no display it runs the game under a virtual X display long
# enough to reach the main menu, saves screenshots of the logos, the story and the menu on the way
# and says where, so that a headless machine still sees the game work.
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
folder=$top/build/screenshots
# "seconds:name" pairs, in time order: the logos fade in from 2 s to 8 s, the story plays for the
# next 10 s, and the menu follows.
shots=${VELKOR_HEADLESS_SHOTS:-3:logo 13:story 24:menu}
last=${shots##* }
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running Velkor under Xvfb for ${last%%:*} s."
mkdir -p "$folder"
rm -f "$folder"/*.png
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A look at the game is no play: its save goes to a folder of its own, removed afterwards, so the
# player's real save and the checkout stay untouched.
data_home=$(mktemp -d "${TMPDIR:-/tmp}/velkor-run.XXXXXX")
trap 'rm -rf "$data_home"' EXIT
export XDG_DATA_HOME=$data_home
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  folder=$1; shots=$2; game=$3
  start=$(date +%s.%N)
  "$game" & pid=$!
  for shot in $shots; do
    at=${shot%%:*}; name=${shot#*:}
    wait_for=$(awk -v at="$at" -v start="$start" -v now="$(date +%s.%N)" "BEGIN { w = at - (now - start); print (w > 0 ? w : 0) }")
    sleep "$wait_for"
    if ! kill -0 $pid 2>/dev/null; then
      wait $pid; echo "Velkor ended early (exit code $?)." >&2; exit 1
    fi
    file=$folder/$name.png
    import -window root "$file" 2>/dev/null || xwd -root -silent | convert xwd:- "$file"
  done
  kill $pid; wait $pid 2>/dev/null
  exit 0
' _ "$folder" "$shots" "$game"
status=$?
for shot in $shots; do
  file=$folder/${shot#*:}.png
  [ -f "$file" ] && echo "Screenshot at ${shot%%:*} s: $file"
done
exit $status
