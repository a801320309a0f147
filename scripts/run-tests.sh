#!/usr/bin/env bash
# Runs every test of a build; called inside the Wine session.
set -uo pipefail
build=${1:?build directory}
ctest --test-dir "$build" --output-on-failure --timeout 180 \
  -j "${BRC_TEST_JOBS:-4}" </dev/null
