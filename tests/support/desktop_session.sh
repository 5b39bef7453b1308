# SPDX-License-Identifier: MIT
# Sourced after desktop_test_common.sh by the desktop tests that set up a desktop of
# their own: a private home, an X server, a window manager, panels, a session bus, and
# where the windows and the controls of an alert are on the screen. What the functions
# start goes into PIDS, so it ends with the script.

# fail <message>: prints the message and every log under $OUT (*.out, *.log), with a
# screenshot to $FAILURE_SHOT when that is set and an X server runs; exits 1.
fail() {
  echo "FAIL: $*"
  if [ -n "${FAILURE_SHOT:-}" ] && [ -n "${DISPLAY:-}" ] &&
    import -window root "$FAILURE_SHOT" 2>/dev/null; then
    echo "  the screen at the failure: $FAILURE_SHOT"
  fi
  for log in "$OUT"/*.out "$OUT"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; cat "$log"; }
  done
  exit 1
}

# Everything the programs write goes under $OUT instead of the user's own folders.
use_private_home() {
  export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/.config XDG_CACHE_HOME=$OUT/home/.cache
  export XDG_DATA_HOME=$OUT/home/.local/share XDG_RUNTIME_DIR=$OUT/runtime
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  # No session manager, no accessibility bus: nothing outlives the test.
  unset SESSION_MANAGER
  export NO_AT_BRIDGE=1
}

# use_program_copy <program file>: a copy of the program in a folder of its own, $PROG,
# where it keeps its data files; $INI is its settings file there.
use_program_copy() {
  PROG=$OUT/program
  INI=$PROG/ZRDorvel.ini
  mkdir -p "$PROG" && cp "$1" "$PROG/zrdorvel"
}

# start_private_bus: a session bus of this script's own (dbus-daemon), which starts the
# services it activates (xfconfd, kglobalaccel) with the environment set so far; exports
# DBUS_SESSION_BUS_ADDRESS. The bus and what it activates write to $OUT/bus.log, never
# to the test's output, which the test runner reads until every writer has closed it.
# When the script exits, the bus's clients end with the processes in PIDS.
start_private_bus() {
  dbus-daemon --session --nofork --nopidfile --print-address=3 \
    3>"$OUT/bus.address" >"$OUT/bus.log" 2>&1 </dev/null &
  PIDS+=($!)
  wait_for 100 test -s "$OUT/bus.address" || fail "the session bus did not start"
  export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$OUT/bus.address")
  unset DBUS_SESSION_BUS_PID
  trap 'end_bus_clients; cleanup' EXIT
}

# end_bus_clients: SIGTERM to the processes still connected to the private bus (the
# services it activated are not this script's children, so PIDS misses them); SIGKILL
# for those that have not ended 10 s later.
end_bus_clients() {
  local name pid clients=()
  for name in $(bus_call ListNames | grep -o '":[0-9.]*"' | tr -d '"'); do
    pid=$(bus_call GetConnectionUnixProcessID "string:$name" | awk '/uint32/ {print $2}')
    [ -n "$pid" ] && [ "$pid" != $$ ] && clients+=("$pid")
  done
  [ ${#clients[@]} -gt 0 ] || return 0
  kill "${clients[@]}" 2>/dev/null
  wait_for 100 none_running "${clients[@]}" || kill -KILL "${clients[@]}" 2>/dev/null
}
none_running() { # <pid...>
  local pid
  for pid in "$@"; do kill -0 "$pid" 2>/dev/null && return 1; done
  return 0
}
bus_call() { # <method> [arguments...] of the bus itself
  timeout 5 dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    "org.freedesktop.DBus.$1" "${@:2}" 2>/dev/null
}

# The desktop's work area as x,y,width,height, as the window manager publishes it.
work_area() { xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.*= *//p' | cut -d, -f1-4 | tr -d ' '; }

# openbox, which keeps windows out of the panels' struts; returns once it manages the
# screen and has published the work area.
start_openbox() {
  openbox --sm-disable >>"$OUT/openbox.log" 2>&1 &
  PIDS+=($!)
  wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && [ -n "$(work_area)" ]
  }
  wait_for 300 wm_running
}

