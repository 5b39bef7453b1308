#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Alerts on two RandR monitors side by side (2 x 1280x800 on Xvfb) with a
# panel on the inner edge of each: a 32-pixel dock along the right edge of the left
# monitor and a 40-pixel one along the left edge of the right monitor, each reserving
# its space with _NET_WM_STRUT_PARTIAL (dock_panel.py). _NET_WORKAREA, one rectangle
# for the whole desktop, cannot leave them out. Twice, first with the left monitor
# primary, then the right one: Test (Ctrl+T) three times shows three alerts, all on the
# primary monitor, clear of both panels, the lowest in the lower right corner of the
# space the panels leave. No window manager runs: the ones at hand read a band from the
# desktop's edge literally (openbox published a work area of 640,0,1280,800 and moved the
# docks, xfwm4 pushed the alerts right of the right monitor's panel), so the program
# reads the panels' struts itself, as it does beside a window manager that lists them.
#
# Usage: inner_panels.sh <zrdorvel program file>
# Screenshots (inner-panels-*.png) go to $ZR_ARTEFACT_DIR, by default desktop-artefacts
# beside the program. Exits 77 (skipped) when a tool is missing. Ends every process it
# starts.
set -u
APP=$(readlink -f "$1")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/desktop_test_common.sh"
PYTHON=/usr/bin/python3
require_tools Xvfb xrandr xdotool xprop xwininfo import $PYTHON
source "$here/../support/desktop_session.sh"
FAILURE_SHOT=$ARTEFACTS/inner-panels-failure.png
mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/inner-panels-*.png

use_private_home
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
use_program_copy "$APP" || fail "cannot copy the program"
NAME="Stand up"
printf '1\r\n%s\r\nYes\r\nDaily\r\n\r\n9:00\r\n\r\n' "$NAME" >"$PROG/Reminders.dat"
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"

start_xvfb 2560x800 || fail "Xvfb did not start"
# left, top, right, bottom, then the rows of the left and right bands and the columns
# of the top and bottom ones.
$PYTHON "$here/dock_panel.py" 1248 0 32 800 0,1312,0,0,0,0,0,799,0,0,0,0 >"$OUT/dock-a.log" 2>&1 &
PIDS+=($!)
$PYTHON "$here/dock_panel.py" 1280 0 40 800 1320,0,0,0,0,799,0,0,0,0,0,0 >"$OUT/dock-b.log" 2>&1 &
PIDS+=($!)
docks_up() { (($(xdotool search --name '^dock panel$' 2>/dev/null | wc -l) == 2)); }
wait_for 100 docks_up || fail "the dock panels did not come up"

alert_count() { visible_named "$NAME" | wc -l; }
# run <primary> <geometry> <other> <geometry> <free left> <free right>
run() {
  local primary=$1 free_left=$5 free_right=$6
  set_monitors "$primary:$2" "$3:$4" || fail "xrandr could not set the monitors"
  sleep 1
  (cd "$PROG" && exec ./zrdorvel) >"$OUT/run-$primary.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
  main_shows() { [ -n "$(visible_named "ZR Dorvel")" ]; }
  wait_for 200 main_shows || fail "the main window did not appear"
  sleep 0.5
  xdotool windowfocus --sync "$(visible_named "ZR Dorvel" | head -1)"
  three_alerts() { (($(alert_count) == 3)); }
  for _ in 1 2 3; do
    xdotool key ctrl+t
    sleep 0.3
  done
  wait_for 50 three_alerts || fail "Ctrl+T three times showed $(alert_count) alerts, not 3"
  sleep 0.5
  import -window root "$ARTEFACTS/inner-panels-$primary-primary.png"
  echo "primary $primary: the panels leave x $free_left to $free_right"
  local lowest=0 lowest_gap=""
  for alert in $(visible_named "$NAME"); do
    geometry "$alert"
    echo "  alert ${WIDTH}x${HEIGHT}+$X+$Y"
    ((X >= free_left && X + WIDTH <= free_right)) ||
      fail "the alert at +$X+$Y (width $WIDTH) is not between $free_left and $free_right"
    ((Y >= 0 && Y + HEIGHT <= 800)) || fail "the alert at +$X+$Y leaves the monitor"
    if ((Y > lowest)); then
      lowest=$Y
      lowest_gap=$((free_right - X - WIDTH))
    fi
  done
  ((lowest_gap >= 0 && lowest_gap <= 30)) ||
    fail "the lowest alert is $lowest_gap pixels from the panel, not in the corner"
  kill -TERM "$APID"
  exit_status SIGTERM 100
}

run A 1280x800+0+0 B 1280x800+1280+0 0 1248
run B 1280x800+1280+0 A 1280x800+0+0 1320 2560
echo "alerts kept clear of the inner panels; screenshots in $ARTEFACTS"
