#!/usr/bin/env bash
# Smart Clean's preview against BleachBit's, on one synthetic Linux home, in the same run.
#
#   bench/clean_vs_bleachbit.sh [FILES]   (default 30000; needs a built ./build/src/Kelvo/kelvo)
#
# Builds the home (bench/make_bleachbit_home.py), then runs `kelvo clean --dry-run --json` and
# `bleachbit --preview` with the user-level cleaners that find something in a Linux home, both with
# HOME and the XDG folders inside the synthetic home (BleachBit's own settings and cache go there
# too, so nothing real is read or written; BleachBit only ever runs with --preview here). Prints
# the median wall time of each (7 runs, interleaved), the bytes each finds, place by place, and what
# each finds that the other does not. Installs BleachBit from Debian when it is missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
files=30000
counts files -- "$@"
bench_init
need_tools bc time bleachbit

home="$work/home"
python3 bench/make_bleachbit_home.py build "$home" --files "$files"

# The cleaners of the places a Linux home keeps for one user; nothing system-wide (apt, journald,
# /tmp), no free-space wipe, no memory.
cleaners=(
  system.cache system.trash system.recent_documents
  thumbnails.cache bash.history x11.debug_logs java.cache
  google_chrome.cache google_chrome.cookies google_chrome.history google_chrome.session
  chromium.cache chromium.cookies chromium.history
  firefox.cache firefox.cookies firefox.url_history firefox.session_restore
  thunderbird.cache slack.cache slack.cookies slack.history discord.cache discord.cookies
)

in_home() {
  env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" \
    KELVO_DEFAULTS_FILE="$work/d.ini" "$@"
}
# shellcheck disable=SC2120 # none when timed; peak_kb would pass /usr/bin/time
run_kelvo() { in_home "$@" "$kelvo" clean --dry-run --json; }
# shellcheck disable=SC2120
run_bleachbit() { in_home "$@" bleachbit --preview "${cleaners[@]}"; }

in_home "$kelvo" clean --dry-run --json > "$work/kelvo.json"
in_home bleachbit --preview "${cleaners[@]}" > "$work/bleachbit.txt" 2> /dev/null
median_of 7 kelvo bleachbit

python3 bench/make_bleachbit_home.py compare "$home" "$work/kelvo.json" "$work/bleachbit.txt"
echo
printf 'kelvo clean --dry-run  %.3f s wall, %.3f s CPU (median of 7)\n' "${median_wall[kelvo]}" "${median_cpu[kelvo]}"
printf 'bleachbit --preview    %.3f s wall, %.3f s CPU (median of 7)\n' "${median_wall[bleachbit]}" "${median_cpu[bleachbit]}"
