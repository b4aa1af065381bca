#!/usr/bin/env bash
# Disk analysis against du, gdu and ncdu, in one run on the same warm tree.
#
#   bench/analysis.sh [--files N]     (default 1000000; needs a built ./build/src/Kelvo/kelvo)
#
# Prints the wall time of `kelvo analyze --json`, `du -sk`, `gdu -n -p` and `ncdu -0 -o /dev/null`
# over the same tree (best of three interleaved runs), the ratios Kelvo/peer (targets: at most 1.0
# against du, under 1.0 against gdu and ncdu) and the peak memory of each (Kelvo: under 64 MB).
# Installs gdu, ncdu, time and bc when they are missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=1000000
counts files -- "$@"
bench_init
need_tools gdu ncdu bc time

tree="$work/tree"
python3 bench/make_analysis_tree.py "$tree" --files "$files"

run_kelvo() { sandboxed "$@" "$kelvo" analyze --json "$tree"; }
run_du() { "$@" du -sk "$tree"; }
run_gdu() { sandboxed "$@" gdu -n -p "$tree"; }
run_ncdu() { sandboxed "$@" ncdu -0 -o /dev/null "$tree"; }
tools=(kelvo du gdu ncdu)

du -sk "$tree" > /dev/null  # warm the cache
time_best_of 3 "${tools[@]}"
declare -A peak
for tool in "${tools[@]}"; do peak[$tool]=$(mb "$(peak_kb "$tool")"); done

# What Kelvo counted, next to what the generator made.
counted=$(sandboxed "$kelvo" analyze --json "$tree" | python3 -c 'import json, sys; print(json.load(sys.stdin).get("total_files", "?"))')

printf 'files                      %d (kelvo counted %s)\n' "$files" "$counted"
printf 'kelvo analyze --json       %8.3f s (best of 3)  peak %6.1f MB  (target < 64 MB)\n' \
  "${best_of[kelvo]}" "${peak[kelvo]}"
printf 'du -sk                     %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[du]}" "${peak[du]}"
printf 'gdu -n -p                  %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[gdu]}" "${peak[gdu]}"
printf 'ncdu -0 -o /dev/null       %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[ncdu]}" "${peak[ncdu]}"
printf 'ratio kelvo/du             %8.2f  (target <= 1.0)\n' "$(ratio "${best_of[kelvo]}" "${best_of[du]}")"
printf 'ratio kelvo/gdu            %8.2f  (target < 1.0)\n' "$(ratio "${best_of[kelvo]}" "${best_of[gdu]}")"
printf 'ratio kelvo/ncdu           %8.2f  (target < 1.0)\n' "$(ratio "${best_of[kelvo]}" "${best_of[ncdu]}")"
