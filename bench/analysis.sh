#!/usr/bin/env bash
# Disk analysis against du, gdu and ncdu, in one run on the same warm tree.
#
#   bench/analysis.sh [--files N]     (default 1000000; needs a built ./build/src/Kelvo/kelvo)
#
# Prints the wall time of `kelvo analyze --json`, `du -sk`, `gdu -n -p` and `ncdu -0 -o /dev/null`
# over the same tree (best of three interleaved runs), the ratios Kelvo/peer (targets: at most 1.0
# against du, under 1.0 against gdu and ncdu) and the peak memory of each (Kelvo: under 64 MB).
# Installs gdu, ncdu, time and bc when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
files=1000000
while [ $# -gt 0 ]; do
  case $1 in
    --files) files=$2; shift 2 ;;
    --files=*) files=${1#--files=}; shift ;;
    [0-9]*) files=$1; shift ;;
    *) echo "usage: $0 [--files N]" >&2; exit 2 ;;
  esac
done
kelvo=${KELVO:-build/src/Kelvo/kelvo}
[ -x "$kelvo" ] || { echo "build Kelvo first (make build)" >&2; exit 1; }

missing=()
command -v gdu > /dev/null || missing+=(gdu)
command -v ncdu > /dev/null || missing+=(ncdu)
command -v bc > /dev/null || missing+=(bc)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]}" >&2
  sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" > /dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
mkdir -p "$work/home"
python3 bench/make_analysis_tree.py "$tree" --files "$files"

run_kelvo() { HOME="$work/home" KELVO_DEFAULTS_FILE="$work/d.ini" "$@" "$kelvo" analyze --json "$tree"; }
run_du() { "$@" du -sk "$tree"; }
run_gdu() { HOME="$work/home" "$@" gdu -n -p "$tree"; }
run_ncdu() { HOME="$work/home" "$@" ncdu -0 -o /dev/null "$tree"; }
tools=(kelvo du gdu ncdu)

seconds() { local s; s=$(date +%s.%N); echo "$s"; }
best() { sort -g | head -n 1; }
mb() { echo "$1 / 1024" | bc -l; }

# Warm the cache once, then take the best of three runs of each, interleaved.
du -sk "$tree" > /dev/null
declare -A times
for run in 1 2 3; do
  for tool in "${tools[@]}"; do
    t0=$(seconds); "run_$tool" > /dev/null; t1=$(seconds)
    times[$tool]+="$(echo "$t1 - $t0" | bc) "
  done
done
declare -A best_of peak_kb
for tool in "${tools[@]}"; do
  best_of[$tool]=$(printf '%s\n' ${times[$tool]} | best)
  peak_kb[$tool]=$( { "run_$tool" /usr/bin/time -f '%M' > /dev/null; } 2>&1 | tail -n 1)
done

# What Kelvo counted, next to what the generator made.
counted=$(run_kelvo | python3 -c 'import json, sys; print(json.load(sys.stdin).get("total_files", "?"))')

ratio() { echo "${best_of[kelvo]} / ${best_of[$1]}" | bc -l; }
printf 'files                      %d (kelvo counted %s)\n' "$files" "$counted"
printf 'kelvo analyze --json       %8.3f s (best of 3)  peak %6.1f MB  (target < 64 MB)\n' \
  "${best_of[kelvo]}" "$(mb "${peak_kb[kelvo]}")"
printf 'du -sk                     %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[du]}" "$(mb "${peak_kb[du]}")"
printf 'gdu -n -p                  %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[gdu]}" "$(mb "${peak_kb[gdu]}")"
printf 'ncdu -0 -o /dev/null       %8.3f s (best of 3)  peak %6.1f MB\n' "${best_of[ncdu]}" "$(mb "${peak_kb[ncdu]}")"
printf 'ratio kelvo/du             %8.2f  (target <= 1.0)\n' "$(ratio du)"
printf 'ratio kelvo/gdu            %8.2f  (target < 1.0)\n' "$(ratio gdu)"
printf 'ratio kelvo/ncdu           %8.2f  (target < 1.0)\n' "$(ratio ncdu)"
