#!/usr/bin/env bash
# Runs a command inside a virtual X display with a persistent wineserver for
# the build's own prefix and the local web service of a test build, then stops
# every Wine process and the service. Wine, Xvfb and the service are started
# with all standard streams detached: a process that inherits ctest's pipes
# keeps ctest waiting until it exits.
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
source "$here/service.sh"

stop_session() {
  "$BRC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  service_stop
}
trap stop_session EXIT

# The local web service, when the build points at one; its port is exported
# into the session as BRC_SERVICE_PORT.
service_start "$build"

mkdir -p "$WINEPREFIX"
"$BRC_WINESERVER" -p </dev/null >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/.brc-ready" ]; then
  # No Mono or Gecko installers: offline they would only wait on a dialog.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$BRC_WINE" wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager a closed window lingers for two seconds.
  "$BRC_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
  # The server keeps the registry in memory and writes it out now and then;
  # a server that dies before then (seen under a full parallel run) leaves a
  # prefix without its registry, and every later server starts from that.
  # Stopping the server writes it out; the prefix counts as ready only when
  # the written registry holds what the tests rely on: the WebBrowser
  # control's class and its type library.
  "$BRC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$BRC_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  if ! grep -qi 'CLSID\\\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\\\InprocServer32\]' \
      "$WINEPREFIX/system.reg" ||
    ! grep -qi 'TypeLib\\\\{EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B}\\\\1.1\\\\0\\\\win' \
      "$WINEPREFIX/system.reg"; then
    echo "wine-session: the Wine prefix $WINEPREFIX was not set up completely" >&2
    rm -rf "$WINEPREFIX"
    exit 1
  fi
  touch "$WINEPREFIX/.brc-ready"
  "$BRC_WINESERVER" -p </dev/null >/dev/null 2>&1
fi
"$BRC_WINE" wineboot </dev/null >/dev/null 2>&1

set +e
"$@"
rc=$?
exit $rc
