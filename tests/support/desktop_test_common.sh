# SPDX-License-Identifier: MIT
# Sourced by the desktop test scripts: a temporary folder $OUT, the list PIDS of
# processes the script starts (all ended, and $OUT removed, when it exits),
# wait_for <tenths of a second> <command...>, true once the command succeeds,
# start_xvfb <width>x<height>, a private X server, and visible_named <title>,
# the program's visible windows of that title.
OUT=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$OUT"
}
trap cleanup EXIT
wait_for() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

# Starts Xvfb with one screen of the given size on a display number it picks
# itself, so tests can run side by side, and exports DISPLAY. Fails when the
# server does not come up within ten seconds.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$OUT/display" >/dev/null 2>&1 &
  PIDS+=($!)
  wait_for 100 test -s "$OUT/display" || return 1
  export DISPLAY=:$(head -1 "$OUT/display")
}

# Prints the ids of the visible windows titled <title>, one a line; Qt titles a
# program's dialogs "<title> — ZR Dorvel", which counts too. Fails when there is none.
visible_named() {
  xdotool search --onlyvisible --name "^$1( — ZR Dorvel)?\$" 2>/dev/null | grep .
}
