#!/usr/bin/env bash
# Fails when a Windows binary imports a compiler runtime DLL: every binary
# must run without libstdc++, libgcc or winpthread beside it.
set -euo pipefail
status=0
for binary in "$@"; do
  imports=$("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
  if [ -z "$imports" ]; then
    echo "$binary: no import table found" >&2
    status=1
  fi
  if echo "$imports" | grep -i -E 'libstdc|libgcc|winpthread|mingw'; then
    echo "$binary imports a runtime DLL" >&2
    status=1
  fi
done
exit $status
