#!/usr/bin/env bash
# Resource comparison: runs Varnel on a private Xvfb display for 60 seconds beside four other
# windows that show something every second: the bare X client (bench/bareclient.cpp: a window of
# Varnel's size that reads the load with one pread and puts its picture through shared memory,
# the floor), an empty FLTK window redrawing a 332 x 190 picture (bench/emptywindow.cpp), conky
# showing the CPU load, and xload. For each it reports the time from start to first paint, the
# CPU time used from second 10 to second 60, the wake-ups a second over the same time (the
# times its threads were put on a processor), and the resident and unique (USS) memory at the
# end; then each figure's median as a ratio to the bare client's.
#
# Varnel and the bare client read their load from a file in /proc/stat's format
# (VARNEL_STAT_FILE) that a small writer in this script advances every second with a noisy load
# from a fixed seed, the same in every run, so that what Varnel draws does not depend on what
# else the machine runs. The whole comparison runs RUNS times (default 5), each with fresh
# programs; the script prints each run and then, for each figure, the median and the range over
# the runs.
#
#   bench/resources.sh [path/to/varnel]     (default: builds build-release/ui/varnel)
#   BASELINE=path/to/other/varnel bench/resources.sh ...   (a second Varnel side by side, "before")
#   RUNS=5 DISPLAYS="90 99" bench/resources.sh    (the display numbers it may take, first to last)
#
# Where a node exporter is installed, a further window ("remote") is Varnel reading the same
# scripted load over HTTP from the exporter, which is given the file as its /proc/stat.
#
# Goals for Varnel: CPU time at most 1.5x the bare client's and at most xload's; first paint at
# most 1.5x the empty window's; USS at most 3 MB; one wake-up a second. With the exporter as its
# source: CPU time at most 1.5x, and resident memory at most 3 MB more, than with the file.
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

# The yardsticks and the first-paint helper.
g++ -std=c++20 -O2 bench/bareclient.cpp -o "$WORK/bareclient" -lX11 -lXext
g++ -std=c++20 -O2 bench/emptywindow.cpp -o "$WORK/emptywindow" $(fltk-config --cxxflags --ldflags)
g++ -std=c++20 -O2 bench/firstpaint.cpp -o "$WORK/firstpaint" -lX11

RUNS=${RUNS:-5}
read -r DFIRST DLAST <<<"${DISPLAYS:-161 220}"
DISP=""
for n in $(seq "$DFIRST" "$DLAST"); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then DISP=":$n"; break; fi
done
[ -n "$DISP" ] || { echo "no free display" >&2; exit 1; }
# -noreset: between runs no client is left, and a program connecting while the server resets
# would be refused.
Xvfb "$DISP" -screen 0 1280x800x24 -br -nolisten tcp -noreset >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=$DISP
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# Varnel from a directory of its own, its settings placing it at (20, 20); the baseline likewise
# at (20, 620).
mkdir "$WORK/varnel"
cp "$VARNEL" "$WORK/varnel/varnel"
printf '[FENDUL]\nLeft=20\nTop=20\nWidth=332\nHeight=190\n' >"$WORK/start.ini"
if [ -n "${BASELINE:-}" ]; then
  mkdir "$WORK/before"
  cp "$(readlink -f "$BASELINE")" "$WORK/before/varnel"
  printf '[FENDUL]\nLeft=20\nTop=620\nWidth=332\nHeight=190\n' >"$WORK/before.ini"
fi
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

# The scripted load: every second the counters of the first line of a /proc/stat-format file
# advance by a load that wanders (steps of up to 15 points, now and then a jump anywhere in
# 0..100), from the same seed in every run. Like /proc/stat the file stays the same file and its
# counters change in place: lines of fixed width, written over the old ones by one write(). The
# second line, the one CPU's, is what the exporter reads.
STAT=$WORK/stat
write_load() {
  RANDOM=1998
  local load=30 busy=0 idle=0
  while :; do
    load=$((load + RANDOM % 31 - 15))
    [ $((RANDOM % 10)) -eq 0 ] && load=$((RANDOM % 101))
    [ "$load" -lt 0 ] && load=0
    [ "$load" -gt 100 ] && load=100
    busy=$((busy + load))
    idle=$((idle + 100 - load))
    printf -v line 'cpu  %015d 0 0 %015d 0 0 0 0 0 0\ncpu0 %015d 0 0 %015d 0 0 0 0 0 0\n' "$busy" "$idle" \
      "$busy" "$idle"
    printf '%s' "$line" 1<>"$STAT"
    sleep 1
  done
}

declare -A PID FIRST
start() {  # start NAME REGEX COMMAND...
  local name=$1 re=$2
  shift 2
  local out
  out=$("$WORK/firstpaint" "$re" "$@") || { echo "resources: $name showed no window (run $run)" >&2; exit 1; }
  PID[$name]=${out% *}
  FIRST[$name]=${out#* }
  PIDS+=(${PID[$name]})
}

# CPU time in nanoseconds (the scheduler's count, finer than the 10 ms ticks of /proc/PID/stat)
# and the times put on a processor, both summed over the program's threads.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s}'; }
runs_of() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $3} END {print s}'; }
PROGRAMS=(varnel bare empty conky xload)
[ -n "${BASELINE:-}" ] && PROGRAMS=(varnel before bare empty conky xload)
if command -v prometheus-node-exporter >/dev/null; then
  mkdir "$WORK/remote" "$WORK/procfs"
  cp "$VARNEL" "$WORK/remote/varnel"
  printf '[FENDUL]\nLeft=820\nTop=20\nWidth=332\nHeight=190\n' >"$WORK/remote.ini"
  ln -s "$STAT" "$WORK/procfs/stat"
  EPORT=""
  for p in $(seq 29100 29199); do
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { EPORT=$p; break; }
  done
  prometheus-node-exporter --collector.disable-defaults --collector.cpu --web.disable-exporter-metrics \
    --path.procfs="$WORK/procfs" --web.listen-address="127.0.0.1:$EPORT" >/dev/null 2>&1 &
  PIDS+=($!)
  PROGRAMS+=(remote)
