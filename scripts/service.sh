# Sourced: starts and stops the local stand-in of the web service for one
# build, when that build's service address is on the loopback
# (BRC_SERVICE_BASE_URL=http://127.0.0.1:PORT/). A release build names the
# maker's host, and then nothing is started.
#   service_start BUILD_DIR    service_stop
service_pid=
service_pidfile=

service_start() {
  local build=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local url
  url=$(sed -n 's/^BRC_SERVICE_BASE_URL:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
  if [[ ! $url =~ ^http://127\.0\.0\.1:([0-9]+)/$ ]]; then
    return 0
  fi
  local port=${BASH_REMATCH[1]}
  local pidfile="$build/service.pid"
  service_pidfile=$pidfile

  # A service left behind by an interrupted session of this same build.
  if [ -f "$pidfile" ]; then
    local old
    old=$(cat "$pidfile")
    if [ -n "$old" ] && grep -qs 'service.py' "/proc/$old/cmdline"; then
      kill "$old" 2>/dev/null || true
      sleep 0.5
    fi
    rm -f "$pidfile"
  fi

  mkdir -p "$build/service-files"
  # Every standard stream detached: a process holding ctest's pipes keeps it
  # waiting.
  python3 "$root/tests/service/service.py" --port "$port" --files "$build/service-files" \
    </dev/null >"$build/service.log" 2>&1 &
  service_pid=$!
  echo "$service_pid" >"$pidfile"

  local i
  for i in $(seq 100); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      export BRC_SERVICE_PORT=$port BRC_SERVICE_BASE_URL=$url
      return 0
    fi
    if ! kill -0 "$service_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "service: the local web service did not start on port $port:" >&2
  cat "$build/service.log" >&2
  service_stop
  return 1
}

service_stop() {
  if [ -n "$service_pid" ]; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
    rm -f "$service_pidfile"
    service_pid=
  fi
}
