#!/usr/bin/env bash
# Compares `pictarix-cli list --all --json` with `wrestool -l --type=14` over the same modules,
# warm cache, in one run. Usage: bench/cli-vs-wrestool.sh [DIR] [CLI]
set -euo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | grep -m1 'x86_64-windows$')}
cli=${2:-build-rel/pictarix-cli}
command -v wrestool >/dev/null || { echo "wrestool (icoutils) is needed" >&2; exit 1; }
files=("$dir"/*)
"$cli" list --all --json "$dir" >/dev/null 2>&1   # warm the cache
wrestool -l --type=14 "${files[@]}" >/dev/null 2>&1 || true
best() { local b=999; for _ in 1 2 3 4 5; do
  local s=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; local e=$(date +%s.%N)
  b=$(echo "$e - $s" | bc -l | awk -v b="$b" '{print ($1 < b) ? $1 : b}'); done; echo "$b"; }
ours=$(best "$cli" list --all --json "$dir")
theirs=$(best wrestool -l --type=14 "${files[@]}")
printf 'files: %d\npictarix-cli: %.3f s\nwrestool: %.3f s\nratio: %.2f\n' "${#files[@]}" "$ours" "$theirs" \
  "$(echo "$ours / $theirs" | bc -l)"
