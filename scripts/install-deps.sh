#!/usr/bin/env bash
# Installs what Kelvo needs to build, run and test. Idempotent: installs only what is missing.
# Debian 12 (as root, or with sudo) and macOS with Homebrew.
set -euo pipefail

debian_packages=(
  build-essential cmake ninja-build pkg-config clang-format python3
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev
  libgl-dev libglx-dev libxkbcommon-dev
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-window qml6-module-qtquick-templates qml6-module-qtquick-dialogs
  qml6-module-qtqml-workerscript qml6-module-qtcore qml6-module-qt-labs-platform
  qml6-module-qt5compat-graphicaleffects qt6-5compat-dev qml6-module-qt-labs-folderlistmodel
  qt6-qpa-plugins qt6-image-formats-plugins libqt6svg6
  fonts-noto-cjk fonts-dejavu-core
  libplist-dev
  unzip
  file dpkg-dev  # `make package`: the .deb's library dependencies are read with dpkg-shlibdeps
)

# `--clang` adds clang, for a build with it; `--fuzz` adds clang with its libFuzzer and sanitizer
# runtimes, for `make fuzz`.
fuzz=0
case "${1:-}" in
  --clang) debian_packages+=(clang) ;;
  --fuzz)
    fuzz=1
    debian_packages+=(clang libclang-rt-dev)
    ;;
esac

install_debian() {
  local missing=()
  for p in "${debian_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all Debian packages present"
    return
  fi
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_macos() {
  command -v brew >/dev/null || { echo "install-deps: Homebrew is required (https://brew.sh)" >&2; exit 1; }
  local formulas=(qt cmake ninja pkg-config clang-format libplist)
  [ $fuzz -eq 1 ] && formulas+=(llvm)
  for f in "${formulas[@]}"; do
    brew list --formula "$f" >/dev/null 2>&1 || brew install "$f"
  done
}

case "$(uname -s)" in
  Linux) install_debian ;;
  Darwin) install_macos ;;
  *) echo "install-deps: unsupported system $(uname -s)" >&2; exit 1 ;;
esac
