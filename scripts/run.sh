#!/usr/bin/env bash
# Installs what is missing, builds the release binaries and starts the window program
# (any arguments are handed to it as paths to harvest).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTARIX_BUILD_TESTS=OFF >/dev/null
cmake --build build
if [ -x build/pictarix ]; then
  exec build/pictarix "$@"
fi
echo "Built:"
for binary in build/pictarix-cli build/libpictarix_core.a; do
  [ -e "$binary" ] && echo "  $binary"
done
echo "The window program is not part of this build yet."
