#!/usr/bin/env bash
# Runs one program of the build that runs on this machine (build/, or
# build/win64 where the kernel runs no 32-bit code or BRC_TEST_ARCH=x86_64;
# the same choice as ./x) under that build's Wine loader, inside a Wine
# session. Builds nothing: ./x test or ./x run builds first.
#   wine-run.sh PROGRAM [ARG...]
# PROGRAM is relative to the build directory, e.g. tests/bench/fetch_bench.exe.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
  echo "usage: scripts/wine-run.sh PROGRAM [ARG...] (PROGRAM relative to the build directory)" >&2
  exit 2
fi
program=$1
shift

source "$here/run-build.sh"
dir=$(run_build_dir "$(dirname "$here")/build")
if [ ! -f "$dir/$program" ]; then
  echo "wine-run: $dir/$program is not built (./x test builds it)" >&2
  exit 1
fi
source "$here/wine-env.sh" "$dir"
exec bash "$here/wine-session.sh" "$dir" "$BRC_WINE" "$dir/$program" "$@"
