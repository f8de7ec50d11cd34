#!/usr/bin/env bash
# Installs what is missing, builds the release binaries and starts the window program
# (any arguments are handed to it as paths to harvest).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTARIX_BUILD_TESTS=OFF >/dev/null
cmake --build build
exec build/pictarix "$@"
