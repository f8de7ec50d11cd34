#!/usr/bin/env bash
# Peak memory of writing a large icon library with `pictarix-cli icl`, and what happens beyond the
# size the reader accepts. Makes icon files of one 32x32 image and IMAGES PNG images of 30 MiB
# each (a 256x256 picture carrying a private chunk), then runs, for each CLI given (with --all):
#   icl big.icl big1.ico            (IMAGES x 30 MiB: within the limit) and list of it;
#   icl huge.icl big1.ico big2.ico  (twice that: beyond 1 GiB when IMAGES is 24).
# Prints exit status, peak resident memory (/usr/bin/time -v) and the library's size; deletes
# every file it made.
#   bench/library-memory.sh [-n IMAGES] CLI...
set -u
images=24
if [ "${1:-}" = "-n" ]; then images=$2; shift 2; fi
[ $# -ge 1 ] || { echo "usage: $0 [-n IMAGES] CLI..." >&2; exit 2; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT

python3 - "$work" "$images" <<'EOF'
import struct, sys, zlib
work, count = sys.argv[1], int(sys.argv[2])

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

def png(size, extra):
    rows = b"".join(b"\0" + bytes([40, 120, 200, 255]) * size for _ in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    padding = chunk(b"prVt", bytes(extra)) if extra else b""
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + padding +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

big = png(256, 30 * 2**20 - 1024)
small = png(32, 0)
for name in ("big1.ico", "big2.ico"):
    blobs = [small] + [big] * count
    offset = 6 + 16 * len(blobs)
    with open(f"{work}/{name}", "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(blobs)))
        for blob in blobs:
            size = 32 if blob is small else 0
            out.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset))
            offset += len(blob)
        for blob in blobs:
            out.write(blob)
EOF

measure() {  # LABEL CLI ARGS...
  local label=$1; shift
  /usr/bin/time -v "$@" > "$work/out" 2> "$work/err"
  local status=$?
  local peak=$(awk -F': ' '/Maximum resident set size/ {print int($2 / 1024)}' "$work/err")
  local said=$(grep -m 1 '^pictarix-cli:' "$work/err")
  printf '  %-28s exit %d  peak %6d MiB  %s\n' "$label" "$status" "$peak" "$said"
}

for cli in "$@"; do
  echo "$cli"
  measure "icl big.icl big1.ico" "$cli" icl --all "$work/big.icl" "$work/big1.ico"
  [ -f "$work/big.icl" ] && echo "  big.icl: $(( $(stat -c %s "$work/big.icl") >> 20 )) MiB"
  measure "list big.icl" "$cli" list --all "$work/big.icl"
  measure "icl huge.icl big1.ico big2.ico" "$cli" icl --all "$work/huge.icl" "$work/big1.ico" \
    "$work/big2.ico"
  [ -f "$work/huge.icl" ] && echo "  huge.icl: $(( $(stat -c %s "$work/huge.icl") >> 20 )) MiB"
  measure "list huge.icl" "$cli" list --all "$work/huge.icl"
  rm -f "$work/big.icl" "$work/huge.icl"
done
