#!/usr/bin/env bash
# `pictarix-cli list --json` over a generated tree of ordinary files (96% small data files, 3%
# icon files, 1% icon libraries), against the floor: a C walker that lists every folder and
# opens, fstats and reads 64 bytes of every file (bench/floor-walk.c). Warm cache, one run.
# Usage: bench/cli-vs-floor.sh [TREE [BUILD_DIR]]   (the tree is generated when missing)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=${1:-/tmp/pictarix-bench-tree}
build=${2:-build-rel}
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 1; }
[ -d "$tree" ] || "$build/bench/pictarix_harvest_bench" generate "$tree" 60000 100 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -Wall -Wextra -o "$work/floor-walk" "$here/floor-walk.c"
hyperfine -N --style none --warmup 3 --runs 15 --export-csv "$work/times.csv" \
  "$build/pictarix-cli list --json $tree" "$work/floor-walk $tree" >/dev/null 2>&1
files=$("$work/floor-walk" "$tree")
awk -F, -v files="${files% files}" 'NR == 2 { ours = $2 } NR == 3 { floor = $2 }
  END { printf "files: %d\npictarix-cli: %.3f s (%.0f files/s)\nfloor walker: %.3f s\nratio: %.2f\n",
        files, ours, files / ours, floor, ours / floor }' "$work/times.csv"
