#!/usr/bin/env bash
# Time and peak memory of pictarix-thumbnailer per thumbnail, warm cache:
#  1. over every file of a folder of modules (median and worst), and on the files with group
#     icons against the pipeline `wrestool -x --type=14` + `icotool -x` extracting the same first
#     icon (the peer is handed that icon's name, found beforehand and not timed);
#  2. a 2 GiB sparse module whose resource section sits at its end, against the module it was
#     made from (time, peak memory, bytes read);
#  3. a hostile icon file whose 65535 entries all claim the whole file (exit status, time,
#     memory, against the limits of 2 s CPU and 512 MiB address space).
# Usage: bench/thumbnailer.sh [DIR] [THUMBNAILER]   (needs icoutils and strace)
set -uo pipefail
dir=${1:-$(dpkg -L libwine 2>/dev/null | awk '/x86_64-windows$/ && !n++')}
thumbnailer=${2:-build-release/src/thumbnailer/pictarix-thumbnailer}
size=256
for tool in wrestool icotool strace /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command three times; prints the best wall time and CPU time (user + system) in
# seconds, the peak resident memory in KiB and the exit status.
measure() {
  local TIMEFORMAT='%3R %3U %3S' best_wall=999 best_cpu=999 status wall user system
  for _ in 1 2 3; do
    { time /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1; } 2>"$work/times"
    status=$?
    read -r wall user system <"$work/times"
    best_wall=$(awk -v a="$wall" -v b="$best_wall" 'BEGIN { print (a < b) ? a : b }')
    best_cpu=$(awk -v a="$user" -v s="$system" -v b="$best_cpu" 'BEGIN { c = a + s; print (c < b) ? c : b }')
  done
  echo "$best_wall $best_cpu $(tail -1 "$work/rss") $status"
}
# Reads "wall cpu KiB" lines; prints the median and worst of each column.
column() { sort -n -k"$2","$2" "$1" | awk -v c="$2" -v scale="$3" -v unit="$4" \
  '{ v[NR] = $c } END { printf "median %.1f %s, worst %.1f %s", scale * v[int((NR + 1) / 2)], unit, scale * v[NR], unit }'; }
