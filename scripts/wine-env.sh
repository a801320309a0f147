# Sourced: the Wine environment of one build directory. Each build gets its
# own prefix, and the locale is pinned so the ANSI code page is 1252.
#
# A build of 32-bit programs runs under 32-bit Wine; a build of 64-bit
# programs (made where the kernel cannot run 32-bit code, see ./x) under
# Wine's 64-bit loader, called directly because Debian's `wine` wrapper
# prefers the 32-bit one whenever it is installed.
build=${1:?build directory}
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=C LC_ALL=C
if grep -qs 'x86_64-w64-mingw32' "$build/CMakeCache.txt"; then
  export WINEARCH=win64
  export BRC_WINE=/usr/lib/wine/wine64
  export BRC_WINESERVER=/usr/lib/wine/wineserver64
else
  export WINEARCH=win32
  export BRC_WINE=wine
  export BRC_WINESERVER=wineserver
fi
