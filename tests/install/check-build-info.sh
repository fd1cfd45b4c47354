#!/usr/bin/env bash
# The build information names the commit of the checkout, "unknown" where the sources are
# not a repository of their own (an unpacked tarball, also inside another repository), or
# the commit a packager gives; an unchanged header is not rewritten (nothing rebuilds).
# Argument: the source folder.
set -uo pipefail
source=$(realpath "$1")
script=$source/cmake/VantorBuildInfo.cmake
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAILED: $*"; status=1; }

commit_of() {  # $1: source folder, $2: commit given (may be empty); prints the commit named
  cmake -DSOURCE_DIR="$1" -DOUTPUT="$work/info.h" -DVERSION=9.8.7 -DCOMMIT="$2" -P "$script" ||
    return 1
  grep -q '^#define VANTOR_VERSION_TEXT "9.8.7"$' "$work/info.h" || echo "version missing"
  sed -n 's/^#define VANTOR_COMMIT_TEXT "\(.*\)"$/\1/p' "$work/info.h"
}

# A tarball: no repository at all.
mkdir -p "$work/tarball"
got=$(commit_of "$work/tarball" "")
[[ $got == unknown ]] || fail "a tarball's commit is '$got'"

# Given by a packager.
got=$(commit_of "$work/tarball" "1a2b3c")
[[ $got == 1a2b3c ]] || fail "the given commit came out as '$got'"

if command -v git >/dev/null; then
  # Unpacked inside another repository: that repository's commit is not ours.
  git -C "$work" init -q outer
  git -C "$work/outer" -c user.name=t -c user.email=t@t commit -q --allow-empty -m outer
  mkdir -p "$work/outer/vantor-0.1.0"
  got=$(commit_of "$work/outer/vantor-0.1.0" "")
  [[ $got == unknown ]] || fail "a tarball inside another repository took its commit '$got'"
  # The repository itself: its commit, marked when there are changes not committed.
  head=$(git -C "$work/outer" rev-parse --short=12 HEAD)
  got=$(commit_of "$work/outer" "")
  [[ $got == "$head" ]] || fail "the checkout's commit is '$got', expected '$head'"
  echo x >"$work/outer/file" && git -C "$work/outer" add file
  got=$(commit_of "$work/outer" "")
  [[ $got == "$head-dirty" ]] || fail "a checkout with changes reads '$got'"
  # This project's own checkout, when it is one.
  if [[ $(git -C "$source" rev-parse --show-toplevel 2>/dev/null) == "$source" ]]; then
    head=$(git -C "$source" rev-parse --short=12 HEAD)
    got=$(commit_of "$source" "")
    [[ $got == "$head" || $got == "$head-dirty" ]] || fail "this checkout reads '$got'"
  fi
fi

# Unchanged: the header keeps its time stamp.
commit_of "$work/tarball" "" >/dev/null
touch -d @1000000000 "$work/info.h"
commit_of "$work/tarball" "" >/dev/null
[[ $(stat -c %Y "$work/info.h") == 1000000000 ]] || fail "an unchanged header was rewritten"
commit_of "$work/tarball" "abc" >/dev/null
[[ $(stat -c %Y "$work/info.h") != 1000000000 ]] || fail "a changed header was not rewritten"

[[ $status -eq 0 ]] && echo "ok: build information"
exit $status
