# SPDX-License-Identifier: MIT
# Sourced by the desktop test scripts: a temporary folder $OUT, the list PIDS of
# processes the script starts (all ended, and $OUT removed, when it exits; SIGKILL
# for what SIGTERM has not ended within 10 s),
# wait_for <tenths of a second> <command...>, true once the command succeeds,
# start_xvfb <width>x<height>, a private X server, visible_named <title>, the
# program's visible windows of that title, require_tools <tool...>, which skips the
# test (exit 77) when one is missing, step <text>, a progress line with the
# seconds since the script started, and clock_ahead <seconds>, the environment that
# runs a program with its clock moved ahead.
STARTED=$(date +%s)
OUT=$(mktemp -d)
PIDS=()
cleanup() {
  local pid reaper
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  # What has not ended 10 s after SIGTERM gets SIGKILL, so that one stuck helper cannot
  # hold the test until its timeout.
  (
    sleep 10
    for pid in "${PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  ) >/dev/null 2>&1 &
  reaper=$!
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  kill "$reaper" 2>/dev/null
  rm -rf "$OUT"
}
trap cleanup EXIT
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
  done
}
step() { echo "[$(($(date +%s) - STARTED))s] $*"; }
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

# start_xvfb <width>x<height> [Xvfb options...]: a private X server with one screen
# of that size, on a display number it picks itself so tests can run side by side;
# exports DISPLAY. It counts as started once a client gets through (-noreset, so
# that the probe leaving does not reset the server under the program), and gets
# three tries beside other tests' servers. Its output goes to $OUT/xvfb.log.
start_xvfb() {
  local size=$1 try pid
  shift
  for try in 1 2 3; do
    rm -f "$OUT/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" \
      3>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
    pid=$!
    PIDS+=($pid)
    if wait_for 100 test -s "$OUT/display"; then
      export DISPLAY=:$(head -1 "$OUT/display")
      wait_for 50 eval "xdpyinfo >/dev/null 2>&1 || ! kill -0 $pid 2>/dev/null" &&
        kill -0 "$pid" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill "$pid" 2>/dev/null
  done
  return 1
}

# Prints the ids of the visible windows titled <title>, one a line; Qt titles a
# program's dialogs "<title> — ZR Dorvel", which counts too. Fails when there is none.
visible_named() {
  xdotool search --onlyvisible --name "^$1( — ZR Dorvel)?\$" 2>/dev/null | grep .
}

# clock_ahead <seconds>: sets CLOCK_AHEAD to the environment assignments (for env) that
# run a program with its time of day that many seconds ahead of the real one, through
# libfaketime, so that a test reaches a moment without waiting for it in real time:
#   exec env "${CLOCK_AHEAD[@]}" ./program
# Its timers keep the real pace. The sanitizer build accepts the preloaded library
# ahead of its own runtime. Skips the test (exit 77) where libfaketime is missing.
clock_ahead() {
  local library
  library=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -1)
  [ -n "$library" ] || { echo "skipped: libfaketime is missing"; exit 77; }
  CLOCK_AHEAD=(FAKETIME="+$1" FAKETIME_DONT_FAKE_MONOTONIC=1
    LD_PRELOAD="$library${LD_PRELOAD:+ $LD_PRELOAD}"
    ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}")
}