summary() {
  echo "wall $(column "$1" 1 1000 ms); CPU $(column "$1" 2 1000 ms); peak memory $(column "$1" 3 0.0009765625 MiB)"
}
median() { sort -n -k"$2","$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }

files=("$dir"/*)
cat "${files[@]}" >/dev/null  # warm the cache
: >"$work/all" ; : >"$work/ours" ; : >"$work/peer"
written=0
for f in "${files[@]}"; do
  read -r t c m s < <(measure "$thumbnailer" -s "$size" "$f" "$work/out.png")
  echo "$t $c $m" >>"$work/all"
  [ "$s" -eq 0 ] && written=$((written + 1))
  first=$(wrestool -l --type=14 "$f" 2>/dev/null | head -1 | sed -n "s/.*--name=\('[^']*'\|[0-9]*\) .*/\1/p" | tr -d "'")
  [ -n "$first" ] || continue
  echo "$t $c $m" >>"$work/ours"
  read -r t1 c1 m1 _ < <(measure wrestool -x --type=14 "--name=$first" -o "$work/peer.ico" "$f")
  rm -rf "$work/images" && mkdir "$work/images"
  read -r t2 c2 m2 _ < <(measure icotool -x -o "$work/images" "$work/peer.ico")
  awk -v a="$t1" -v b="$t2" -v c="$c1" -v d="$c2" -v x="$m1" -v y="$m2" \
    'BEGIN { printf "%.4f %.4f %d\n", a + b, c + d, (x > y ? x : y) }' >>"$work/peer"
done
echo "pictarix-thumbnailer -s $size over ${#files[@]} files of $dir ($written thumbnails written):"
echo "  $(summary "$work/all")"
echo "the $(wc -l <"$work/ours") files with group icons, first icon:"
echo "  pictarix-thumbnailer: $(summary "$work/ours")"
echo "  wrestool + icotool:   $(summary "$work/peer")"
awk -v a="$(median "$work/peer" 1)" -v b="$(median "$work/ours" 1)" -v c="$(median "$work/peer" 2)" \
  -v d="$(median "$work/ours" 2)" 'BEGIN { printf "  median ratio (peer / pictarix-thumbnailer): wall %.2f, CPU %.2f\n", a / b, c / d }'

# A module with its resource section moved to the end of a 2 GiB sparse file: only the section
# table is changed (the section keeps its virtual address).
u16() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }
le32() {
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}
source_module="$dir/shell32.dll"
far="$work/far.dll"
cp "$source_module" "$far"
pe=$(u32 "$far" 60)
sections=$(u16 "$far" $((pe + 6)))
table=$((pe + 24 + $(u16 "$far" $((pe + 20)))))
for ((i = 0; i < sections; i++)); do
  entry=$((table + 40 * i))
  [ "$(dd if="$far" bs=1 skip="$entry" count=8 2>/dev/null | tr -d '\0')" = ".rsrc" ] || continue
  raw_size=$(u32 "$far" $((entry + 16)))
  raw_at=$(u32 "$far" $((entry + 20)))
  new_at=$(((2 * 1024 * 1024 * 1024 - raw_size) / 512 * 512))
  truncate -s 2G "$far"
  dd if="$source_module" of="$far" bs=1M skip="$raw_at" count="$raw_size" seek="$new_at" \
    iflag=skip_bytes,count_bytes oflag=seek_bytes conv=notrunc status=none
  le32 "$new_at" | dd of="$far" bs=1 seek=$((entry + 20)) conv=notrunc status=none
done
bytes_read() {
  strace -e trace=read,pread64 -o "$work/strace" "$thumbnailer" -s "$size" "$1" "$work/out.png" 2>/dev/null
  awk -F'= ' '/^(read|pread64)\(/ && $NF > 0 { n += $NF } END { print n }' "$work/strace"
}
echo "$(basename "$source_module") ($(stat -c %s "$source_module") bytes, resource section $raw_size bytes):"
for f in "$source_module" "$far"; do
  read -r t c m s < <(measure "$thumbnailer" -s "$size" "$f" "$work/out.png")
  printf '  %-10s %10d bytes: wall %.1f ms, CPU %.1f ms, %.1f MiB, exit %d, %d bytes read\n' \
    "$(basename "$f")" "$(stat -c %s "$f")" "$(awk -v t="$t" 'BEGIN { print 1000 * t }')" \
    "$(awk -v t="$c" 'BEGIN { print 1000 * t }')" \
    "$(awk -v m="$m" 'BEGIN { print m / 1024 }')" "$s" "$(bytes_read "$f")"
done
rm -f "$far"

# A hostile icon file: 65535 entries, each claiming the 1 MiB after the header.
hostile="$work/hostile.ico"
printf '\x00\x00\x01\x00\xff\xff' >"$hostile"
{ printf '\x00\x00\x00\x00\x01\x00\x20\x00'; le32 1048560; le32 6; } >"$work/e1"
for ((i = 1; i < 65536; i *= 2)); do cat "$work/e$i" "$work/e$i" >"$work/e$((i * 2))"; done
head -c $((65535 * 16)) "$work/e65536" >>"$hostile"
rm -f "$work/out.png"
read -r t c m s < <(measure "$thumbnailer" -s "$size" "$hostile" "$work/out.png")
printf 'hostile icon file (%d bytes, 65535 entries claiming it all): exit %d, wall %.1f ms, CPU %.1f ms, %.1f MiB, output %s\n' \
  "$(stat -c %s "$hostile")" "$s" "$(awk -v t="$t" 'BEGIN { print 1000 * t }')" \
  "$(awk -v t="$c" 'BEGIN { print 1000 * t }')" \
  "$(awk -v m="$m" 'BEGIN { print m / 1024 }')" "$([ -e "$work/out.png" ] && echo written || echo none)"

# The largest image the decoder accepts: 4096x4096 at 32 bits (a sparse 66 MiB icon file),
# decoded and reduced to SIZE.
le16() { printf "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
side=4096
data=$((40 + side * side * 4 + side * side / 8))
largest="$work/largest.ico"
{ printf '\x00\x00\x01\x00\x01\x00\x00\x00\x00\x00\x01\x00\x20\x00'; le32 "$data"; le32 22
  le32 40; le32 "$side"; le32 $((2 * side)); le16 1; le16 32; } >"$largest"
truncate -s $((22 + data)) "$largest"
read -r t c m s < <(measure "$thumbnailer" -s "$size" "$largest" "$work/out.png")
printf 'largest image (4096x4096, 32 bits): exit %d, wall %.1f ms, CPU %.1f ms, %.1f MiB\n' "$s" \
  "$(awk -v t="$t" 'BEGIN { print 1000 * t }')" "$(awk -v t="$c" 'BEGIN { print 1000 * t }')" \
  "$(awk -v m="$m" 'BEGIN { print m / 1024 }')"
