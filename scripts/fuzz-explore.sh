#!/usr/bin/env bash
# Open-ended fuzzing, time-boxed: each fuzz target for the given seconds (default 60) from a
# random seed, starting from the same inputs as CI. A crash, leak, timeout or out-of-memory input
# is copied into tools/fuzz/seeds/<target>/ as finding-<target>-<sha1>, so that CI replays it from
# then on; commit it with the mend. Exits 1 when something was found.
#   scripts/fuzz-explore.sh [seconds per target] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/fuzz-common.sh

seconds="${1:-60}"
shift || true
targets="${*:-$fuzz_targets}"

fuzz_build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fuzz_inputs "$work/inputs"

found=0
for name in $targets; do
  mkdir -p "$work/corpus/$name" "$work/artifacts/$name"
  echo "-- $name: ${seconds} s"
  # A finding ends the target's run with a non-zero status; the others still get their turn.
  build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$name/" \
    "$work/corpus/$name" "$work/inputs/$name" </dev/null >"$work/$name.log" 2>&1 || true
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' "$work/$name.log" || true
  for artifact in "$work/artifacts/$name"/*; do
    [ -f "$artifact" ] || continue
    mkdir -p "tools/fuzz/seeds/$name" build-fuzz/findings
    kept="tools/fuzz/seeds/$name/finding-$name-$(sha1sum "$artifact" | cut -c1-16)"
    cp "$artifact" "$kept"
    # The fuzzer's report (the stack of the fault) stays beside the build, not in the project.
    cp "$work/$name.log" "build-fuzz/findings/$name.log"
    echo "finding ($(basename "$artifact" | cut -d- -f1)): $kept, report in build-fuzz/findings/$name.log"
    found=1
  done
done
[ "$found" = 0 ] || { echo "findings copied into tools/fuzz/seeds/: mend them and commit them"; exit 1; }
