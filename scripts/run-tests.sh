#!/usr/bin/env bash
# Runs every test of a build; called inside the Wine session, whose prefix is
# booted and whose local web service runs.
#
# The tests run in shards (scripts/run-shards.py), each with a copy of the
# session's prefix and a wineserver of its own, one test at a time per shard:
# under one wineserver shared by parallel tests the server itself has
# crashed now and then. BRC_TEST_SHARDS sets the number of shards (default:
# the number of cores; 1 runs the tests one after the other); BRC_TEST_REGEX
# runs only the tests whose names it matches.
set -uo pipefail
build=${1:?build directory}
here=$(cd "$(dirname "$0")" && pwd)
started=$(date +%s.%N)

# The test programs list their tests at this point, under the session's
# server.
if ! ctest --test-dir "$build" --show-only=json-v1 >"$build/tests.json" </dev/null; then
  echo "run-tests: ctest could not list the tests" >&2
  exit 1
fi
# The shards copy the prefix: its registry must be on disk, which the
# server writes as it stops.
"$BRC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true

python3 "$here/run-shards.py" "$build" "$build/tests.json" \
  --shards "${BRC_TEST_SHARDS:-$(nproc)}" ${BRC_TEST_REGEX:+-R "$BRC_TEST_REGEX"}
status=$?
awk -v from="$started" -v to="$(date +%s.%N)" \
  'BEGIN { printf "Tests with their listing: %.1f s wall time\n", to - from }'
exit $status
