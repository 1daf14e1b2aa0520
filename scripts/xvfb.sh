#!/bin/sh
# The one place that starts and ends a private X server (Xvfb): the window-system tests' CTest
# fixture (tests/CMakeLists.txt) and ./run (scripts/common.sh) both go through it.
#   xvfb.sh start STATE   starts a private Xvfb and writes its display to STATE, or the
#                         reason none could start ("skip: ..."); it always exits 0
#   xvfb.sh stop STATE    ends that Xvfb
#   xvfb.sh run STATE CMD runs CMD on that display; without one it exits 77, which the
#                         tests report as skipped, with the reason
STATE="$2"

case "$1" in
start)
  rm -f "$STATE" "$STATE.pid" "$STATE.fd" "$STATE.log"
  if ! command -v Xvfb >/dev/null 2>&1; then
    echo "skip: Xvfb is not installed (Debian package xvfb)" >"$STATE"
    cat "$STATE"
    exit 0
  fi
  : >"$STATE.fd"
  # Detached from CTest's pipes, so the fixture test ends while the server runs on.
  # -noreset: by default the server resets whenever its last client leaves, and a client
  # connecting at that moment (a test starting the program as another one ends) is refused.
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$STATE.fd" </dev/null >/dev/null 2>"$STATE.log" &
  echo $! >"$STATE.pid"
  i=0
  while [ ! -s "$STATE.fd" ] && [ $i -lt 100 ]; do
    kill -0 "$(cat "$STATE.pid")" 2>/dev/null || break
    sleep 0.1
    i=$((i + 1))
  done
  if [ -s "$STATE.fd" ]; then
    echo ":$(head -n1 "$STATE.fd")" >"$STATE"
    echo "Xvfb on display $(cat "$STATE")"
  else
    kill "$(cat "$STATE.pid")" 2>/dev/null
    echo "skip: Xvfb did not start: $(tr '\n' ' ' <"$STATE.log" | cut -c1-300)" >"$STATE"
    rm -f "$STATE.pid"
    cat "$STATE"
  fi
  exit 0
  ;;
stop)
  if [ -s "$STATE.pid" ]; then
    kill "$(cat "$STATE.pid")" 2>/dev/null
  fi
  rm -f "$STATE" "$STATE.pid" "$STATE.fd" "$STATE.log"
  exit 0
  ;;
run)
  shift 2
  # Listing the test cases needs no display.
  for arg in "$@"; do
    case "$arg" in --gtest_list_tests) exec "$@" ;; esac
  done
  display="$(cat "$STATE" 2>/dev/null)"
  case "$display" in
  :*)
    DISPLAY="$display"
    export DISPLAY
    exec "$@"
    ;;
  skip:*)
    echo "Skipped: no X server for the window-system tests (${display#skip: })"
    exit 77
    ;;
  *)
    echo "Skipped: the Xvfb fixture did not run (start it with ctest, not the test alone)"
    exit 77
    ;;
  esac
  ;;
esac
echo "usage: xvfb.sh start|stop|run STATE [command...]" >&2
exit 2
