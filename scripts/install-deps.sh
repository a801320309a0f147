#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to cross-build for Windows and to
# run the result under Wine with a virtual X display. Idempotent: a machine
# that already has everything is left alone without touching apt.
#
# Both mingw-w64 compilers and both Wine loaders: the programs that ship are
# 32-bit, and where the kernel runs no 32-bit code the tests run as 64-bit
# programs (see ./x).
#
# The package registry is not always whole: an index may fail to download
# while its mirror syncs, and then the i386 libraries that wine32 needs at the
# exact versions of the installed amd64 ones may have no candidate. The index
# update is retried and then taken as it is, and an install that cannot be
# resolved is tried again from the release's own suite.
#
# BRC_INSTALL_ROOT (default /) is where files and /etc/os-release are looked
# for, and BRC_APT_PAUSE the seconds between update attempts; both are for
# the script's own tests, which replay apt's failures with stand-in commands.
set -euo pipefail

root=${BRC_INSTALL_ROOT:-}
pause=${BRC_APT_PAUSE:-5}

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686 mingw-w64-i686-dev)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev)
have_pkg wine32:i386 || need+=(wine wine32:i386)
[ -x "$root/usr/lib/wine/wine64" ] || need+=(wine64)
have_cmd xvfb-run || need+=(xvfb xauth)
have_cmd cmake || need+=(cmake)
have_cmd python3 || need+=(python3)
[ -d "$root/usr/src/googletest" ] || need+=(googletest)
# Screenshots of the virtual display.
have_cmd import || need+=(imagemagick)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

by_hand() {
  local suite
  suite=$(release_suite)
  echo "  dpkg --add-architecture i386 && apt-get update; apt-get install -y${suite:+ -t $suite} ${need[*]}"
}

# The release's own suite (bookworm), from /etc/os-release.
release_suite() {
  sed -n 's/^VERSION_CODENAME=//p' "$root/etc/os-release" 2>/dev/null | tr -d '"' | head -n 1
}

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing ${need[*]}; run as root to install them, or by hand:" >&2
  by_hand >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# A failed index is often a mirror in the middle of a sync: a later attempt
# may find it whole. After the last attempt the indexes that did download
# are used; the install below says whether they were enough.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
updated=
for attempt in 1 2 3; do
  if apt-get update -qq </dev/null >"$log" 2>&1; then
    updated=1
    break
  fi
  if [ "$attempt" -lt 3 ]; then
    sleep "$pause"
  fi
done
if [ -z "$updated" ]; then
  echo "install-deps: apt-get update failed 3 times; going on with the package indexes it got:" >&2
  grep -E '^(E|W):' "$log" | head -n 5 >&2 || true
fi

install() {
  apt-get install -y -qq --no-install-recommends "$@" "${need[@]}" </dev/null >"$log" 2>&1
}

if install; then
  exit 0
fi
# Multiarch wants the i386 libraries at the versions of the installed amd64
# ones; with a suite's index missing those may have no candidate ("held
# broken packages"), while the release's own suite has them all.
suite=$(release_suite)
if [ -n "$suite" ]; then
  echo "install-deps: the install could not be resolved; trying again from the suite $suite" >&2
  if install -t "$suite"; then
    exit 0
  fi
fi
echo "install-deps: could not install ${need[*]}. apt-get said:" >&2
grep -E '^(E|W):|held broken|Unable to|unmet' "$log" | head -n 8 >&2 || tail -n 8 "$log" >&2
echo "install-deps: once the package registry answers again, run:" >&2
by_hand >&2
exit 1
