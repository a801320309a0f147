#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to cross-build for Windows and to
# run the result under Wine with a virtual X display. Idempotent: a machine
# that already has everything is left alone without touching apt.
#
# Both mingw-w64 compilers and both Wine loaders: the programs that ship are
# 32-bit, and where the kernel runs no 32-bit code the tests run as 64-bit
# programs (see ./x).
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686 mingw-w64-i686-dev)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev)
have_pkg wine32:i386 || need+=(wine wine32:i386)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have_cmd xvfb-run || need+=(xvfb xauth)
have_cmd cmake || need+=(cmake)
have_cmd python3 || need+=(python3)
have_cmd import || need+=(imagemagick)
[ -d /usr/src/googletest ] || need+=(googletest)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing ${need[*]}; run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq </dev/null
apt-get install -y -qq --no-install-recommends "${need[@]}" </dev/null >/dev/null
