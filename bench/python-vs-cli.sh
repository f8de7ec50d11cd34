#!/usr/bin/env bash
# The Python package iterating the entries of a folder (captions and every image's fields)
# against `pictarix-cli list --json` over the same folder, warm cache. The package reads through
# the build's libpictarix, installed form (with bytecode); the target is a ratio of at most 1.5.
# Both the best wall time of the runs and the processor time (user + system) are compared: on a
# busy machine the first mostly measures the waits. The third figure leaves out the interpreter's
# own start and exit, the same for every Python program.
# Usage: bench/python-vs-cli.sh [FOLDER [BUILD_DIR]]   (default: Wine's x86_64 modules)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=${1:-/usr/lib/x86_64-linux-gnu/wine/x86_64-windows}
build=$(cd "${2:-build-rel}" && pwd)
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/iterate.py" <<'PY'
import sys
import time
started = time.perf_counter()
import pictarix
images = 0
for entry in pictarix.entries(sys.argv[1]):
    entry.file, entry.caption, entry.kind
    for image in entry.images:
        image.width, image.height, image.bits, image.is_png, image.stored_bytes
        images += 1
print(images, time.perf_counter() - started)
PY
# The interpreter itself, not a version manager's shim in front of it (which alone can take
# longer than the whole run).
python=$("${PYTHON:-python3}" -c 'import sys; print(sys.executable)')
# The package as installed: a copy with its compiled bytecode, as pip and cmake --install
# leave it (without it every start compiles the sources again).
cp -r "$here/../python/pictarix" "$work/"
unset PYTHONDONTWRITEBYTECODE
"$python" -m compileall -q "$work/pictarix"
export PYTHONPATH="$work" PICTARIX_LIBRARY="$build/src/capi/libpictarix.so"
hyperfine -N --style none --warmup 2 --runs 20 --export-csv "$work/times.csv" \
  "$build/pictarix-cli list --json $folder" "$python $work/iterate.py $folder" >/dev/null 2>&1
# The time the program spends from its import of the package to the last entry, without the
# interpreter's own start and end (which no package can change): the best of 20 runs.
inside=$(for _ in $(seq 20); do "$python" "$work/iterate.py" "$folder"; done | sort -k2 -g | head -1)
images=${inside%% *}
# hyperfine's columns: command, mean, stddev, median, user, system, min, max.
awk -F, -v images="$images" -v inside="${inside#* }" 'NR == 2 { cli = $7; clicpu = $5 + $6 } NR == 3 { py = $7; pycpu = $5 + $6 }
  END { printf "images: %d\npictarix-cli list --json: %.3f s best, %.3f s cpu\n", images, cli, clicpu
        printf "python entries: %.3f s best, %.3f s cpu\n", py, pycpu
        printf "ratio: %.2f best, %.2f cpu\n", py / cli, pycpu / clicpu
        printf "inside python (import and iteration): %.3f s best, ratio %.2f\n", inside, inside / cli }' "$work/times.csv"
