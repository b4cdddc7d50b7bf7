#!/usr/bin/env bash
# Throughput of sorv-cli on a 1 GiB file of random bytes, against the GNU
# tools doing the same work: split -b for the split, cat for the join, cp for
# a whole-file copy. The split fingerprints every slice and the join checks
# them, so `cat | xxhsum` (reading and fingerprinting the pieces once, writing
# nothing) and xxhsum of every slice are measured too, for comparison; so is
# a join of a script without fingerprints. Recovery slices: a split with 1
# against a plain split, a split with 4 against a plain split followed by
# `par2 create` of 4 recovery blocks of the slice size over the same slices,
# a join that rebuilds one missing slice against a plain join. Prints the
# times, the ratios sorv / reference, and the peak resident memory of
# sorv-cli (with 4 recovery slices too, at 1,4 Mo and at 99 Mo).
#
#   bench/throughput.sh [SORV-CLI]     (or SORV_CLI=...; default build/native/bin/sorv-cli)
#   SORV_BENCH_MIB=1024 SORV_BENCH_RUNS=7
#   SORV_BENCH_ONLY=REGEX      runs only the rows whose name matches (grep -E)
#
# Exit status: 0 when every target is met, 1 when one is missed, 2 when the
# benchmark itself could not run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-${SORV_CLI:-$top/build/native/bin/sorv-cli}}
mib=${SORV_BENCH_MIB:-1024}
runs=${SORV_BENCH_RUNS:-7}
# Below one Zip-size slice there would be nothing to cut.
[ "$mib" -ge 95 ] || { echo "throughput: SORV_BENCH_MIB must be 95 or more" >&2; exit 2; }

if [ ! -x "$cli" ]; then
  if [ "$cli" = "$top/build/native/bin/sorv-cli" ]; then
    "$top/tools/build.sh" native
  else
    echo "throughput: no program at $cli" >&2; exit 2
  fi
fi
for tool in hyperfine /usr/bin/time split cat cp awk xxhsum par2; do
  command -v "$tool" >/dev/null || { echo "throughput: $tool is missing (tools/setup.sh installs it)" >&2; exit 2; }
done
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")

work=$(mktemp -d /tmp/sorv-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/join" "$work/ref" "$work/old" "$work/rec"
deg=$'\xC2\xB0'

echo "throughput: $mib MiB of random bytes in $work, $runs runs each"
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/src/data.bin"

# Slices and a script for the join, made once by sorv-cli itself, away from
# the source so that the join rebuilds a file of its own.
"$cli" -t 4 "$work/src/data.bin" >/dev/null
mv "$work/src/data.${deg}"* "$work/src/data.d" "$work/join/"
# The same pieces made by GNU split, for cat.
split -d -a 4 -b 1433600 "$work/src/data.bin" "$work/join/gnu."
# The same slices again (hard links) with a script of the layout without
# fingerprints: its first four lines.
ln "$work/join/data.${deg}"* "$work/old/"
head -n 4 "$work/join/data.d" >"$work/old/data.d"
# A set with one recovery slice, of which a slice in the middle is missing.
"$cli" -t 4 -s 1 "$work/src/data.bin" >/dev/null
mv "$work/src/data.${deg}"* "$work/src/data.d" "$work/rec/"
slices=("$work/rec/data.${deg}"[0-9]*)
rm "${slices[${#slices[@]} / 2]}"

q() { printf '%q' "$1"; }
S=$(q "$cli"); SRC=$(q "$work/src/data.bin"); SRCDIR=$(q "$work/src"); REF=$(q "$work/ref"); JOIN=$(q "$work/join")
OLD=$(q "$work/old"); REC=$(q "$work/rec")
# Every prepare ends with sync: the runs before leave gigabytes of dirty
# pages, and their write-back must not land in whichever command runs next.
clean_src="rm -f $SRCDIR/data.${deg}* $SRCDIR/data.d; sync"
# bench NAME SORV-COMMAND SORV-PREPARE REFERENCE REF-COMMAND REF-PREPARE TARGET ("-": for comparison only)
benches=()
bench() { benches+=("$(printf '%s\t' "$@")"); }
bench "split 1,4 Mo" "$S -t 4 $SRC" "$clean_src" "split -b 1433600" "split -d -a 4 -b 1433600 $SRC $REF/x." "rm -f $REF/*; sync" 1.0
bench "split 99 Mo" "$S -t zip $SRC" "$clean_src" "split -b 99123200" "split -d -a 4 -b 99123200 $SRC $REF/x." "rm -f $REF/*; sync" 1.0
bench "split 99 Mo vs cp" "$S -t zip $SRC" "$clean_src" "cp" "cp $SRC $REF/copy" "rm -f $REF/*; sync" 1.3
bench "join 1,4 Mo" "$S -n $JOIN/data.d" "rm -f $JOIN/data.bin; sync" "cat" "cat $JOIN/gnu.* > $REF/out" "rm -f $REF/*; sync" 1.0
bench "join 1,4 Mo" "$S -n $JOIN/data.d" "rm -f $JOIN/data.bin; sync" "cat | xxhsum" "cat $JOIN/gnu.* | xxhsum" "sync" -
bench "join, old script" "$S -n $OLD/data.d" "rm -f $OLD/data.bin; sync" "cat" "cat $JOIN/gnu.* > $REF/out" "rm -f $REF/*; sync" 1.0
bench "split +1 secours" "$S -t 4 -s 1 $SRC" "$clean_src" "split 1,4 Mo" "$S -t 4 $SRC" "$clean_src" 1.15
bench "split +4 secours" "$S -t 4 -s 4 $SRC" "$clean_src" "split + par2 -c4" "$S -t 4 $SRC >/dev/null && par2 create -q -q -s1433600 -c4 -n1 $SRCDIR/p.par2 $SRCDIR/data.${deg}*" "$clean_src; rm -f $SRCDIR/p*.par2" 0.35
bench "join, 1 rebuilt" "$S -n $REC/data.d" "rm -f $REC/data.bin; sync" "join 1,4 Mo" "$S -n $JOIN/data.d" "rm -f $JOIN/data.bin; sync" 1.5
bench "--verifier" "$S --verifier $JOIN/data.d" "sync" "xxhsum of slices" "xxhsum $JOIN/gnu.* >/dev/null" "sync" -

# The two commands of a row take turns, run after run: this machine's speed
# drifts (page allocation, write-back) by more than the ratios measure, and
# the drift must hit both alike. The first turn warms the caches and is not
# counted. The drift only ever adds time (a write that waits on the host's
# page allocation can take two to ten times as long, in bursts), so each
# command's fastest turn is its own cost and decides; the medians are shown
# beside it to say how far the machine drifted.
time_of() { awk -F, 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "mean") col = i } NR == 1 + n { print $col }' n="$2" "$1"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
rows=()
missed=0
for b in "${benches[@]}"; do
  IFS=$'\t' read -r name sorv sorv_prep label ref ref_prep target <<<"$b"
  [ -z "${SORV_BENCH_ONLY:-}" ] || grep -qE -- "$SORV_BENCH_ONLY" <<<"$name" || continue
  csv="$work/result.csv"
  : >"$work/sorv.times"; : >"$work/ref.times"
  for ((turn = 0; turn <= runs; ++turn)); do
    hyperfine --style none --runs 1 --export-csv "$csv" \
      --prepare "$sorv_prep" "$sorv" --prepare "$ref_prep" "$ref" >"$work/hyperfine.log" 2>&1 ||
      { cat "$work/hyperfine.log" >&2; exit 2; }
    [ "$turn" -gt 0 ] || continue
    time_of "$csv" 1 >>"$work/sorv.times"; time_of "$csv" 2 >>"$work/ref.times"
  done
  t_sorv=$(sort -g "$work/sorv.times" | head -n 1); t_ref=$(sort -g "$work/ref.times" | head -n 1)
  ratio=$(awk -v a="$t_sorv" -v b="$t_ref" 'BEGIN { printf "%.2f", a / b }')
  median_ratio=$(awk -v a="$(median <"$work/sorv.times")" -v b="$(median <"$work/ref.times")" 'BEGIN { printf "%.2f", a / b }')
  if [ "$target" = - ]; then
    verdict=""
  else
    verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t) ? "ok" : "MISS" }')
    [ "$verdict" = ok ] || missed=1
  fi
  rows+=("$(printf '%-18s %10.3f %10.3f  %-18s %6s  %6s  <= %-4s %s' "$name" "$t_sorv" "$t_ref" "$label" "$ratio" "$median_ratio" "$target" "$verdict")")
