#!/usr/bin/env bash
# Scripts and file managers run the tools once per file, so start-up counts. This runs
# `pictarix-cli list --all --json FILE` and `wrestool -l --type=14 FILE` once per file over the same
# files (Wine's x86_64 modules by default), warm cache, in alternating rounds, and prints the
# median time of a round of each and their ratio; then the start-up alone (`--version` against
# /bin/true).
# Usage: bench/per-file-vs-wrestool.sh [DIR [CLI [ROUNDS]]]
set -euo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}
cli=$(realpath "${2:-build-rel/pictarix-cli}")
rounds=${3:-7}
for tool in wrestool hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
files=("$dir"/*)
ours() { for f in "${files[@]}"; do "$cli" list --all --json "$f" >/dev/null 2>&1 || true; done; }
theirs() { for f in "${files[@]}"; do wrestool -l --type=14 "$f" >/dev/null 2>&1 || true; done; }
seconds() { local start end; start=$(date +%s%N); "$@"; end=$(date +%s%N); echo $(((end - start) / 1000)); }
ours; theirs  # warm the cache
a=(); b=()
for ((r = 0; r < rounds; r++)); do
  if ((r % 2)); then b+=("$(seconds theirs)"); a+=("$(seconds ours)")
  else a+=("$(seconds ours)"); b+=("$(seconds theirs)"); fi
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
awk -v n="${#files[@]}" -v a="$ma" -v b="$mb" 'BEGIN {
  printf "files: %d, one process each, median of the rounds\npictarix-cli: %.3f s (%.2f ms per file)\n", n, a / 1e6, a / 1e3 / n
  printf "wrestool: %.3f s (%.2f ms per file)\nratio: %.3f\n", b / 1e6, b / 1e3 / n, a / b }'
hyperfine -N --style basic --warmup 20 --runs 300 "$cli --version" /bin/true 2>/dev/null |
  awk '/Time \(mean/ { printf "start-up (%s): %s %s\n", (n++ ? "/bin/true" : "--version"), $5, $6 }'
