#!/usr/bin/env bash
# Disk analysis against du, gdu and ncdu, in one run on the same warm tree, for two shapes of tree:
# many small folders (24 files each on average) and a few big ones (5,000 files each).
#
#   bench/analysis.sh [--files N]     (default 1000000; needs a built ./build/src/Kelvo/kelvo)
#
# For each shape, Kelvo's walk to a complete tree (`kelvo analyze --json`), `du -sk`, `gdu -n -p`
# and `ncdu -0 -o /dev/null` over the same tree: medians of three interleaved runs of wall and CPU
# time (user + system: Kelvo walks on every core, so its CPU can exceed its wall time), the wall
# ratios Kelvo/peer, each one's peak memory and Kelvo's peak bytes per item. Targets on the
# million-file tree: Kelvo at most 0.6 x du's wall time and at most 96 MB.
# Installs gdu, ncdu, time and bc when they are missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=1000000
counts files -- "$@"
bench_init
need_tools gdu ncdu bc time

tree="$work/tree"
run_kelvo() { sandboxed "$@" "$kelvo" analyze --json "$tree"; }
run_du() { "$@" du -sk "$tree"; }
run_gdu() { sandboxed "$@" gdu -n -p "$tree"; }
run_ncdu() { sandboxed "$@" ncdu -0 -o /dev/null "$tree"; }
tools=(kelvo du gdu ncdu)

for per_folder in 24 5000; do
  rm -rf "$tree"
  printf '== %s\n' "$(python3 bench/make_analysis_tree.py "$tree" --files "$files" --per_folder "$per_folder")"
  du -sk "$tree" > /dev/null # warm the cache
  median_of 3 "${tools[@]}"
  declare -A peak=()
  for tool in "${tools[@]}"; do peak[$tool]=$(peak_kb "$tool"); done
  items=$(find "$tree" | wc -l)
  counted=$(sandboxed "$kelvo" analyze --json "$tree" | python3 -c 'import json, sys; print(json.load(sys.stdin).get("total_files", "?"))')
  printf '  items %d (kelvo counted %s files)\n' "$items" "$counted"
  for tool in "${tools[@]}"; do
    printf '  %-6s wall %7.3f s  cpu %7.3f s  peak %7.1f MB\n' "$tool" "${median_wall[$tool]}" \
      "${median_cpu[$tool]}" "$(mb "${peak[$tool]}")"
  done
  printf '  kelvo/du %.2f (target <= 0.6)  kelvo/gdu %.2f  kelvo/ncdu %.2f  kelvo bytes per item %.0f\n' \
    "$(ratio "${median_wall[kelvo]}" "${median_wall[du]}")" "$(ratio "${median_wall[kelvo]}" "${median_wall[gdu]}")" \
    "$(ratio "${median_wall[kelvo]}" "${median_wall[ncdu]}")" "$(echo "${peak[kelvo]} * 1024 / $items" | bc -l)"
done
