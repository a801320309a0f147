#!/usr/bin/env bash
# Runs every test of a build; called inside the Wine session, whose prefix is
# booted and whose local web service runs.
#
# The tests run in shards (scripts/run-shards.py), each with a copy of the
# session's prefix and a wineserver of its own, one test at a time per shard:
# under one wineserver shared by parallel tests the server itself has
# crashed now and then. BRC_TEST_SHARDS sets the number of shards (default:
# the number of cores; 1 runs the tests one after the other); BRC_TEST_REGEX
# runs only the tests whose names it matches. Each test's output is kept in
# BUILD/test-logs/, and so is the core file of a wineserver that crashed.
set -uo pipefail
build=${1:?build directory}
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/run-shards.py" "$build" --shards "${BRC_TEST_SHARDS:-$(nproc)}" \
  ${BRC_TEST_REGEX:+-R "$BRC_TEST_REGEX"}
