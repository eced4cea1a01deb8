#!/usr/bin/env bash
# Builds Taskgate, installs it as a self-contained application directory in
# app/, sets up the user database with the demo suite and starts the
# front-end. With no display it runs under a private Xvfb server, saves a
# screenshot of the login window to app/screenshot.png and keeps running
# until interrupted (Ctrl-C stops the front-end and the X server).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
# shellcheck source=scripts/packages.sh
source scripts/packages.sh

taskgate_ensure_packages

BUILD_DIR=build
APP_DIR="$ROOT/app"

taskgate_configure "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DTASKGATE_TESTS=OFF -DTASKGATE_BENCH=OFF
cmake --build "$BUILD_DIR" -j "$(taskgate_jobs)"
cmake --install "$BUILD_DIR" --prefix "$APP_DIR"

"$APP_DIR/taskgate-setup" --demo --user-db "$APP_DIR/"

if [[ ! -x "$APP_DIR/taskgate" ]]; then
  echo "error: $APP_DIR/taskgate was not built" >&2
  exit 1
fi

# The front-end writes its statement dump files into the current directory.
cd "$APP_DIR"

if [[ -n "${DISPLAY:-}" ]]; then
  exec ./taskgate
fi

# No display: a private X server on the first free display number.
display_number=99
while [[ -e "/tmp/.X${display_number}-lock" || -e "/tmp/.X11-unix/X${display_number}" ]]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":${display_number}"

xvfb_pid=""
app_pid=""
# shellcheck disable=SC2317  # called through the traps
cleanup() {
  trap - EXIT INT TERM
  if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  if xdpyinfo >/dev/null 2>&1; then
    break
  fi
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "error: Xvfb did not start on $DISPLAY" >&2
    exit 1
  fi
  sleep 0.1
done

./taskgate &
app_pid=$!

# Wait for the login window ("Autenticazione") to be mapped.
shown=no
for _ in $(seq 1 60); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid" || status=$?
    echo "error: taskgate ended before its window showed (exit status ${status:-0})" >&2
    exit 1
  fi
  if xwininfo -root -tree 2>/dev/null | grep -q '"Autenticazione"'; then
    shown=yes
    break
  fi
  sleep 0.5
done
if [[ $shown == no ]]; then
  echo "warning: the login window did not show within 30 seconds; taking the screenshot anyway" >&2
fi
sleep 1 # let it paint
import -display "$DISPLAY" -window root "$APP_DIR/screenshot.png"
echo "Taskgate is running on the virtual display $DISPLAY."
echo "Screenshot saved to $APP_DIR/screenshot.png"
echo "Press Ctrl-C to stop."

status=0
wait "$app_pid" || status=$?
app_pid=""
exit "$status"
