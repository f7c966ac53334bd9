#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Side-by-side benchmark: qon against the Debian game lbreakout2 (a different
# block-breaking game, used only as a yardstick) on one Xvfb server at 1024 x 768 x 24,
# in the same run. It samples CPU (utime + stime from /proc/PID/stat) and resident memory
# (/proc/PID/status) of each program after it has settled:
#
#   qon        at its title and in play, full screen (its default) and in a window
#   lbreakout2 at its menu and in play (its default 640 x 480 window)
#
# and prints the figures and the ratios. A benchmark, not a test: nothing fails on a
# figure. It installs xvfb, xdotool and lbreakout2 when they are missing (needs root or
# sudo).
#
#   bench/side_by_side.sh [QON_BINARY] [SECONDS]
#
# QON_BINARY defaults to build/qon/qon; SECONDS (default 10) is the length of each
# sample. With QON_BENCH_SHOTS=DIR, a screenshot of each sample goes to DIR (imagemagick).
# The environment goes to both games: SDL_AUDIODRIVER=dummy makes both mix sound (and qon
# play its music) without a sound card, which is how memory with music is compared;
# QON_RENDERER=software|gpu forces qon's way of drawing.
#
# Timings are noisy on a shared machine: compare the ratios of one run, repeat the run,
# and read the load averages printed at its start and end.
set -euo pipefail
cd "$(dirname "$0")/.."

qon=${1:-build/qon/qon}
seconds=${2:-10}
qon=$(realpath "$qon")
[[ -x $qon ]] || { echo "no game at $qon (build it first)" >&2; exit 2; }

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
[[ -x /usr/games/lbreakout2 ]] || need+=(lbreakout2)
if ((${#need[@]})); then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi

tick=$(getconf CLK_TCK)
work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# cpu PID SECONDS -> percent of one core over the interval (one decimal)
cpu() {
  local pid=$1 s1 s2
  s1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$2"
  s2=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  awk -v a="$s1" -v b="$s2" -v t="$tick" -v s="$2" 'BEGIN { printf "%.1f", 100 * (b - a) / t / s }'
}
# rss PID -> resident MB (one decimal)
rss() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
# alive PID LABEL LOG -> fails, showing the end of the program's output, when it has ended
alive() {
  kill -0 "$1" 2>/dev/null && return 0
  echo "  $2 has ended early; its last words:" >&2
  tail -5 "$3" | sed 's/^/    /' >&2
  return 1
}

declare -A result
record() {  # record NAME PID LOG
  local c m note=""
  alive "$2" "$1" "$3" || return 1
  c=$(cpu "$2" "$seconds")
  alive "$2" "$1" "$3" || return 1
  m=$(rss "$2")
  result[$1.cpu]=$c
  result[$1.rss]=$m
  # Whether OpenGL (a Mesa driver) was loaded at all.
  if [[ $1 == qon* ]]; then
    if grep -q '/dri/' "/proc/$2/maps"; then note="  (OpenGL loaded)"; else note="  (no OpenGL)"; fi
  fi
  printf '  %-28s %6s %% CPU  %7s MB resident%s\n' "$1" "$c" "$m" "$note"
  if [[ -n ${QON_BENCH_SHOTS:-} ]] && command -v import >/dev/null; then
    mkdir -p "$QON_BENCH_SHOTS"
    import -window root "$QON_BENCH_SHOTS/${1// /-}.png" 2>/dev/null || true
  fi
}
key() { xdotool key --clearmodifiers "$@" 2>/dev/null || true; }
keydown() { xdotool keydown "$@" 2>/dev/null || true; }
# A press held for a few frames: qon reads its keys once a frame.
press() { keydown "$1"; sleep 0.1; xdotool keyup "$1" 2>/dev/null || true; }

run_qon() {  # run_qon LABEL window|fullscreen
  local label=$1 mode=$2
  # A private copy of the game folder, so the run writes nothing into the build.
  cp -a "$(dirname "$qon")" "$work/qon-$label"
  local folder="$work/qon-$label"
  local log="$work/qon-$label.log"
  (cd "$folder" && exec ./"$(basename "$qon")") >"$log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  sleep 2
  if [[ $mode == window ]]; then key alt+Return; fi
  press space          # skip the logo
  sleep 6              # the title slides in and settles
  record "qon $label title" "$pid" "$log" || true
  keydown space        # New Game; held, it launches the ball as soon as play begins
  sleep 6              # the stage's intro banner
  # Steer the bar to and fro, so the ball keeps moving and is caught now and then.
  (while kill -0 "$pid" 2>/dev/null; do
     xdotool keydown Left 2>/dev/null; sleep 0.35; xdotool keyup Left 2>/dev/null
     xdotool keydown Right 2>/dev/null; sleep 0.35; xdotool keyup Right 2>/dev/null
   done) &
  local steer=$!
  record "qon $label play" "$pid" "$log" || true
  kill "$steer" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  xdotool keyup space 2>/dev/null || true
}

run_lbreakout2() {
  mkdir -p "$work/lbhome"
  local pid attempt
  # Now and then lbreakout2 ends at start-up (status 1, no message): it gets three tries.
  for attempt in 1 2 3; do
    HOME="$work/lbhome" /usr/games/lbreakout2 >"$work/lbreakout2.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    sleep 6
    kill -0 "$pid" 2>/dev/null && break
  done
  record "lbreakout2 menu" "$pid" "$work/lbreakout2.log" || true
  xdotool mousemove 180 270 2>/dev/null; sleep 0.3; key Return   # Local Game
  sleep 1
  xdotool mousemove 180 280 2>/dev/null; sleep 0.3; key Return   # Start Original Set
  sleep 2
  xdotool click 1 2>/dev/null || true; sleep 0.5                  # close the level title
  xdotool click 1 2>/dev/null || true                             # launch the ball
  sleep 3
  record "lbreakout2 play" "$pid" "$work/lbreakout2.log" || true
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

echo "Xvfb $display 1024x768x24, $seconds s samples, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "environment: SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-(unset)} QON_RENDERER=${QON_RENDERER:-(unset)}"
run_lbreakout2
run_qon fullscreen fullscreen
run_qon window window

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a != "" && b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo
echo "qon / lbreakout2 (want CPU <= 0.50, memory <= 1.00):"
for mode in fullscreen window; do
  printf '  %-11s title/menu CPU %5s   play CPU %5s   memory %5s\n' "$mode" \
    "$(ratio "${result[qon $mode title.cpu]:-}" "${result[lbreakout2 menu.cpu]:-}")" \
    "$(ratio "${result[qon $mode play.cpu]:-}" "${result[lbreakout2 play.cpu]:-}")" \
    "$(ratio "${result[qon $mode play.rss]:-}" "${result[lbreakout2 play.rss]:-}")"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
