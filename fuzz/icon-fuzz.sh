#!/usr/bin/env bash
# Builds the icon-file fuzzer, writes its seeds and fuzzes for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPICTARIX_FUZZ=ON \
  -DPICTARIX_BUILD_TESTS=OFF -DPICTARIX_BUILD_UI=OFF -DCMAKE_CXX_FLAGS="-O1 -g" >/dev/null
cmake --build build-fuzz -j2 --target IconFileFuzzer pictarix_icon_seeds
build-fuzz/fuzz/pictarix_icon_seeds fuzz/corpus/icon
mkdir -p fuzz/artifacts
build-fuzz/fuzz/IconFileFuzzer fuzz/corpus/icon -max_total_time="$seconds" -rss_limit_mb=2048 \
  -artifact_prefix=fuzz/artifacts/ -print_final_stats=1
