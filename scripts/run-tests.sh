#!/usr/bin/env bash
# Runs every test of a build; called inside the Wine session.
#
# A test that times out is run once more: under load, a Wine process has been
# seen to stall before the test program's main() ever ran, with nothing of
# ours on the stack. A test that really hangs times out twice and fails.
set -uo pipefail
build=${1:?build directory}
ctest --test-dir "$build" --output-on-failure --timeout 180 --repeat after-timeout:2 \
  -j "${BRC_TEST_JOBS:-4}" </dev/null
