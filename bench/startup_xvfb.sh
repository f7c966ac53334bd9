#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up under a real X server: qon-startup-bench (process start to the first presented
# frame, over fresh processes) on an Xvfb screen of the given size, full screen as the
# game starts. With --wm a window manager runs on it as on a desktop (openbox, installed
# when missing); without, the server is bare, like a kiosk or a virtual frame buffer.
# A benchmark, not a test: it prints figures and fails on none.
#
#   bench/startup_xvfb.sh [WIDTHxHEIGHT] [RUNS] [--wm] [--window]
#
# WIDTHxHEIGHT defaults to 1920x1080, RUNS to 15. --window starts the game in a window
# (a diagnosis: the game always starts full screen). The build folder is $QON_BUILD_DIR
# or build/. The environment goes on to the game (QON_RENDERER=..., SDL_AUDIODRIVER=...).
set -euo pipefail
cd "$(dirname "$0")/.."

geometry=1920x1080
runs=15
wm=0
extra=()
for arg in "$@"; do
  case $arg in
    --wm) wm=1 ;;
    --window) extra+=(--window) ;;
    *x*) geometry=$arg ;;
    *) runs=$arg ;;
  esac
done
bench=$(realpath "${QON_BUILD_DIR:-build}/bench/qon-startup-bench")
[[ -x $bench ]] || { echo "no $bench (build qon-startup-bench first)" >&2; exit 2; }

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
if ((wm)) && ! command -v openbox >/dev/null; then need+=(openbox); fi
if ((${#need[@]})); then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi

number=$((90 + RANDOM % 100))
while [[ -e /tmp/.X11-unix/X$number ]]; do number=$((number + 1)); done
Xvfb ":$number" -screen 0 "${geometry}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
manager=""
cleanup() {
  [[ -n $manager ]] && kill "$manager" 2>/dev/null
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$number ]] && break; sleep 0.1; done
export DISPLAY=":$number" SDL_VIDEODRIVER=x11
if ((wm)); then
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
fi
echo "Xvfb $DISPLAY ${geometry}x24, $( ((wm)) && echo "with openbox" || echo "no window manager")"
"$bench" "$runs" "${extra[@]}"
