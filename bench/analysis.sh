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
# million-file tree: Kelvo at most 0.6 x du's wall time and at most 96 MB. Then, with the tree walked
# once, what opening the root and the deepest folder costs (bench/tree_open.cpp: the report, the
# sorted children, the views and the treemap the window computes), and whether `gdu -n -f` reading
# Kelvo's export of the tree prints what `gdu -n` prints for the tree itself. SHAPES="24" runs one
# shape only.
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

# The opening benchmark links the engine the build made.
opener="$work/tree_open"
# shellcheck disable=SC2046 # pkg-config's flags are words
c++ -std=c++20 -O2 -fPIC bench/tree_open.cpp -Isrc/KelvoCore build/src/KelvoCore/libKelvoCore.a \
  $(pkg-config --cflags --libs Qt6Core Qt6Concurrent Qt6Network libplist-2.0) -o "$opener"

for per_folder in ${SHAPES:-24 5000}; do
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
  "$opener" "$tree"
  sandboxed "$kelvo" analyze --export "$work/export.json" "$tree" > /dev/null 2>&1
  if diff <(gdu -n "$tree" | sed "s|$tree/||") <(gdu -n -f "$work/export.json" | sed "s|$tree/||") > /dev/null; then
    echo "  gdu -n -f of Kelvo's export prints what gdu -n prints for the tree"
  else
    echo "  gdu -n -f of Kelvo's export differs from gdu -n:"
    diff <(gdu -n "$tree" | sed "s|$tree/||") <(gdu -n -f "$work/export.json" | sed "s|$tree/||") | head -10
  fi
  rm -f "$work/export.json"
done
