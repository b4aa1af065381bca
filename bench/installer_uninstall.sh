#!/usr/bin/env bash
# Installer scan of a Downloads folder of 50,000 files (it must keep its 8-second budget) and the
# uninstall scan of 200 applications with leftovers (target: under 2 seconds), each beside a find
# baseline over the same places, in one run on the same warm tree.
#
#   bench/installer_uninstall.sh [FILES] [APPS]   (needs a built ./build/src/Kelvo/kelvo)
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-50000}
apps=${2:-200}
kelvo=${KELVO:-build/src/Kelvo/kelvo}
[ -x "$kelvo" ] || { echo "build Kelvo first (make build)" >&2; exit 1; }
for tool in bc; do command -v "$tool" > /dev/null || apt-get install -y -qq "$tool" > /dev/null; done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
python3 bench/make_downloads_and_apps.py "$home" --files "$files" --apps "$apps"

seconds() { date +%s.%N; }
best() { sort -g | head -n 1; }
run_kelvo() { HOME="$home" KELVO_DEFAULTS_FILE="$work/d.ini" "$kelvo" "$@" > /dev/null; }
find_installers() {
  find "$home/Downloads" "$home/Desktop" "$home/Documents" -maxdepth 3 -type f \
    \( -name '*.dmg' -o -name '*.pkg' -o -name '*.mpkg' -o -name '*.iso' -o -name '*.xip' -o -name '*.zip' \) \
    -printf '%s %p\n' 2> /dev/null > /dev/null || true
}
find_apps() {
  du -sk "$home"/Applications/*.app > /dev/null
  find "$home/Library" -maxdepth 2 -iname '*example*' -exec du -sk {} + > /dev/null
}

declare -A times
for name in kelvo_installer find_installers kelvo_uninstall find_apps; do times[$name]=""; done
find_installers; find_apps   # warm the cache
for run in 1 2 3; do
  t0=$(seconds); run_kelvo installer --dry-run; t1=$(seconds); times[kelvo_installer]+="$(echo "$t1 - $t0" | bc)"$'\n'
  t0=$(seconds); find_installers; t1=$(seconds); times[find_installers]+="$(echo "$t1 - $t0" | bc)"$'\n'
  t0=$(seconds); run_kelvo uninstall --dry-run; t1=$(seconds); times[kelvo_uninstall]+="$(echo "$t1 - $t0" | bc)"$'\n'
  t0=$(seconds); find_apps; t1=$(seconds); times[find_apps]+="$(echo "$t1 - $t0" | bc)"$'\n'
done
b() { printf '%s' "${times[$1]}" | grep -v '^$' | best; }
ki=$(b kelvo_installer); fi=$(b find_installers); ku=$(b kelvo_uninstall); fa=$(b find_apps)
printf 'downloads files              %d\n' "$files"
printf 'kelvo installer --dry-run    %.3f s (best of 3; budget 8 s)\n' "$ki"
printf 'find baseline                %.3f s   ratio kelvo/find %.2f\n' "$fi" "$(echo "$ki / $fi" | bc -l)"
printf 'applications                 %d\n' "$apps"
printf 'kelvo uninstall --dry-run    %.3f s (best of 3; target < 2 s)\n' "$ku"
printf 'du + find baseline           %.3f s   ratio kelvo/baseline %.2f\n' "$fa" "$(echo "$ku / $fa" | bc -l)"
