#!/usr/bin/env bash
# Runs a command that starts a GoogleTest executable under Wine a given number of times, and
# judges it by the XML reports the runs write, not by the exit code alone: a run that ended
# quietly before its summary, or ran no test, writes no report or an empty one and fails.
# Exits 0 when every run wrote its report, the reports hold no failure and at least one test
# ran; 77 (skipped) when the tests that were due all skipped, or the command ended with 77 and
# the reports show its skips; 1 otherwise.
# Usage: run-gtest.sh <report-dir> <runs> <command> [args...]
set -u
reports="$1" runs="$2"
shift 2
rm -rf "$reports"
mkdir -p "$reports"
reports=$(cd "$reports" && pwd)
# GoogleTest takes the report place from the environment as well, so scripts in between need
# not pass it on. A trailing separator names a folder: each run writes a report of its own
# there (name.xml, name_1.xml ...). Wine's drive Z: is the Unix root.
export GTEST_OUTPUT="xml:Z:$(printf '%s' "$reports" | tr / '\\')\\"

"$@"
rc=$?

fail() {
  echo "run-gtest: FAILED: $*"
  exit 1
}

shopt -s nullglob
files=("$reports"/*.xml)
[ "${#files[@]}" -eq "$runs" ] ||
  fail "${#files[@]} test reports written, $runs expected (exit code $rc): a run ended before its summary"
complete=$(grep -l '</testsuites>' "${files[@]}" | wc -l)
[ "$complete" -eq "$runs" ] || fail "$((runs - complete)) test reports are cut short (exit code $rc)"
read -r ran skipped failed < <(awk '
  /<testcase / { if (/ status="run" result="completed"/) ran++; else if (/ status="run" result="skipped"/) skipped++ }
  /<failure / { failed++ }
  END { print ran + 0, skipped + 0, failed + 0 }' "${files[@]}")
[ "$failed" -eq 0 ] || fail "$failed failures in the reports (exit code $rc)"
echo "run-gtest: $ran tests ran and passed, $skipped skipped, in $runs runs (exit code $rc)"
if [ "$rc" -eq 77 ] || { [ "$rc" -eq 0 ] && [ "$ran" -eq 0 ]; }; then
  [ "$skipped" -gt 0 ] || fail "no test ran and none reported a skip"
  exit 77
fi
[ "$rc" -eq 0 ] || fail "exit code $rc"
exit 0
