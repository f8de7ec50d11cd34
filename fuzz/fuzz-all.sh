#!/usr/bin/env bash
# Builds every fuzz target, writes the seed corpora and fuzzes each target for the given number
# of seconds with the formats' dictionary: two targets at a time, at the lowest priority.
#   bash fuzz/fuzz-all.sh [seconds per target, default 1800] [build folder, default build-fuzz]
#                         [work folder, default fuzz]
# Corpora grow in <work>/corpus/<target>, findings land in <work>/artifacts/<target>/, logs in
# <work>/artifacts/<target>.log; the summary at the end gives executions, coverage and findings.
# Exits with 1 when a target found something or did not run to its end.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-1800}"
build="${2:-build-fuzz}"
work="${3:-fuzz}"
mkdir -p "$work"
work=$(cd "$work" && pwd)  # the PE seed writer runs the MinGW tools in another folder
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DPICTARIX_FUZZ=ON \
  -DPICTARIX_BUILD_TESTS=OFF -DPICTARIX_BUILD_UI=OFF -DCMAKE_CXX_FLAGS="-O1 -g" >/dev/null
cmake --build "$build" -j2 --target IconFileFuzzer NeReaderFuzzer PeResourcesFuzzer RoundTripFuzzer \
  CursorFuzzer pictarix_icon_seeds pictarix_ne_seeds pictarix_pe_seeds pictarix_cursor_seeds \
  pictarix_library_sweep

seeds="$work/corpus/seeds"
"$build/fuzz/pictarix_icon_seeds" "$seeds/icon" >/dev/null
"$build/fuzz/pictarix_ne_seeds" "$seeds/ne" >/dev/null
"$build/fuzz/pictarix_cursor_seeds" "$seeds/cursor" >/dev/null
"$build/fuzz/pictarix_pe_seeds" "$seeds/pe" >/dev/null || echo "no PE seeds (MinGW binutils missing)"

run() {
  local target=$1 corpus=$2
  shift 2
  mkdir -p "$work/corpus/$corpus" "$work/artifacts/$corpus"
  local status=0
  nice -n 19 "$build/fuzz/$target" "$work/corpus/$corpus" "$@" -dict=fuzz/pictarix.dict \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
    -artifact_prefix="$work/artifacts/$corpus/" -print_final_stats=1 \
    >"$work/artifacts/$corpus.log" 2>&1 || status=$?
  echo "$status" >"$work/artifacts/$corpus.status"
}
run IconFileFuzzer icon "$seeds/icon" &
run NeReaderFuzzer ne "$seeds/ne" &
wait
run PeResourcesFuzzer pe "$seeds/pe" &
run RoundTripFuzzer roundtrip "$seeds/icon" "$seeds/ne" "$seeds/pe" &
wait
run CursorFuzzer cursor "$seeds/cursor"

# The C library once over everything the runs kept: no fault, no hang.
sweep=0
timeout 300 nice -n 19 "$build/fuzz/pictarix_library_sweep" "$work/corpus" \
  >"$work/artifacts/library.log" 2>&1 || sweep=$?

failed=0
echo "library: $(tail -n 1 "$work/artifacts/library.log"), exit $sweep"
if [ "$sweep" -ne 0 ]; then
  failed=1
  tail -n 40 "$work/artifacts/library.log"
fi
for corpus in icon ne pe roundtrip cursor; do
  log="$work/artifacts/$corpus.log"
  status=$(cat "$work/artifacts/$corpus.status")
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
  findings=$(find "$work/artifacts/$corpus" -type f \( -name 'crash-*' -o -name 'oom-*' \
    -o -name 'timeout-*' -o -name 'leak-*' \) | wc -l)
  echo "$corpus: executions ${executions:-?}, ${coverage:-cov: ?}, findings $findings, exit $status"
  if [ "$findings" -ne 0 ] || [ "$status" -ne 0 ]; then
    failed=1
    tail -n 40 "$log"
  fi
done
exit "$failed"
