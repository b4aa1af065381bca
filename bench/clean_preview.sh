#!/usr/bin/env bash
# Smart Clean preview against du, in one run on the same warm tree.
#
#   bench/clean_preview.sh [FILES]     (default 200000; needs a built ./build/src/Kelvo/kelvo)
#
# Prints the wall time of `kelvo clean --dry-run` and of `du -sk` over the same locations, the
# ratio Kelvo/du (target: at most 1.2) and Kelvo's peak memory (target: under 100 MB).
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-200000}
kelvo=${KELVO:-build/src/Kelvo/kelvo}
[ -x "$kelvo" ] || { echo "build Kelvo first (make build)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs GNU time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
python3 bench/make_clean_home.py "$home" --files "$files"
paths=()
while IFS= read -r place; do paths+=("$home/$place"); done < "$home/measured-places.txt"

seconds() { local s; s=$(date +%s.%N); echo "$s"; }
best() { sort -g | head -n 1; }

# Warm the cache once, then take the best of five runs of each, interleaved.
du -sk "${paths[@]}" > /dev/null
kelvo_times=(); du_times=()
for run in 1 2 3 4 5; do
  t0=$(seconds); HOME="$home" KELVO_DEFAULTS_FILE="$work/d.ini" "$kelvo" clean --dry-run > /dev/null; t1=$(seconds)
  kelvo_times+=("$(echo "$t1 - $t0" | bc)")
  t0=$(seconds); du -sk "${paths[@]}" > /dev/null; t1=$(seconds)
  du_times+=("$(echo "$t1 - $t0" | bc)")
done
kelvo_best=$(printf '%s\n' "${kelvo_times[@]}" | best)
du_best=$(printf '%s\n' "${du_times[@]}" | best)
peak_kb=$( { HOME="$home" KELVO_DEFAULTS_FILE="$work/d.ini" /usr/bin/time -f '%M' "$kelvo" clean --dry-run > /dev/null; } 2>&1 | tail -n 1)

printf 'files            %d\n' "$files"
printf 'kelvo clean --dry-run  %.3f s (best of 5)\n' "$kelvo_best"
printf 'du -sk                 %.3f s (best of 5)\n' "$du_best"
printf 'ratio kelvo/du         %.2f  (target <= 1.2)\n' "$(echo "$kelvo_best / $du_best" | bc -l)"
printf 'kelvo peak memory      %.1f MB  (target < 100 MB)\n' "$(echo "$peak_kb / 1024" | bc -l)"
