#!/usr/bin/env bash
# Smart Clean preview against du, in one run on the same warm tree.
#
#   bench/clean_preview.sh [FILES]     (default 200000; needs a built ./build/src/Kelvo/kelvo)
#
# Prints the wall time of `kelvo clean --dry-run` and of `du -sk` over the same locations, the
# ratio Kelvo/du (target: at most 1.2) and Kelvo's peak memory (target: under 100 MB).
# Installs time and bc when they are missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=200000
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
time_best_of 5 kelvo du

printf 'files            %d\n' "$files"
printf 'kelvo clean --dry-run  %.3f s (best of 5)\n' "${best_of[kelvo]}"
printf 'du -sk                 %.3f s (best of 5)\n' "${best_of[du]}"
printf 'ratio kelvo/du         %.2f  (target <= 1.2)\n' "$(ratio "${best_of[kelvo]}" "${best_of[du]}")"
printf 'kelvo peak memory      %.1f MB  (target < 100 MB)\n' "$(mb "$(peak_kb kelvo)")"
