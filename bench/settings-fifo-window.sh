#!/usr/bin/env bash
# Time from start to the window being mapped, with a fresh home folder whose settings file
# (~/.config/Wexlund/Pictarix.conf) is: missing; a link to a FIFO nobody writes; a link to a file
# of someone else (whose bytes must stay as they were). Runs the window under Xvfb.
# Usage: bench/settings-fifo-window.sh [PICTARIX] [LIMIT_SECONDS]   (needs xvfb-run and xdotool)
set -uo pipefail
program=$(realpath "${1:-build-test/pictarix}")
limit=${2:-15}
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts the window with HOME=$work/home and prints the seconds until a window named "Pictarix"
# is mapped ("none" when none is within the limit).
cat >"$work/one.sh" <<'INNER'
#!/usr/bin/env bash
program=$1 limit=$2 home=$3
export HOME=$home XDG_RUNTIME_DIR=$home/run
unset XDG_CONFIG_HOME
start=$(date +%s.%N)
"$program" 2>"$home/stderr" &
pid=$!
shown=none
while :; do
  now=$(date +%s.%N)
  if xdotool search --onlyvisible --name '^Pictarix' >/dev/null 2>&1; then
    shown=$(awk -v a="$start" -v b="$now" 'BEGIN { printf "%.2f", b - a }')
    break
  fi
  awk -v a="$start" -v b="$now" -v l="$limit" 'BEGIN { exit !(b - a > l) }' && break
  sleep 0.02
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
echo "$shown"
INNER
chmod +x "$work/one.sh"

run() {  # CASE: prepares $work/home, then times the window
  rm -rf "$work/home"
  mkdir -p "$work/home/.config/Wexlund" "$work/home/run"
  chmod 700 "$work/home/run"
  "$1"
  local shown
  shown=$(xvfb-run -a "$work/one.sh" "$program" "$limit" "$work/home")
  printf '%-34s window after: %s s\n' "$1" "$shown"
  sed 's/^/    stderr: /' "$work/home/stderr"
}

missing() { :; }
fifo_link() {
  mkfifo "$work/fifo"
  ln -sf "$work/fifo" "$work/home/.config/Wexlund/Pictarix.conf"
}
other_file_link() {
  printf 'not yours\n' >"$work/other"
  ln -sf "$work/other" "$work/home/.config/Wexlund/Pictarix.conf"
}

run missing
rm -f "$work/fifo"
run fifo_link
run other_file_link
if [ "$(cat "$work/other")" = "not yours" ]; then
  echo "the linked file kept its bytes"
else
  echo "the linked file was changed:"; sed 's/^/    /' "$work/other"
fi
ls -l "$work/home/.config/Wexlund" | sed 's/^/    /'
