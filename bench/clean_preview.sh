#!/usr/bin/env bash
# Smart Clean preview against du, paired runs on the same warm tree.
#
#   bench/clean_preview.sh [FILES]     (default 180000; needs a built ./build/src/Kelvo/kelvo)
#
# The synthetic Linux home spreads FILES files over ten places of the catalogue. Prints the median
# wall and CPU times of `kelvo clean --dry-run` and of `du -sk` over the same places, the wall-time
# ratio Kelvo/du (target: at most 0.6, the places being measured on every core) and Kelvo's peak
# memory (target: under 100 MB). Installs time and bc when they are missing.
#
# On the quiet 2-core build machine (21 paired runs, medians): Kelvo 0.259 s wall / 0.476 s CPU,
# du 0.501 s / 0.499 s, ratio 0.52 (at most 0.58).
# Medians on the 2-core build machine with other builds running (load 8-10): before the raw-name
# walk, Kelvo 1.56 s wall / 0.77 s CPU against du's 1.05 s / 0.54 s (ratio 1.49); after it, Kelvo
# 1.09 s / 0.56 s against du's 1.13 s / 0.57 s (ratio 0.96; at load 6, 0.75 s against 0.79 s, 0.95). With every core busy the wall times
# follow the CPU times; on a quiet machine Kelvo's CPU time is spread over both cores (see
# docs/smart-clean-linux.md).
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=180000
counts files -- "$@"
bench_init
need_tools bc time

home="$work/home"
python3 bench/make_clean_home.py "$home" --files "$files"
paths=()
while IFS= read -r place; do paths+=("$home/$place"); done < "$home/measured-places.txt"

run_kelvo() { sandboxed "$@" "$kelvo" clean --dry-run; }
run_du() { du -sk "${paths[@]}"; }

run_du > /dev/null  # warm the cache
median_of 7 kelvo du

printf 'files                  %d over %d places, %d cores\n' "$files" "${#paths[@]}" "$(nproc)"
printf 'kelvo clean --dry-run  %.3f s wall, %.3f s CPU (median of 7)\n' "${median_wall[kelvo]}" "${median_cpu[kelvo]}"
printf 'du -sk                 %.3f s wall, %.3f s CPU (median of 7)\n' "${median_wall[du]}" "${median_cpu[du]}"
printf 'ratio kelvo/du         %.2f  (target <= 0.6)\n' "$(ratio "${median_wall[kelvo]}" "${median_wall[du]}")"
printf 'kelvo peak memory      %.1f MB  (target < 100 MB)\n' "$(mb "$(peak_kb kelvo)")"
