#!/usr/bin/env bash
# Project purge preview against find + du and npkill, in one run on the same warm projects.
#
#   bench/purge.sh [--projects N]     (default 200; needs a built ./build/src/Kelvo/kelvo)
#
# Prints the wall time of `kelvo purge --dry-run` and of a baseline that finds the same build
# folders (find -prune) and measures them (du -sk), best of five interleaved runs, the ratio
# Kelvo/baseline (target: at most 1.5) and Kelvo's peak memory. npkill is timed too when it can
# run without a terminal; otherwise the output says so. Installs time, bc and npkill when missing.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
projects=200
counts projects -- "$@"
bench_init
need_tools bc time
if ! command -v npkill > /dev/null && command -v npm > /dev/null; then
  echo "installing npkill" >&2
  as_root npm install -g --silent --no-fund --no-audit npkill > /dev/null || true
fi

# The build folders Kelvo looks for, by name, plus the two-level .idea/system.
names=(node_modules bower_components target build .build dist out .cache venv .venv env .env
  .pytest_cache .mypy_cache .tox .nox .ruff_cache .pytype .coverage .gradle .kotlin __pycache__
  .next .nuxt .output vendor bin obj .turbo .parcel-cache .vite .webpack .rollup.cache .dart_tool
  build-cache .zig-cache zig-out .angular .svelte-kit .astro coverage DerivedData .swiftpm Pods
  Carthage .cxx .expo .expo-shared .serverless .terraform .vscode-test)
match=()
for name in "${names[@]}"; do match+=(-name "$name" -o); done
match+=(-path '*/.idea/system')

root="$work/projects"
python3 bench/make_projects.py "$root" --projects "$projects" --list "$work/expected.txt"

run_kelvo() { sandboxed "$@" "$kelvo" purge --dry-run "$root"; }
run_baseline() {
  find "$root" -maxdepth 6 -type d \( "${match[@]}" \) -prune -print0 | xargs -0 -r du -sk
}
run_npkill() { sandboxed "$@" npkill --json --no-check-update -d "$root" < /dev/null; }

# The baseline must find exactly the folders the generator made.
found=$(find "$root" -maxdepth 6 -type d \( "${match[@]}" \) -prune -print | wc -l)
expected=$(wc -l < "$work/expected.txt")
[ "$found" -eq "$expected" ] || echo "warning: find lists $found build folders, the generator made $expected" >&2

# npkill only runs when it has a non-interactive output (JSON); older releases need a terminal.
npkill_note=
if ! command -v npkill > /dev/null; then
  npkill_note="npkill is not installed (needs npm); not timed"
elif ! npkill --help < /dev/null 2> /dev/null | grep -q -- '--json'; then
  version=$(npkill --version < /dev/null 2> /dev/null | tr -d '\r' | tail -n 1)
  npkill_note="npkill ${version:-?} has no non-interactive mode (it needs a terminal); not timed"
fi
tools=(kelvo baseline)
[ -n "$npkill_note" ] || tools+=(npkill)

du -sk "$root" > /dev/null  # warm the cache
time_best_of 5 "${tools[@]}"
listed=$(sandboxed "$kelvo" purge --dry-run --json "$root" |
  python3 -c 'import json, sys; print(len(json.load(sys.stdin).get("entries", [])))')

printf 'projects                   %d (%d build folders made, kelvo lists %s)\n' "$projects" "$expected" "$listed"
printf 'kelvo purge --dry-run      %8.3f s (best of 5)\n' "${best_of[kelvo]}"
printf 'find -prune + du -sk       %8.3f s (best of 5)\n' "${best_of[baseline]}"
if [ -n "$npkill_note" ]; then
  printf '%s\n' "$npkill_note"
else
  printf 'npkill --json (node_modules only) %8.3f s (best of 5)\n' "${best_of[npkill]}"
fi
printf 'ratio kelvo/baseline       %8.2f  (target <= 1.5)\n' "$(ratio "${best_of[kelvo]}" "${best_of[baseline]}")"
[ -n "$npkill_note" ] ||
  printf 'ratio kelvo/npkill         %8.2f\n' "$(ratio "${best_of[kelvo]}" "${best_of[npkill]}")"
printf 'kelvo peak memory          %8.1f MB\n' "$(mb "$(peak_kb kelvo)")"
