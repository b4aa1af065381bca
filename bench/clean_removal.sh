#!/usr/bin/env bash
# A real Smart Clean against rm -rf of the same places' contents, in one run on the same tree.
#
#   bench/clean_removal.sh [FILES]     (default 180000; needs a built ./build/src/Kelvo/kelvo)
#
# Every run starts from the same tree: a pristine copy is linked into the home (cp -al) before each
# run, outside the timing. Kelvo's run is the whole `kelvo clean --yes`: a preview that measures every
# place, then the clean, which reaches each place without links, checks its identity and asks the
# protection list about every item it removes. The peer empties the same places with rm -rf. Prints
# the best wall time of each, the ratio Kelvo/rm and Kelvo's peak memory. Installs time and bc when
# they are missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=180000
counts files -- "$@"
bench_init
need_tools bc time

pristine="$work/pristine"
python3 bench/make_clean_home.py "$pristine" --files "$files" > /dev/null
# A protection list that protects nothing here, so both sides remove the same files (the defaults
# would keep Gradle's caches). Kelvo still asks it about every item.
mkdir -p "$pristine/.config/kelvo"
# shellcheck disable=SC2016 # the list entry is written as it stands, $HOME and all
printf '%s\n' '$HOME/.nothing-protected-here' > "$pristine/.config/kelvo/whitelist"
home="$work/home"
places=()
while IFS= read -r place; do places+=("$place"); done < "$pristine/measured-places.txt"

restore() { rm -rf "$home" && cp -al "$pristine" "$home"; }
run_kelvo() { sandboxed "$@" "$kelvo" clean --yes; }
run_rm() {
  local place
  for place in "${places[@]}"; do
    find "$home/$place" -mindepth 1 -maxdepth 1 -exec "$@" rm -rf {} +
  done
}

# timed NAME: restores the tree, then times one run of run_NAME alone.
timed() {
  local t0 t1
  restore
  t0=$(date +%s.%N); "run_$1" > /dev/null; t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc
}

declare -A times=()
for run in 1 2 3 4 5; do
  for name in kelvo rm; do times[$name]+="$(timed "$name") "; done
done
for name in kelvo rm; do
  # shellcheck disable=SC2086 # split on the spaces between the times
  best_of[$name]=$(printf '%s\n' ${times[$name]} | sort -g | head -n 1)
done
restore
peak=$(peak_kb kelvo)
left=$(find "$home" -type f | wc -l)

printf 'files                   %d (%d left after a clean: the place list and the protection list)\n' "$files" "$left"
printf 'kelvo clean --yes       %.3f s (best of 5, preview and clean)\n' "${best_of[kelvo]}"
printf 'rm -rf of the contents  %.3f s (best of 5)\n' "${best_of[rm]}"
printf 'ratio kelvo/rm          %.2f\n' "$(ratio "${best_of[kelvo]}" "${best_of[rm]}")"
printf 'kelvo peak memory       %.1f MB\n' "$(mb "$peak")"