# set_monitors <primary> <other>: two RandR monitors, each given as
# name:<width>x<height>+<x>+<y>, in place of the ones set before (this needs the
# -noreset of start_xvfb). The primary one takes over the X screen's output, which
# removes the screen's own monitor; the other has no output.
set_monitors() {
  local monitor output=screen
  for monitor in "$@"; do xrandr --delmonitor "${monitor%%:*}" >/dev/null 2>&1; done
  for monitor in "$@"; do
    local name=${monitor%%:*} geometry=${monitor#*:}
    local width=${geometry%%x*} rest=${geometry#*x}
    local height=${rest%%+*} position=${rest#*+}
    [ "$output" = screen ] && name="*$name"
    xrandr --setmonitor "$name" "$width/300x$height/200+$position" "$output" >/dev/null || return 1
    output=none
  done
}

# geometry <window>: sets X Y WIDTH HEIGHT, the window's client area on the screen
# (xwininfo, since xdotool counts the frame of a reparented window twice).
geometry() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $NF}
    /Absolute upper-left Y/ {print "Y=" $NF} /Width:/ {print "WIDTH=" $NF}
    /Height:/ {print "HEIGHT=" $NF}')"
}

# click_in <window> <x> <y> [button] [repeat]: a click at a point of the window's client area.
click_in() {
  geometry "$1"
  xdotool mousemove $((X + $2)) $((Y + $3))
  sleep 0.2
  xdotool click --repeat "${5:-1}" --delay 80 "${4:-1}"
}

# alert_spin_label <screenshot of an alert>: prints "<x> <y> <length> <top>": the left end,
# the row and the length of the underline of the alert's snooze spin label, and the row of
# its top. The spin label is as large as the widest number needs in the alert's font (at
# least 30x15): the number right-aligned over an underline at its bottom row that ends 5
# pixels before the up and down arrows in its rightmost 11 pixels. The underline is the
# first dark horizontal run of 13 to 40 pixels in the lower part of the alert; the top is
# the tip of the up arrow, the highest dark pixel in the arrows' middle column above it.
# Prints nothing when there is none.
alert_spin_label() {
  local line x y length column top
  line=$(convert "$1" -colorspace gray -depth 8 txt:- | awk -F'[ ,:()]+' '
    NR > 1 && $2 >= 90 {
      x = $1; y = $2; dark = $3 < 80
      if (x == 0 || !dark) { if (run >= 13 && run <= 40) { print start, row, run; exit } run = 0 }
      if (dark) { if (run == 0) { start = x; row = y } run++ } }')
  [ -n "$line" ] || return 0
  read -r x y length <<<"$line"
  column=$((x + length + 10))
  top=$(convert "$1" -crop "1x40+$column+$((y - 39))" +repage -colorspace gray -depth 8 txt:- |
    awk -F'[ ,:()]+' -v base=$((y - 39)) 'NR > 1 && $3 < 80 { print base + $2; exit }')
  echo "$x $y $length ${top:-$((y - 14))}"
}

# start_tray_desktop: Xvfb at 1280x800, openbox, and a trayer panel at the bottom right as
# the notification area; fails the test when the desktop does not come up.
start_tray_desktop() {
  start_xvfb 1280x800 || fail "Xvfb did not start"
  start_openbox || fail "openbox did not start"
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    >"$OUT/trayer.log" 2>&1 &
  PIDS+=($!)
}

is_visible() { visible_named "$1" >/dev/null; }
is_gone() { ! visible_named "$1" >/dev/null; }

# main_window: waits until the splash has come and gone and the program's main window is
# up, and gives it the keyboard; $MAIN is its id.
main_window() {
  wait_for 150 is_visible About || fail "no splash"
  wait_for 100 is_gone About || fail "the splash did not close"
  wait_for 50 is_visible "ZR Dorvel" || fail "no main window"
  MAIN=$(visible_named "ZR Dorvel" | head -1)
  xdotool windowfocus --sync "$MAIN"
  sleep 0.3
}

# exit_status <what> <tenths of a second>: waits that long for the program $APID to end,
# and checks that it ended with exit status 0.
exit_status() {
  wait_for "$2" eval "! kill -0 $APID 2>/dev/null" ||
    fail "$1: the program still runs $(($2 / 10)) s later"
  wait "$APID"
  local rc=$?
  [ $rc -eq 0 ] || fail "$1: the program ended with exit status $rc"
}
