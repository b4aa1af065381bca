#!/usr/bin/env bash
# `make install` into a temporary prefix puts the two programs, the desktop entry and the icon there,
# the installed command line answers from its new place, and `make uninstall` takes away every file
# it put there and nothing else (a file of someone else's in the same folders stays).
set -euo pipefail
source_dir=$1
build_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
mkdir -p "$prefix/bin"
echo "another program" > "$prefix/bin/neighbour"

make -s -C "$source_dir" install BUILD_DIR="$build_dir" PREFIX="$prefix" >/dev/null
for file in bin/kelvo bin/kelvo-window share/applications/kelvo.desktop \
    share/icons/hicolor/scalable/apps/kelvo.svg; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
HOME="$prefix" "$prefix/bin/kelvo" --version | grep -q '^Kelvo ' || { echo "the installed kelvo does not answer" >&2; exit 1; }

make -s -C "$source_dir" uninstall BUILD_DIR="$build_dir" >/dev/null
left=$(cd "$prefix" && find . -type f ! -path './bin/neighbour' ! -path './.config/*' ! -path './.local/*')
[ -z "$left" ] || { echo "left behind after uninstall: $left" >&2; exit 1; }
[ -f "$prefix/bin/neighbour" ] || { echo "uninstall removed a file it did not install" >&2; exit 1; }
echo "install and uninstall: ok"
