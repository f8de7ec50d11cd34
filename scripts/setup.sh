#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the fuzz targets need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev
  libpng-dev zlib1g-dev libdeflate-dev
  libjpeg62-turbo-dev
  libgif-dev
  libgtest-dev
  clang libclang-rt-14-dev
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 cpp
  python3-gi gir1.2-gnomedesktop-3.0 bubblewrap
  python3 python3-pytest universal-ctags
  libxcursor-dev x11-apps icoutils hyperfine
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
