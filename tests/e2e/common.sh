# Shared by end-to-end scripts: a scratch directory and the processes to end at exit, waiting,
# and an X server of the script's own. The script defines `fail MESSAGE`, which ends it.
#
#   . "$(dirname "$0")/common.sh"
#   begin_e2e                                     # WORK, PIDS, and their clean-up at exit
#   start_private_xvfb 200 260 "$WORK/xvfb.log"   # exports DISPLAY
#   wait_for 10 "the window" find_window

# begin_e2e: WORK, a fresh directory, and PIDS, processes to end; at exit the processes are ended
# and waited for and the directory removed.
begin_e2e() {
  WORK=$(mktemp -d)
  PIDS=()
  trap end_e2e EXIT
}
end_e2e() {
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}

# wait_for SECONDS DESCRIPTION COMMAND...: retries COMMAND every 50 ms until it succeeds.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

# start_private_server FIRST LAST LOG COMMAND...: an X server of our own (COMMAND with
# "-noreset :N" appended) on the first free display number N from FIRST to LAST whose server
# starts (another test may take a number between the check and the start; then its server exits
# and the next number is tried). Sets SERVER to ":N"; the server's process joins PIDS.
# -noreset: a server resets when its last client goes, and a client that connects during the
# reset is refused ("cannot open display"): a test that ends one program and starts the next
# would fail now and then. It also keeps the root's resources (Xft.dpi) as a desktop does.
start_private_server() {
  local first=$1 last=$2 log=$3 n xpid end
  shift 3
  for n in $(seq "$first" "$last"); do
    [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
    "$@" -noreset ":$n" >"$log" 2>&1 &
    xpid=$!
    end=$((SECONDS + 10))
    until DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 || ! kill -0 "$xpid" 2>/dev/null || [ $SECONDS -ge $end ]; do
      sleep 0.05
    done
    # The server that answers must be ours: when another script's server took the number first,
    # ours is about to exit, and xdpyinfo reached theirs (the lock file holds the owner's pid).
    if kill -0 "$xpid" 2>/dev/null && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 &&
      [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xpid" ]; then
      PIDS+=($xpid)
      SERVER=":$n"
      return 0
    fi
    kill "$xpid" 2>/dev/null || true
  done
  fail "no X server could be started: $*"
}

# start_private_xvfb FIRST LAST LOG: an Xvfb of 1024 x 768 of our own (start_private_server);
# exports DISPLAY.
start_private_xvfb() {
  start_private_server "$1" "$2" "$3" Xvfb -screen 0 1024x768x24 -nolisten tcp
  export DISPLAY=$SERVER
}

# start_openbox LOG: openbox on $DISPLAY, until it has named itself the window manager. Now and
# then openbox cannot open a display that has just answered (cause not known) and ends at once:
# it is started again, up to three times. Its process joins PIDS.
start_openbox() {
  local log=$1 try pid
  for try in 1 2 3; do
    openbox --sm-disable >"$log" 2>&1 &
    pid=$!
    sleep 0.5
    kill -0 "$pid" 2>/dev/null && break
  done
  PIDS+=($pid)
  openbox_named() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
  wait_for 20 "openbox" openbox_named
}

# shows_png NAME WINDOW PNG COMPARE: the window's picture (xwd, kept as $WORK/NAME.xwd) equals
# the PNG by COMPARE, tried for two seconds while the window catches up; the last comparison's
# report is printed when it never does.
shows_png() {
  local name=$1 win=$2 png=$3 compare=$4 try
  for try in $(seq 20); do
    xwd -id "$win" -silent >"$WORK/$name.xwd" && "$compare" "$WORK/$name.xwd" "$png" >"$WORK/compare.log" && return 0
    sleep 0.1
  done
  cat "$WORK/compare.log"
  return 1
}

# tooltip_size: "WIDTH HEIGHT" of the program's tooltip on show (the one viewable
# override-redirect window while no menu is open); fails while there is none.
tooltip_size() {
  local id info
  while read -r id; do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Override Redirect State: yes' <<<"$info" && grep -q IsViewable <<<"$info" || continue
    awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w, h}' <<<"$info"
    return 0
  done < <(xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}')
  return 1
}

# show_logs TITLE FILE [TITLE FILE ...]: each file that exists, under "--- TITLE:".
show_logs() {
  while [ $# -ge 2 ]; do
    [ -f "$2" ] && { echo "--- $1:"; cat "$2"; }
    shift 2
  done
}
