#!/usr/bin/env bash
# Starts the main program of a build; called inside the Wine session.
set -uo pipefail
build=${1:?build directory}
echo "Built binaries:"
find "$build" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' \) -not -path '*/wine-prefix/*' \
  -not -path '*/tests/*' | sort
