# Sourced: the Wine environment of one build directory. Each build gets its
# own 32-bit prefix, and the locale is pinned so the ANSI code page is 1252.
build=${1:?build directory}
export WINEPREFIX="$build/wine-prefix"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=C LC_ALL=C
