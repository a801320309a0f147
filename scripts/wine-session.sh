#!/usr/bin/env bash
# Runs a command inside a virtual X display with a persistent wineserver for
# the build's own prefix, then stops every Wine process. Wine and Xvfb are
# started with all standard streams detached: a process that inherits
# ctest's pipes keeps ctest waiting until it exits.
#   wine-session.sh BUILD_DIR COMMAND...
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${BRC_IN_DISPLAY:-}" ]; then
  export BRC_IN_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1920x1200x24 -nolisten tcp" \
    bash "$0" "$build" "$@" </dev/null
fi

source "$here/wine-env.sh" "$build"

stop_wine() { wineserver -k </dev/null >/dev/null 2>&1 || true; }
trap stop_wine EXIT

mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/.brc-ready" ]; then
  # No Mono or Gecko installers: offline they would only wait on a dialog.
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager a closed window lingers for two seconds.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.brc-ready"
else
  wine wineboot </dev/null >/dev/null 2>&1
fi

set +e
"$@"
rc=$?
exit $rc
