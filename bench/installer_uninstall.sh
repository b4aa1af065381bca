#!/usr/bin/env bash
# Installer scan of a Downloads folder of 50,000 files (it must keep its 8-second budget) and the
# uninstall scan of 200 applications with leftovers (target: under 2 seconds), each beside a find
# baseline over the same places, in one run on the same warm tree.
#
#   bench/installer_uninstall.sh [FILES] [APPS]   (needs a built ./build/src/Kelvo/kelvo)
#
# Installs bc when it is missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=50000 apps=200
counts files apps -- "$@"
bench_init
need_tools bc

home="$work/home"
python3 bench/make_downloads_and_apps.py "$home" --files "$files" --apps "$apps"

run_kelvo_installer() { sandboxed "$kelvo" installer --dry-run; }
run_find_installers() {
  find "$home/Downloads" "$home/Desktop" "$home/Documents" -maxdepth 3 -type f \
    \( -name '*.dmg' -o -name '*.pkg' -o -name '*.mpkg' -o -name '*.iso' -o -name '*.xip' -o -name '*.zip' \) \
    -printf '%s %p\n' 2> /dev/null || true
}
run_kelvo_uninstall() { sandboxed "$kelvo" uninstall --dry-run; }
run_find_apps() {
  du -sk "$home"/Applications/*.app
  find "$home/Library" -maxdepth 2 -iname '*example*' -exec du -sk {} +
}

run_find_installers > /dev/null; run_find_apps > /dev/null  # warm the cache
time_best_of 3 kelvo_installer find_installers kelvo_uninstall find_apps
ki=${best_of[kelvo_installer]}; fi=${best_of[find_installers]}
ku=${best_of[kelvo_uninstall]}; fa=${best_of[find_apps]}

printf 'downloads files              %d\n' "$files"
printf 'kelvo installer --dry-run    %.3f s (best of 3; budget 8 s)\n' "$ki"
printf 'find baseline                %.3f s   ratio kelvo/find %.2f\n' "$fi" "$(ratio "$ki" "$fi")"
printf 'applications                 %d\n' "$apps"
printf 'kelvo uninstall --dry-run    %.3f s (best of 3; target < 2 s)\n' "$ku"
printf 'du + find baseline           %.3f s   ratio kelvo/baseline %.2f\n' "$fa" "$(ratio "$ku" "$fa")"
