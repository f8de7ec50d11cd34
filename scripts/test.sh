#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs every test, then builds the fuzz targets with clang and runs each for a short smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICTARIX_SANITIZE=ON >/dev/null
cmake --build build-test
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j "$(nproc)" --timeout 600
# The smoke run keeps its corpora and findings in the build folder, apart from long fuzzing runs.
rm -rf build-fuzz/smoke
env -u ASAN_OPTIONS -u UBSAN_OPTIONS bash fuzz/fuzz-all.sh 20 build-fuzz build-fuzz/smoke
