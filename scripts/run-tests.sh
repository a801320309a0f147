#!/usr/bin/env bash
# Runs every test of a build; called inside the Wine session.
#
# A test that times out is run once more: under load, a test process has been
# seen to stall before it printed anything at all, and to pass when run again.
# A test that really hangs times out twice and fails.
set -uo pipefail
build=${1:?build directory}
ctest --test-dir "$build" --output-on-failure --timeout 180 --repeat after-timeout:2 \
  -j "${BRC_TEST_JOBS:-4}" </dev/null