done
eval "$clean_src"
# The last join runs left their rebuilt files: they must be the source again.
for rebuilt in "$work/join/data.bin" "$work/old/data.bin" "$work/rec/data.bin"; do
  # A row left out by SORV_BENCH_ONLY rebuilt nothing.
  [ -n "${SORV_BENCH_ONLY:-}" ] && [ ! -e "$rebuilt" ] && continue
  cmp -s "$work/src/data.bin" "$rebuilt" || { echo "throughput: the join did not give the source back" >&2; exit 2; }
done

# Peak resident memory, from the kernel's own accounting.
peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}
rss_split=$(peak "$cli" -t 4 "$work/src/data.bin"); eval "$clean_src"
rss_zip=$(peak "$cli" -t zip "$work/src/data.bin"); eval "$clean_src"
rss_split4=$(peak "$cli" -t 4 -s 4 "$work/src/data.bin"); eval "$clean_src"
rss_zip4=$(peak "$cli" -t zip -s 4 "$work/src/data.bin"); eval "$clean_src"
rm -f "$work/rec/data.bin"
rss_rebuild=$(peak "$cli" -n "$work/rec/data.d")
rm -f "$work/join/data.bin"
rss_join=$(peak "$cli" -n "$work/join/data.d")
cmp -s "$work/src/data.bin" "$work/join/data.bin" ||
  { echo "throughput: the join did not give the source back" >&2; exit 2; }
limit_kib=8192
# Recovery slices keep their bands in memory: the whole run stays below 64 MiB.
limit_recovery_kib=65536

echo
printf '%-18s %10s %10s  %-18s %6s  %6s  %s\n' "work (fastest)" "sorv (s)" "ref (s)" "reference" "ratio" "median" "target"
printf '%s\n' "${rows[@]}"
echo
for r in "split 1,4 Mo:$rss_split" "split 99 Mo:$rss_zip" "join 1,4 Mo:$rss_join"; do
  kib=${r##*:}
  verdict=ok; [ "$kib" -le "$limit_kib" ] || { verdict=MISS; missed=1; }
  printf 'peak RSS %-13s %6d KiB  <= %d KiB %s\n' "${r%%:*}" "$kib" "$limit_kib" "$verdict"
done
for r in "split 1,4 Mo +4:$rss_split4" "split 99 Mo +4:$rss_zip4" "join, 1 rebuilt:$rss_rebuild"; do
  kib=${r##*:}
  verdict=ok; [ "$kib" -le "$limit_recovery_kib" ] || { verdict=MISS; missed=1; }
  printf 'peak RSS %-15s %6d KiB  <= %d KiB %s\n' "${r%%:*}" "$kib" "$limit_recovery_kib" "$verdict"
done
exit "$missed"
