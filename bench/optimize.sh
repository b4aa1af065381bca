#!/usr/bin/env bash
# The optimisation preview against find, in one run on the same warm tree.
#
#   bench/optimize.sh [ENTRIES]     (default 100000; needs a built ./build/src/Kelvo/kelvo)
#
# Builds a home whose folders measured by this system's optimisation steps hold ENTRIES files, then
# times `kelvo optimize --dry-run --json` and `find` over the same folders, in turn, seven runs each
# (medians under GNU time), and prints the ratio Kelvo/find (target: at most 1.2) and Kelvo's peak
# memory. Installs time and bc when they are missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
entries=100000
counts entries -- "$@"
bench_init
need_tools bc time

home="$work/home"
system=linux
[ "$(uname -s)" = Darwin ] && system=macos
python3 bench/make_optimize_home.py "$home" --entries "$entries" --system "$system"
folders=()
while IFS= read -r folder; do folders+=("$home/$folder"); done < "$home/measured-folders.txt"

run_kelvo() { sandboxed "$@" "$kelvo" optimize --dry-run --json; }
run_find() { "$@" find "${folders[@]}"; }

find "${folders[@]}" > /dev/null # warm the cache
median_of 7 kelvo find

printf 'entries in the measured folders  %d\n' "$entries"
printf 'kelvo optimize --dry-run --json  %.3f s wall, %.3f s cpu (medians of 7)\n' "${median_wall[kelvo]}" "${median_cpu[kelvo]}"
printf 'find over the same folders       %.3f s wall, %.3f s cpu (medians of 7)\n' "${median_wall[find]}" "${median_cpu[find]}"
printf 'ratio kelvo/find (wall)          %.2f  (target <= 1.2)\n' "$(ratio "${median_wall[kelvo]}" "${median_wall[find]}")"
printf 'kelvo peak memory                %.1f MB\n' "$(mb "$(peak_kb kelvo)")"
