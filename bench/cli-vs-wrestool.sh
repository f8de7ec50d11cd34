#!/usr/bin/env bash
# `pictarix-cli list --all --json` over Wine's x86_64 modules against `wrestool -l --type=14`
# over the same files, warm cache, in one run; then the system calls per module.
# Usage: bench/cli-vs-wrestool.sh [DIR [CLI]]
set -euo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}
cli=${2:-build-rel/pictarix-cli}
for tool in wrestool hyperfine strace; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
files=("$dir"/*)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
hyperfine -N --style none --warmup 3 --runs 15 --export-csv "$work/times.csv" \
  "$cli list --all --json $dir" "wrestool -l --type=14 ${files[*]}" >/dev/null 2>&1
strace -c -f -o "$work/calls" "$cli" list --all --json "$dir" >/dev/null 2>&1
calls=$(awk '$NF == "total" { print $(NF - 2) }' "$work/calls")
awk -F, -v files="${#files[@]}" -v calls="$calls" 'NR == 2 { ours = $2 } NR == 3 { theirs = $2 }
  END { printf "files: %d\npictarix-cli: %.3f s\nwrestool: %.3f s\nratio: %.3f\n", files, ours, theirs, ours / theirs
        printf "system calls: %d (%.1f per module, start-up included)\n", calls, calls / files }' "$work/times.csv"
