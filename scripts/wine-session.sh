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

keeper_pid=
stop_session() {
  # The keeper first: one still starting when the server stops would start a
  # server of its own and live on.
  if [ -n "$keeper_pid" ]; then
    { kill -9 "$keeper_pid" && wait "$keeper_pid"; } 2>/dev/null || true
  fi
  "$BRC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  service_stop
}
trap stop_session EXIT

# The local web service, when the build points at one; its port is exported
# into the session as BRC_SERVICE_PORT.
service_start "$build"

# What the tests need of a prefix, looked up in the registry as the server
# last wrote it to disk: the WebBrowser control's class and type library.
# A prefix whose first boot was cut short, or whose server died before it
# wrote the registry, lacks them; such a prefix is built again.
prefix_complete() {
  grep -qiF '[Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32]' \
    "$WINEPREFIX/system.reg" 2>/dev/null &&
    grep -qiF "[Software\\\\Classes\\\\Typelib\\\\{EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B}\\\\1.1\\\\0\\\\$WINEARCH]" \
      "$WINEPREFIX/system.reg" 2>/dev/null
}

# Settings of the test prefix; a prefix made with other settings gets these.
settings_version=2
apply_settings() {
  local file="$WINEPREFIX/brc-settings.reg"
  # Without a window manager a closed window lingers for two seconds. A
  # program that crashes ends at once instead of waiting for a debugger that
  # never finishes without a terminal (the test then fails, it does not hang).
  cat >"$file" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
REG
  "$BRC_WINE" regedit /S "$file" </dev/null >/dev/null 2>&1
}

stop_server() {
  "$BRC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$BRC_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

mkdir -p "$WINEPREFIX"
if [ -f "$WINEPREFIX/.brc-ready" ] && ! prefix_complete; then
  echo "wine-session: the Wine prefix $WINEPREFIX lacks the WebBrowser control's registration; building it again" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
fi
"$BRC_WINESERVER" -p </dev/null >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/.brc-ready" ]; then
  # No Mono or Gecko installers: offline they would only wait on a dialog.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$BRC_WINE" wineboot -i </dev/null >/dev/null 2>&1
fi
if [ "$(cat "$WINEPREFIX/.brc-ready" 2>/dev/null)" != "$settings_version" ]; then
  apply_settings
  # The server writes the registry as it stops: only then does the disk show
  # whether the setup is complete.
  stop_server
  if ! prefix_complete; then
    echo "wine-session: the Wine prefix $WINEPREFIX was not set up completely; the next run builds it again" >&2
    rm -rf "$WINEPREFIX"
    exit 1
  fi
  echo "$settings_version" >"$WINEPREFIX/.brc-ready"
  "$BRC_WINESERVER" -p </dev/null >/dev/null 2>&1
fi
"$BRC_WINE" wineboot </dev/null >/dev/null 2>&1
# Keeps the desktop open between tests (see tests/support/DesktopKeeper.cpp);
# ended as the session stops.
if [ -f "$build/tests/desktop_keeper.exe" ]; then
  "$BRC_WINE" "$build/tests/desktop_keeper.exe" </dev/null >/dev/null 2>&1 &
  keeper_pid=$!
fi

set +e
"$@"
rc=$?
exit $rc
