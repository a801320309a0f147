#!/usr/bin/env bash
# Starts the main program of a build; called inside the Wine session, which
# has already started the local web service (BRC_SERVICE_PORT) that a test
# build's library talks to.
set -uo pipefail
build=${1:?build directory}
echo "Built binaries:"
find "$build" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' \) -not -path '*/wine-prefix/*' \
  -not -path '*/tests/*' | sort
