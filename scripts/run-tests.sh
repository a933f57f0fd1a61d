#!/bin/bash
# Runs the test suites of the given build trees and prints one closing line
# "N passed, N failed". Counts GoogleTest cases from their XML reports; a test
# program that failed without reporting a failing case (a crash, a sanitizer
# report at exit, a timeout) counts as one more failure, and a test without a
# report (a corpus replay) counts as one case.
#
#   run-tests.sh BUILD_DIR [BUILD_DIR...]
#
# Windows suites run under Wine on one shared Xvfb display started here.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${MV_TEST_JOBS:-2}

XVFB_PID=
cleanup() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
}
trap cleanup EXIT

start_xvfb() {
  [ -n "${MV_DISPLAY:-}" ] && return 0
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export MV_DISPLAY=":$n"
        return 0
      fi
      kill "$XVFB_PID" 2>/dev/null
      XVFB_PID=
    fi
  done
  echo "run-tests: no X display could be started" >&2
  return 1
}

# Prints "passed failed skipped" for one GoogleTest XML report.
count_xml() {
  awk '
    /<testcase / {
      open = 1; failed = 0; skipped = 0
      if ($0 ~ /result="skipped"/) skipped = 1
      if ($0 ~ /\/>[[:space:]]*$/) { open = 0; if (skipped) s++; else p++ }
      next
    }
    open && /<failure/ { failed = 1 }
    open && /<skipped/ { skipped = 1 }
    open && /<\/testcase>/ {
      open = 0
      if (failed) f++; else if (skipped) s++; else p++
    }
    END { printf "%d %d %d\n", p, f, s }
  ' "$1"
}

total_pass=0
total_fail=0
total_skip=0
failed_names=()

for arg in "$@"; do
  build=$(cd "$arg" 2>/dev/null && pwd) || build=$arg
  name=$(basename "$build")
  if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "run-tests: $build is not a configured build tree" >&2
    total_fail=$((total_fail + 1))
    continue
  fi
  if grep -q 'CMAKE_SYSTEM_NAME:INTERNAL=Windows\|CMAKE_SYSTEM_NAME:UNINITIALIZED=Windows' "$build/CMakeCache.txt" 2>/dev/null ||
     grep -q '^CMAKE_CROSSCOMPILING_EMULATOR' "$build/CMakeCache.txt" 2>/dev/null ||
     grep -q 'wine-run.sh' "$build/CTestTestfile.cmake" "$build"/*/CTestTestfile.cmake "$build"/*/*/CTestTestfile.cmake 2>/dev/null; then
    start_xvfb || { total_fail=$((total_fail + 1)); continue; }
  fi
  rm -rf "$build/test-xml"
  mkdir -p "$build/test-xml"
  junit="$build/test-xml/ctest-junit.xml"
  echo "== $name"
  (cd "$build" && ctest -j "$JOBS" --output-on-failure --output-junit "$junit" 2>&1) |
    grep -v '^ *Start ' | sed 's/^/   /' | tail -n 200
  pass=0; fail=0; skip=0
  # One line per ctest test: name and whether ctest saw it fail.
  while IFS=' ' read -r test status; do
    [ -z "$test" ] && continue
    report="$build/test-xml/$test.xml"
    if [ -f "$report" ]; then
      read -r p f s < <(count_xml "$report")
      if [ "$status" = fail ] && [ "$f" = 0 ]; then f=1; fi
    else
      p=0; f=0; s=0
      if [ "$status" = fail ]; then f=1; else p=1; fi
    fi
    pass=$((pass + p)); fail=$((fail + f)); skip=$((skip + s))
    if [ "$f" != 0 ]; then failed_names+=("$name/$test"); fi
  done < <(awk '
    /<testcase / {
      if (match($0, /name="[^"]*"/)) t = substr($0, RSTART + 6, RLENGTH - 7)
      st = ($0 ~ /status="fail"/) ? "fail" : "run"
      if ($0 ~ /\/>[[:space:]]*$/) { print t, st; t = "" }
      next
    }
    t != "" && /<failure/ { st = "fail" }
    t != "" && /<\/testcase>/ { print t, st; t = "" }
  ' "$junit" 2>/dev/null)
  if [ ! -s "$junit" ]; then
    echo "   no test results from ctest" >&2
    fail=$((fail + 1))
  fi
  echo "   $name: $pass passed, $fail failed${skip:+, $skip skipped}"
  total_pass=$((total_pass + pass)); total_fail=$((total_fail + fail)); total_skip=$((total_skip + skip))
done

if [ ${#failed_names[@]} -gt 0 ]; then
  echo "failing: ${failed_names[*]}"
fi
[ "$total_skip" -gt 0 ] && echo "($total_skip skipped)"
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" = 0 ]
