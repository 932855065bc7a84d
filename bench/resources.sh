#!/usr/bin/env bash
# Resource comparison: runs Varnel on a private Xvfb display for 60 seconds beside three other
# windows that show something every second: an empty FLTK window redrawing a 332 x 190 picture
# (bench/emptywindow.cpp, the yardstick), conky showing the CPU load, and xload. For each it
# reports the time from start to first paint, the CPU time used from second 10 to second 60,
# and the resident and unique (USS) memory at the end.
#
#   bench/resources.sh [path/to/varnel]     (default: builds build-release/ui/varnel)
#
# Goals for Varnel: CPU time within 1.2x of the empty window's and below conky's; resident memory
# within 6 MB of the empty window's and below conky's; first paint within 50 ms of the empty
# window's.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" "${RESOURCE_PACKAGES[@]}"

VARNEL=${1:-}
if [ -z "$VARNEL" ]; then
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_TESTS=OFF -DVARNEL_BENCH=OFF >/dev/null
  cmake --build build-release -j 2 --target varnel >/dev/null
  VARNEL=build-release/ui/varnel
fi
VARNEL=$(readlink -f "$VARNEL")

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# The yardstick and the first-paint helper.
g++ -std=c++20 -O2 bench/emptywindow.cpp -o "$WORK/emptywindow" $(fltk-config --cxxflags --ldflags)
g++ -std=c++20 -O2 bench/firstpaint.cpp -o "$WORK/firstpaint" -lX11

DISP=""
for n in $(seq 161 220); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then DISP=":$n"; break; fi
done
[ -n "$DISP" ] || { echo "no free display" >&2; exit 1; }
Xvfb "$DISP" -screen 0 1280x800x24 -br -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=$DISP
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# Varnel from a directory of its own, its settings placing it at (20, 20).
mkdir "$WORK/varnel"
cp "$VARNEL" "$WORK/varnel/varnel"
printf '[FENDUL]\nLeft=20\nTop=20\nWidth=332\nHeight=190\n' >"$WORK/varnel/FENDUL.INI"
cat >"$WORK/conky.conf" <<'CONF'
conky.config = {
  out_to_x = true, out_to_console = false, own_window = true, own_window_type = 'normal',
  own_window_title = 'conky', own_window_colour = 'c0c0c0', own_window_transparent = false,
  own_window_argb_visual = false, double_buffer = true, update_interval = 1,
  minimum_width = 332, minimum_height = 190, maximum_width = 332,
  alignment = 'top_left', gap_x = 20, gap_y = 420, use_xft = true, font = 'DejaVu Sans:size=8',
  default_color = '000000', background = false,
}
conky.text = [[CPU ${cpu}%
${cpugraph 150,320 800000 800000}]]
CONF

declare -A PID FIRST
start() {  # start NAME REGEX COMMAND...
  local name=$1 re=$2
  shift 2
  local out
  out=$("$WORK/firstpaint" "$re" "$@")
  PID[$name]=${out% *}
  FIRST[$name]=${out#* }
  PIDS+=(${PID[$name]})
}
start varnel '^(FENDUL|CPU Usage)$' "$WORK/varnel/varnel"
start empty '^empty$' "$WORK/emptywindow" 420 20
start conky '^conky' conky -q -c "$WORK/conky.conf"
start xload '^xload' xload -update 1 -geometry 332x190+420+420

# CPU time in nanoseconds (the scheduler's count, finer than the 10 ms ticks of /proc/PID/stat).
cpu_ns() { awk '{print $1}' "/proc/$1/schedstat"; }
declare -A T10
sleep 10
for n in varnel empty conky xload; do T10[$n]=$(cpu_ns "${PID[$n]}"); done
sleep 50
printf '%-8s %16s %18s %12s %12s\n' program "first paint (ms)" "CPU s 10..60 (ms)" "RSS (KiB)" "USS (KiB)"
for n in varnel empty conky xload; do
  p=${PID[$n]}
  cpu=$(awk -v a="${T10[$n]}" -v b="$(cpu_ns "$p")" 'BEGIN{printf "%.1f", (b - a) / 1e6}')
  rss=$(awk '/^VmRSS/{print $2}' "/proc/$p/status")
  uss=$(awk '/^Private_(Clean|Dirty)/{s += $2} END{print s}' "/proc/$p/smaps_rollup")
  printf '%-8s %16s %18s %12s %12s\n' "$n" "${FIRST[$n]}" "$cpu" "$rss" "$uss"
done
