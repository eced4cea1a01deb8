#!/usr/bin/env bash
# Runs a command on a private X server with a window manager that frames its
# windows (title bar and borders), as on a workstation's desktop.
#
#   with-window-manager.sh WIDTHxHEIGHT command [arguments...]
set -euo pipefail
size=$1
shift

scratch=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# The server picks a free display itself and writes its number.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$scratch/display" ]] && break
  sleep 0.1
done
[[ -s "$scratch/display" ]] || { echo "error: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$scratch/display")"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# The window manager announces itself on the root window when it is ready.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "error: the window manager did not start" >&2; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
