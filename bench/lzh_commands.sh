#!/bin/bash
# Times the whole commands `skntool lzh c|d IN OUT` against the reference coder
# built as its own program (lzhuf_ref_tool), on the codec benchmark's corpora
# written as files. Each command runs RUNS times (default 5); the best CPU
# time (user + system) counts. Checks on the way: both coders write the same
# file, and both decoders give back the original.
#
#   bench/lzh_commands.sh [BUILD_DIR] [PACKAGE.skn]    (BUILD_DIR: build/native)
set -euo pipefail

build=${1:-build/native}
package=${2:-}
runs=${RUNS:-5}
bin=$build/bin
for tool in skntool lzhuf_ref_tool lzh_corpora; do
  [ -x "$bin/$tool" ] || { echo "lzh_commands: $bin/$tool is not built" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpora=$("$bin/lzh_corpora" "$work" $package)

# Best CPU seconds of RUNS runs of the command (the shell's own clock, to the
# millisecond).
TIMEFORMAT="%3U %3S"
best_time() {
  local best="" t
  for ((i = 0; i < runs; i++)); do
    { time "$@" >/dev/null 2>&1; } 2>"$work/time"
    t=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}

# Ratio of reference time to ours; a time under the clock's resolution counts
# as one tick.
ratio() {
  awk -v r="$1" -v o="$2" 'BEGIN { if (o < 0.001) o = 0.001; if (r < 0.001) r = 0.001; printf "%.2f", r / o }'
}

printf "%-8s %9s %8s %8s %7s %8s %8s %7s\n" corpus bytes "c ours" "c ref" ratio "d ours" "d ref" ratio
worst_c="" worst_d=""
for name in $corpora; do
  raw=$work/$name.bin
  "$bin/skntool" lzh c "$raw" "$work/$name.ours"
  "$bin/lzhuf_ref_tool" c "$raw" "$work/$name.ref"
  cmp -s "$work/$name.ours" "$work/$name.ref" || { echo "$name: coded files differ" >&2; exit 1; }
  "$bin/skntool" lzh d "$work/$name.ours" "$work/$name.back"
  cmp -s "$raw" "$work/$name.back" || { echo "$name: skntool does not decode the original" >&2; exit 1; }
  "$bin/lzhuf_ref_tool" d "$work/$name.ours" "$work/$name.refback"
  cmp -s "$raw" "$work/$name.refback" || { echo "$name: the reference does not decode ours" >&2; exit 1; }

  co=$(best_time "$bin/skntool" lzh c "$raw" "$work/$name.t")
  cr=$(best_time "$bin/lzhuf_ref_tool" c "$raw" "$work/$name.t")
  do_=$(best_time "$bin/skntool" lzh d "$work/$name.ours" "$work/$name.t")
  dr=$(best_time "$bin/lzhuf_ref_tool" d "$work/$name.ours" "$work/$name.t")
  rc=$(ratio "$cr" "$co")
  rd=$(ratio "$dr" "$do_")
  printf "%-8s %9d %8s %8s %6sx %8s %8s %6sx\n" "$name" "$(stat -c %s "$raw")" "$co" "$cr" "$rc" \
    "$do_" "$dr" "$rd"
  if [ -z "$worst_c" ] || awk -v a="$rc" -v b="$worst_c" 'BEGIN { exit !(a < b) }'; then worst_c=$rc; fi
  if [ -z "$worst_d" ] || awk -v a="$rd" -v b="$worst_d" 'BEGIN { exit !(a < b) }'; then worst_d=$rd; fi
done
echo "(CPU seconds, best of $runs; ratio = reference / ours)"
echo "worst skntool lzh c ratio: ${worst_c}x"
echo "worst skntool lzh d ratio: ${worst_d}x"