fi
RESULTS=$WORK/results   # lines: run program first-paint cpu rss uss wake-ups
: >"$RESULTS"
for run in $(seq "$RUNS"); do
  cp "$WORK/start.ini" "$WORK/varnel/FENDUL.INI"
  [ -n "${BASELINE:-}" ] && cp "$WORK/before.ini" "$WORK/before/FENDUL.INI"
  write_load &
  WRITER=$!
  PIDS+=($WRITER)
  for _ in $(seq 100); do [ -e "$STAT" ] && break; sleep 0.01; done
  start varnel '^(FENDUL|CPU Usage)$' env VARNEL_STAT_FILE="$STAT" "$WORK/varnel/varnel"
  if [ -n "${BASELINE:-}" ]; then
    # firstpaint leaves out the windows already there, the first Varnel's among them.
    start before '^(FENDUL|CPU Usage)$' env VARNEL_STAT_FILE="$STAT" "$WORK/before/varnel"
  fi
  start bare '^bareclient$' env VARNEL_STAT_FILE="$STAT" "$WORK/bareclient" 760 20
  start empty '^empty$' "$WORK/emptywindow" 420 20
  start conky '^conky' conky -q -c "$WORK/conky.conf"
  start xload '^xload' xload -update 1 -geometry 332x190+420+420
  if [ -n "${EPORT:-}" ]; then
    # Started once the first one has its "CPU Usage" caption, so that each is found by its own.
    cp "$WORK/remote.ini" "$WORK/remote/FENDUL.INI"
    sleep 1.2
    start remote '^(FENDUL|CPU Usage - 127\.0\.0\.1)$' "$WORK/remote/varnel" --source "http://127.0.0.1:$EPORT/metrics"
  fi
  declare -A T10 R10
  sleep 10
  for n in "${PROGRAMS[@]}"; do T10[$n]=$(cpu_ns "${PID[$n]}"); R10[$n]=$(runs_of "${PID[$n]}"); done
  sleep 50
  echo "run $run of $RUNS"
  printf '%-8s %16s %18s %12s %12s %14s\n' program "first paint (ms)" "CPU s 10..60 (ms)" "RSS (KiB)" "USS (KiB)" "wake-ups a s"
  for n in "${PROGRAMS[@]}"; do
    p=${PID[$n]}
    cpu=$(awk -v a="${T10[$n]}" -v b="$(cpu_ns "$p")" 'BEGIN{printf "%.1f", (b - a) / 1e6}')
    wake=$(awk -v a="${R10[$n]}" -v b="$(runs_of "$p")" 'BEGIN{printf "%.2f", (b - a) / 50}')
    rss=$(awk '/^VmRSS/{print $2}' "/proc/$p/status")
    uss=$(awk '/^Private_(Clean|Dirty)/{s += $2} END{print s}' "/proc/$p/smaps_rollup")
    printf '%-8s %16s %18s %12s %12s %14s\n' "$n" "${FIRST[$n]}" "$cpu" "$rss" "$uss" "$wake"
    echo "$run $n ${FIRST[$n]} $cpu $rss $uss $wake" >>"$RESULTS"
  done
  for n in "${PROGRAMS[@]}"; do
    kill "${PID[$n]}" 2>/dev/null || true
    wait "${PID[$n]}" 2>/dev/null || true
  done
  kill "$WRITER" 2>/dev/null || true
  wait "$WRITER" 2>/dev/null || true
  rm -f "$STAT"
done

# The median (the middle run's figure; the mean of the two middle ones for an even count) and
# the range of each figure over the runs.
median() {  # median PROGRAM COLUMN
  awk -v p="$1" -v c="$2" '$2 == p {print $c}' "$RESULTS" | sort -g |
    awk '{v[NR] = $1} END {printf "%g", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
median_range() {  # median_range PROGRAM COLUMN
  printf '%s (%s)' "$(median "$1" "$2")" \
    "$(awk -v p="$1" -v c="$2" '$2 == p {print $c}' "$RESULTS" | sort -g | awk 'NR == 1 {a = $1} {b = $1} END {printf "%g..%g", a, b}')"
}
echo "median (range) over $RUNS runs"
printf '%-8s %22s %22s %22s %22s %20s\n' program "first paint (ms)" "CPU s 10..60 (ms)" "RSS (KiB)" "USS (KiB)" "wake-ups a s"
for n in "${PROGRAMS[@]}"; do
  printf '%-8s %22s %22s %22s %22s %20s\n' "$n" "$(median_range "$n" 3)" "$(median_range "$n" 4)" \
    "$(median_range "$n" 5)" "$(median_range "$n" 6)" "$(median_range "$n" 7)"
done
echo "medians as a ratio to the bare client's"
printf '%-8s %10s %10s %10s %10s %10s\n' program "paint" "CPU" "RSS" "USS" "wake-ups"
for n in "${PROGRAMS[@]}"; do
  printf '%-8s' "$n"
  for c in 3 4 5 6 7; do
    awk -v a="$(median "$n" "$c")" -v b="$(median bare "$c")" 'BEGIN {if (b > 0) printf " %9.2fx", a / b; else printf " %10s", "-"}'
  done
  echo
done
