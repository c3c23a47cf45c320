#!/bin/bash
# Runs a command on a private X server with a window manager, as the X-server window tests
# need: a fresh Xvfb on a display number it picks itself (several runs may share the
# machine, and CI has no display), JWM with the configuration beside this script (Alt+F4
# closes a window), and Qt on the xcb platform. Everything it started is stopped when the
# command ends, and a watchdog ends a command that hangs.
#
#   tests/x11/xsession.sh build/x11_tests --gtest_filter=...
#   tests/x11/xsession.sh build/labbench        (to look at the program by hand)
#
# XSESSION_TIMEOUT (seconds, default 240) bounds the command.
set -u

# Listing the tests of a test binary needs no display.
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then exec "$@"; fi
done

here=$(cd "$(dirname "$0")" && pwd)
limit=${XSESSION_TIMEOUT:-240}
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "xsession: $1" >&2
  for log in "$work"/*.log; do [ -s "$log" ] && sed 's/^/  /' "$log" >&2; done
  exit 1
}

# Xvfb writes the display number it took to fd 3 once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 400); do
  [ -s "$work/display" ] && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.025
done
display=$(head -n 1 "$work/display" 2>/dev/null)
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
unset WAYLAND_DISPLAY XAUTHORITY
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

jwm -f "$here/jwmrc" >"$work/jwm.log" 2>&1 &
pids+=($!)
# The window manager is ready once it has published its desktops on the root window.
for _ in $(seq 400); do
  xdotool get_num_desktops >/dev/null 2>&1 && break
  kill -0 "${pids[1]}" 2>/dev/null || break
  sleep 0.025
done
xdotool get_num_desktops >/dev/null 2>&1 || fail "the window manager did not start"

export QT_QPA_PLATFORM=xcb
timeout -k 5 "$limit" "$@"
rc=$?
[ "$rc" = 124 ] && echo "xsession: stopped by the watchdog after $limit s" >&2
exit "$rc"
