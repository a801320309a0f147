#!/usr/bin/env bash
# Starts Pinwheel, the sample program, inside the Wine session, which has
# already started the local web service (with the sample's product record,
# tests/service/records/pinwheel.txt) when the build talks to one.
#
# On the user's X display the run ends when the dialog is closed, or after
# BRC_RUN_SECONDS (default 600). On the session's virtual display nobody can
# see the dialog: the run saves a screenshot of it to build/pinwheel.png and
# ends after BRC_RUN_SECONDS (default 5) more.
set -uo pipefail
build=$(cd "${1:?build directory}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
program="$build/sample/Pinwheel.exe"
shot="$root/build/pinwheel.png"
source "$root/scripts/wine-env.sh" "$build"

if [ ! -f "$program" ]; then
  echo "run: $program was not built" >&2
  exit 1
fi

virtual=
[ "${BRC_IN_DISPLAY:-}" = 1 ] && virtual=1
seconds=${BRC_RUN_SECONDS:-$([ -n "$virtual" ] && echo 5 || echo 600)}

# Waits until the screen shows a drawn dialog: two shots a moment apart that
# agree and hold more than a handful of colours (the empty screen is black).
save_screenshot() {
  local previous="" current i
  for i in $(seq 60); do
    sleep 0.5
    import -window root -trim +repage "$shot.tmp.png" 2>/dev/null || continue
    current=$(md5sum <"$shot.tmp.png")
    if [ "$current" = "$previous" ] && [ "$(identify -format '%k' "$shot.tmp.png")" -gt 16 ]; then
      mv "$shot.tmp.png" "$shot"
      return 0
    fi
    previous=$current
  done
  rm -f "$shot.tmp.png"
  return 1
}

echo "run: starting $program"
if [ -n "${BRC_SERVICE_PORT:-}" ]; then
  echo "run: the local web service answers on port $BRC_SERVICE_PORT"
fi
"$BRC_WINE" "$program" </dev/null >/dev/null 2>&1 &
pid=$!

if [ -n "$virtual" ]; then
  if save_screenshot; then
    echo "run: no X display to show Pinwheel on; it ran on a virtual display, and a screenshot of its dialog is in $shot"
  else
    echo "run: Pinwheel's dialog did not show on the virtual display" >&2
  fi
else
  echo "run: Pinwheel is showing on $DISPLAY; close its dialog to end (or wait $seconds s)"
fi

for _ in $(seq "$((seconds * 10))"); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "run: ending Pinwheel after $seconds s"
  kill "$pid" 2>/dev/null
else
  echo "run: Pinwheel has ended"
fi
wait "$pid" 2>/dev/null
exit 0
