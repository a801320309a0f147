#!/usr/bin/env bash
# Starts the main program of a build; called inside the Wine session, which
# has already started the local web service (BRC_SERVICE_PORT) that a test
# build's library talks to. Until the sample program is part of the build, it
# lists what the build made.
set -uo pipefail
build=${1:?build directory}
echo "Built (outside the tests):"
find "$build" \( -name '*.exe' -o -name '*.dll' -o -name 'libbrc_*.a' \) \
  -not -path "*/wine-prefix/*" -not -path "$build/tests/*" -not -path "$build/googletest/*" \
  -not -path "$build/CMakeFiles/*" -not -path "$build/service-files/*" |
  sort
echo "Test programs: $build/tests/"
