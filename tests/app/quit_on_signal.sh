#!/usr/bin/env bash
# Starts the program on the offscreen platform, lets it run, signals it and requires that it
# is still running before the signal and ends with code 0 within five seconds after it.
#   quit_on_signal.sh <labbench> [<signal>:<seconds up>]...    (default TERM:6)
# Several checks run side by side, each with its own process.
set -u
bin=$1
shift
checks=("$@")
[ ${#checks[@]} -gt 0 ] || checks=(TERM:6)

# A process that has ended but is not yet reaped still answers kill -0: look at its state.
alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

check() {
  local sig=${1%%:*} up=${1#*:} log pid rc
  log=$(mktemp)
  QT_QPA_PLATFORM=offscreen "$bin" >"$log" 2>&1 &
  pid=$!
  sleep "$up"
  if ! alive "$pid"; then
    wait "$pid"
    rc=$?
    echo "FAIL SIG$sig: the program ended by itself within $up s (code $rc)"
    cat "$log"
    rm -f "$log"
    return 1
  fi
  kill -s "$sig" "$pid"
  for _ in $(seq 50); do
    alive "$pid" || break
    sleep 0.1
  done
  if alive "$pid"; then
    kill -s KILL "$pid"
    wait "$pid"
    echo "FAIL SIG$sig: still running 5 s after the signal"
    cat "$log"
    rm -f "$log"
    return 1
  fi
  wait "$pid"
  rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "FAIL SIG$sig: exit code $rc"
    cat "$log"
    rm -f "$log"
    return 1
  fi
  echo "ok   SIG$sig after $up s: exit code 0"
  rm -f "$log"
}

pids=()
for c in "${checks[@]}"; do
  check "$c" &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
