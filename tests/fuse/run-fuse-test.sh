#!/usr/bin/env bash
# Builds the damaged-disc file system with the host compiler, mounts it, and runs the Windows
# test exe under Wine against the mounted file. Exit 77 marks the test skipped when FUSE cannot
# mount here; the exe then reports the reason as skipped too.
# Usage: run-fuse-test.sh <test-exe> <work-dir>
set -u
exe="$1"
work="$2"
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
mnt="$work/mnt"
mkdir -p "$mnt"
fusermount3 -u "$mnt" >/dev/null 2>&1 || true

skip() {
  echo "FUSE test skipped: $1"
  SALVA_FUSE_SKIP="$1" wine "$exe"
  exit 77
}

command -v fusermount3 >/dev/null 2>&1 || skip "fusermount3 is not installed"
[ -e /dev/fuse ] || skip "/dev/fuse is missing"
flags=$(pkg-config --cflags --libs fuse3 2>/dev/null) || skip "libfuse3-dev is not installed"
# shellcheck disable=SC2086
cc -O2 -Wall -Wextra "$here/badfs.c" -o "$work/badfs" $flags || skip "the FUSE helper does not build"

# 3 MB of bytes none of which is 0, so that every 0 in a copy is a byte never written; three
# damaged stretches, the last one close enough to the end that its skip passes the end. The
# failing drive and the vanishing file give out after the first MB.
head -c 3145728 /dev/urandom | tr '\000' '\001' > "$work/backing.bin"
ranges="200000-200010,2100000-2100000,3140000-3140000"
fail_after=1000000
"$work/badfs" "$work/backing.bin" "$ranges" "$fail_after" "$mnt" -f >"$work/badfs.log" 2>&1 &
pid=$!
for _ in $(seq 1 $((50 * ${SALVA_TEST_TIME_SCALE:-1}))); do
  [ -f "$mnt/disc.dat" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -f "$mnt/disc.dat" ]; then
  kill "$pid" >/dev/null 2>&1
  wait "$pid" 2>/dev/null
  skip "FUSE cannot mount here: $(tr '\n' ' ' < "$work/badfs.log")"
fi

winpath() { echo "Z:$1" | tr '/' '\\'; }
SALVA_FUSE_SOURCE=$(winpath "$mnt/disc.dat") SALVA_FUSE_BACKING=$(winpath "$work/backing.bin") \
  SALVA_FUSE_BAD="$ranges" wine "$exe"
rc=$?
fusermount3 -u "$mnt" >/dev/null 2>&1 || kill "$pid" >/dev/null 2>&1
wait "$pid" 2>/dev/null
rm -f "$work/backing.bin"
exit $rc
