#!/usr/bin/env bash
# Cursors out of a folder of modules. Ours: `pictarix-cli export --cursors` of the cursor
# entries (every image as PNG) followed by `pictarix-cli xcursor --cursors` (an Xcursor file per
# cursor), both over the whole folder. The pair: `wrestool -x -t12`, then the sizes of the cursor
# files it wrote corrected (it counts each image's 4-byte hotspot in them, and icotool refuses
# such files), then `icotool -x` of every cursor file; once over the whole folder, and once over
# only the modules that hold cursors (the pair's best case: the list is made before timing, as
# ours is given the cursor entries' numbers). Everything starts from empty folders each run (the
# previous run's files are moved aside); one hyperfine run, warm cache. The bar: ours at most
# half the pair's time. Usage: bench/cursors-vs-icotool.sh [DIR] [CLI] [RUNS]
set -euo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}  # reads all: no SIGPIPE
cli=$(realpath "${2:-build-rel/pictarix-cli}")
runs=${3:-10}
for tool in wrestool icotool hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Found once, outside the timing: the modules with cursors, and the cursor entries' numbers.
for module in "$dir"/*; do
  [ -f "$module" ] && [ -n "$(wrestool -l -t12 "$module" 2>/dev/null)" ] && echo "$module"
done >"$work/modules.txt"
"$cli" list --json --all --cursors "$dir" 2>/dev/null | python3 -c '
import json, sys
print(" ".join("--entry %d" % e["index"] for e in json.load(sys.stdin) if e.get("kind", "icon") != "icon"))
' >"$work/entries.txt"
cat >"$work/fix.py" <<'PY'
import struct, sys
for name in sys.argv[1:]:
    with open(name, "r+b") as f:
        data = bytearray(f.read())
        for i in range(struct.unpack_from("<H", data, 4)[0]):
            at = 6 + 16 * i + 8
            struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] - 4)
        f.seek(0)
        f.write(data)
PY
export cli dir work

folders='mkdir -p "$work/ours/png" "$work/ours/xcursor" "$work/peer/cur" "$work/peer/png"'
aside='mkdir -p "$work/old" && mv "$work/ours" "$work/peer" "$(mktemp -d -p "$work/old")"'
ours='"$cli" export --cursors --all $(cat "$work/entries.txt") --output "$work/ours/png" "$dir" >/dev/null 2>&1;
      "$cli" xcursor --cursors --all --output "$work/ours/xcursor" "$dir" >/dev/null 2>&1; true'
pair='wrestool -x -t12 -o "$work/peer/cur" "$@" 2>/dev/null;
      python3 "$work/fix.py" "$work"/peer/cur/*.cur;
      icotool -x -o "$work/peer/png" "$work"/peer/cur/*.cur 2>/dev/null; true'

# One run of each first, to show what each writes.
bash -c "$folders"
bash -c "$ours"
bash -c "$pair" pair "$dir"/*
echo "modules with cursors: $(wc -l <"$work/modules.txt")"
echo "pictarix-cli: $(ls "$work/ours/png" | wc -l) PNG files, $(ls "$work/ours/xcursor" | wc -l) Xcursor files"
echo "wrestool+icotool: $(ls "$work/peer/cur" | wc -l) cursor files, $(ls "$work/peer/png" | wc -l) PNG files"

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
hyperfine --warmup 1 --runs "$runs" --export-csv "$work/result.csv" \
  --prepare "$aside && $folders" \
  -n pictarix-cli "bash -c '$ours'" \
  -n 'wrestool+icotool (folder)' "bash -c '$pair' pair \"\$dir\"/*" \
  -n 'wrestool+icotool (modules with cursors)' "bash -c '$pair' pair \$(cat \"\$work/modules.txt\")"

# Columns: command, mean, stddev, median, ...
{
  read -r _
  IFS=, read -r _ _ _ mine _
  IFS=, read -r _ _ _ folder _
  IFS=, read -r _ _ _ modules _
} <"$work/result.csv"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'medians: pictarix-cli %.3f s, pair over the folder %.3f s, pair over the modules with cursors %.3f s\n' \
  "$mine" "$folder" "$modules"
printf 'ratio to the pair over the folder: %.2f; over the modules with cursors: %.2f (bar: 0.5)\n' \
  "$(awk -v a="$mine" -v b="$folder" 'BEGIN { print a / b }')" \
  "$(awk -v a="$mine" -v b="$modules" 'BEGIN { print a / b }')"
