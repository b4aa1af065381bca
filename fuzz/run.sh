#!/usr/bin/env bash
# Runs every fuzz target for a while and says what it found.
#
#   fuzz/run.sh BUILD_DIR SECONDS [JOBS]
#
# Each target starts from its seed corpus in fuzz/corpus/<target> and the recorded tool outputs of
# tests/fixtures it reads (never written to), plus what earlier runs found (BUILD_DIR/corpus/<target>),
# runs for SECONDS, and prints its executions. JOBS targets
# run at a time. A crash, a sanitizer report or a broken property fails the run; the input that did it
# is kept as BUILD_DIR/findings/<target>-crash-... for replaying (./BUILD_DIR/fuzz/<target> FILE).
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2
jobs=${3:-2}
mkdir -p "$build/corpus" "$build/findings" "$build/logs"

# The recorded outputs in tests/fixtures that a target reads, as seeds beside its own.
fixture_seeds() {
  case $1 in
    fuzz_mac_status) echo tests/fixtures/macos tests/fixtures/mac-replay tests/fixtures/mac-replay-battery-pac ;;
    fuzz_report_json) echo tests/fixtures/status ;;
    fuzz_ncdu_export) echo tests/fixtures/ncdu ;;
  esac
}
export -f fixture_seeds

run_one() {
  local target=$1 build=$2 seconds=$3
  mkdir -p "$build/corpus/$target"
  # shellcheck disable=SC2046 # one word per folder
  "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "fuzz/corpus/$target" \
    $(fixture_seeds "$target") > "$build/logs/$target.log" 2>&1
  echo $? > "$build/logs/$target.status"
}
export -f run_one

targets=()
for binary in "$build"/fuzz/fuzz_*; do
  [ -x "$binary" ] && [ -f "$binary" ] && targets+=("$(basename "$binary")")
done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$build" "$seconds"

failed=0
total=0
printf '%-24s %14s  %s\n' target executions result
for target in "${targets[@]}"; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$target.log" | tail -n 1)
  status=$(cat "$build/logs/$target.status")
  result=ok
  if [ "$status" != 0 ]; then
    result="FINDING (see $build/logs/$target.log)"
    failed=1
  fi
  printf '%-24s %14s  %s\n' "$target" "${runs:-0}" "$result"
  total=$((total + ${runs:-0}))
done
printf '%-24s %14s\n' total "$total"
exit $failed
