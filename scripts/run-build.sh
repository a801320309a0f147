# shellcheck shell=bash
# Sourced: which build's programs run on this machine. ./x and
# scripts/wine-run.sh both ask here, so they always pick the same one.
#
# Some kernels have 32-bit x86 execution turned off; 32-bit Wine cannot start
# there. The 32-bit programs are still built, and the same tree is built for
# 64-bit Windows as well, whose programs then run under 64-bit Wine.
# BRC_TEST_ARCH=x86_64 picks the 64-bit build on any kernel.

kernel_runs_i386() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

runs_32bit_build() {
  [ "${BRC_TEST_ARCH:-}" != x86_64 ] && kernel_runs_i386
}

# Prints the directory of the build whose programs run here, for the tree
# whose 32-bit build is in $1.
run_build_dir() {
  if runs_32bit_build; then
    echo "$1"
  else
    echo "$1/win64"
  fi
}
