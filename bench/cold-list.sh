#!/usr/bin/env bash
# Cold-cache harvest: `list --all --json` over a folder with the page cache dropped before each
# run, two builds alternating, so that both meet the same disk. Needs root (drop_caches).
#   bench/cold-list.sh [OLD_CLI] [NEW_CLI] [FOLDER] [RUNS]
set -euo pipefail
old=${1:-/work/scratch/cli-old}
new=${2:-build-rel/pictarix-cli}
dir=${3:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}
runs=${4:-5}
[ "$(id -u)" -eq 0 ] || { echo "root is needed to drop the page cache" >&2; exit 1; }
cold() {  # CLI: seconds of one run after the caches are dropped
  sync
  echo 3 > /proc/sys/vm/drop_caches
  local start end
  start=$(date +%s.%N)
  "$1" list --all --json "$dir" > /dev/null 2>&1 || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
olds=() news=()
for ((i = 0; i < runs; i++)); do
  olds+=("$(cold "$old")")
  news+=("$(cold "$new")")
done
printf '%s\n' "${olds[@]}" > /tmp/cold-old.$$
printf '%s\n' "${news[@]}" > /tmp/cold-new.$$
median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
o=$(median /tmp/cold-old.$$); n=$(median /tmp/cold-new.$$)
rm -f /tmp/cold-old.$$ /tmp/cold-new.$$
echo "old runs: ${olds[*]}"
echo "new runs: ${news[*]}"
awk -v o="$o" -v n="$n" 'BEGIN { printf "old: %.3f s (median)\nnew: %.3f s (median)\nratio: %.2f\n", o, n, n / o }'
