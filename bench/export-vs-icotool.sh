#!/usr/bin/env bash
# Exporting every image of every icon in a folder of modules as PNG files:
# `pictarix-cli export --all` against `wrestool -x --type=14` over the same files followed by
# `icotool -x` of every icon file it extracted. Both start from an empty folder each run (the
# previous run's files are moved aside, not deleted, so that neither tool pays for the file
# system's handling of just-freed inodes); one hyperfine run, warm cache. Usage: bench/export-vs-icotool.sh [DIR] [CLI] [RUNS]
set -euo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}  # reads all: no SIGPIPE
cli=$(realpath "${2:-build-rel/pictarix-cli}")
runs=${3:-10}
for tool in wrestool icotool hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export dir cli work

# One run of each first, to check that both write every image.
rm -rf "$work/ours" "$work/peer" && mkdir -p "$work/ours" "$work/peer/ico" "$work/peer/png"
"$cli" export --all --output "$work/ours" "$dir" >/dev/null 2>&1 || true
wrestool -x --type=14 -o "$work/peer/ico" "$dir"/* 2>/dev/null || true
icotool -x -o "$work/peer/png" "$work"/peer/ico/*.ico 2>/dev/null || true
echo "images: pictarix-cli $(ls "$work/ours" | wc -l), wrestool+icotool $(ls "$work/peer/png" | wc -l)"

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
hyperfine --warmup 1 --runs "$runs" --export-csv "$work/result.csv" \
  --prepare 'mkdir -p "$work/old" && mv "$work/ours" "$work/peer" "$(mktemp -d -p "$work/old")" &&
             mkdir -p "$work/ours" "$work/peer/ico" "$work/peer/png"' \
  -n pictarix-cli 'bash -c "\"\$cli\" export --all --output \"\$work/ours\" \"\$dir\" >/dev/null 2>&1"' \
  -n wrestool+icotool 'bash -c "wrestool -x --type=14 -o \"\$work/peer/ico\" \"\$dir\"/* 2>/dev/null; icotool -x -o \"\$work/peer/png\" \"\$work\"/peer/ico/*.ico 2>/dev/null; true"'

# Columns: command, mean, stddev, median, ...
{ read -r _; IFS=, read -r _ _ _ ours _; IFS=, read -r _ _ _ peer _; } <"$work/result.csv"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'pictarix-cli: %.2f s\nwrestool+icotool: %.2f s\nratio (medians): %.2f\n' "$ours" "$peer" \
  "$(awk -v a="$ours" -v b="$peer" 'BEGIN { print a / b }')"
