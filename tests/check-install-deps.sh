#!/usr/bin/env bash
# Replays what apt did on a fresh machine against scripts/install-deps.sh,
# with stand-in apt-get, dpkg, dpkg-query and id first in PATH: no network,
# no root, nothing installed. Each case sets how the stand-ins answer and
# checks what the script called, said and returned.
set -uo pipefail
script=$(cd "$(dirname "$0")/.." && pwd)/scripts/install-deps.sh
bash=$(command -v bash)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
# The real tools the script uses besides the stand-ins (process starts are
# slow on some machines: one link call per case).
tools=()
for tool in bash cat grep sed tr head tail mktemp rm sleep; do
  tools+=("$(command -v "$tool")")
done

# Every package a machine without any of them needs, in the script's order.
all_needed="g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine32:i386 wine64 xvfb xauth cmake python3 googletest imagemagick"

# The apt-get update output of 2026-12-09, with a reserved host name and a
# documentation address in place of the mirror's.
mirror_sync="E: Failed to fetch http://mirror.example.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (123456 != 123400). Mirror sync in progress? [IP: 192.0.2.10 80]
E: Some index files failed to download. They have been ignored, or old ones used instead."
held_broken="E: Unable to correct problems, you have held broken packages."

# A machine: stand-in commands in $case/bin, files under $case/root.
#   new_case NAME   then  answer FILE TEXT  for the stand-ins' behaviour
new_case() {
  case_dir="$work/$1"
  mkdir -p "$case_dir/bin" "$case_dir/root/etc" "$case_dir/answers"
  echo 'VERSION_CODENAME=bookworm' >"$case_dir/root/etc/os-release"
  : >"$case_dir/calls"
  ln -s "${tools[@]}" "$case_dir/bin/"
  # Each stand-in logs its arguments and answers from answers/.
  stand_in apt-get '
case "$1" in
  update)
    n=$(cat "$answers/update-count" 2>/dev/null || echo 0); echo $((n + 1)) >"$answers/update-count"
    fails=$(cat "$answers/update-fails" 2>/dev/null || echo 0)
    if [ "$n" -lt "$fails" ]; then cat "$answers/update-output" >&2; exit 100; fi ;;
  install)
    case " $* " in
      *" -t "*) answer=pinned ;;
      *) answer=plain ;;
    esac
    if [ -f "$answers/$answer-fails" ]; then cat "$answers/$answer-fails" >&2; exit 100; fi ;;
esac
exit 0'
  stand_in dpkg '
case "$1" in
  --print-foreign-architectures) cat "$answers/foreign" 2>/dev/null ;;
esac
exit 0'
  stand_in dpkg-query 'exit 1'
  stand_in id 'cat "$answers/uid" 2>/dev/null || echo 0'
  chmod +x "$case_dir/bin/"*
}

stand_in() {
  printf '#!%s\nanswers=%q\necho "%s $*" >>%q\n%s\n' "$bash" "$case_dir/answers" "$1" \
    "$case_dir/calls" "$2" >"$case_dir/bin/$1"
}

answer() { printf '%s\n' "$2" >"$case_dir/answers/$1"; }

# A machine that has everything the script looks for.
give_everything() {
  local tool
  for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix xvfb-run cmake python3 import; do
    printf '#!%s\n' "$bash" >"$case_dir/bin/$tool"
  done
  mkdir -p "$case_dir/root/usr/lib/wine" "$case_dir/root/usr/src/googletest"
  printf '#!%s\n' "$bash" >"$case_dir/root/usr/lib/wine/wine64"
  stand_in dpkg-query 'echo "install ok installed"'
  chmod +x "$case_dir/bin/"* "$case_dir/root/usr/lib/wine/wine64"
}

run_script() {
  PATH="$case_dir/bin" BRC_INSTALL_ROOT="$case_dir/root" BRC_APT_PAUSE=0 \
    "$bash" "$script" >"$case_dir/out" 2>&1
  status=$?
}

fail() {
  echo "FAILED $current: $*" >&2
  echo "  calls:" >&2
  sed 's/^/    /' "$case_dir/calls" >&2
  echo "  output:" >&2
  sed 's/^/    /' "$case_dir/out" >&2
  failures=$((failures + 1))
}

expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"; }
expect_calls() {
  local expected
  expected=$(printf '%s\n' "$@")
  # Only the calls that change the machine or read its package state.
  [ "$(grep -E '^(apt-get|dpkg) ' "$case_dir/calls")" = "$expected" ] || fail "apt and dpkg calls differ from:
$expected"
}
expect_said() { grep -qF -- "$1" "$case_dir/out" || fail "did not say: $1"; }

current="update failing on one index and an unresolvable install: retried, then pinned to bookworm"
new_case mirror-sync
answer update-fails 99
answer update-output "$mirror_sync"
answer plain-fails "$held_broken"
run_script
expect_status 0
expect_calls "dpkg --print-foreign-architectures" "dpkg --add-architecture i386" \
  "apt-get update -qq" "apt-get update -qq" "apt-get update -qq" \
  "apt-get install -y -qq --no-install-recommends $all_needed" \
  "apt-get install -y -qq --no-install-recommends -t bookworm $all_needed"
expect_said "apt-get update failed 3 times; going on"
expect_said "Mirror sync in progress?"
expect_said "trying again from the suite bookworm"

current="update failing once: the second attempt is taken, no pinned install"
new_case update-once
answer foreign i386
answer update-fails 1
answer update-output "$mirror_sync"
run_script
expect_status 0
expect_calls "dpkg --print-foreign-architectures" "apt-get update -qq" "apt-get update -qq" \
  "apt-get install -y -qq --no-install-recommends $all_needed"

current="install failing even pinned: one message naming what is missing and the command"
new_case unresolvable
answer foreign i386
answer update-fails 99
answer update-output "$mirror_sync"
answer plain-fails "$held_broken"
answer pinned-fails "$held_broken"
run_script
expect_status 1
expect_said "install-deps: could not install $all_needed. apt-get said:"
expect_said "$held_broken"
expect_said "apt-get install -y -t bookworm $all_needed"

current="nothing missing: apt is not touched"
new_case complete
give_everything
run_script
expect_status 0
expect_calls

current="only imagemagick missing: only it is installed"
new_case no-import
give_everything
rm "$case_dir/bin/import"
answer foreign i386
run_script
expect_status 0
expect_calls "dpkg --print-foreign-architectures" "apt-get update -qq" \
  "apt-get install -y -qq --no-install-recommends imagemagick"

current="not root: says what is missing and how to install it, calls no apt"
new_case not-root
answer uid 1000
run_script
expect_status 1
expect_calls
expect_said "install-deps: missing $all_needed; run as root"
expect_said "apt-get install -y -t bookworm $all_needed"

if [ "$failures" -ne 0 ]; then
  echo "$failures case(s) failed" >&2
  exit 1
fi
echo "install-deps: all cases passed"
