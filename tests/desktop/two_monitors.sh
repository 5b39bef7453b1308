#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Alerts on an X desktop of two monitors side by side (Xvfb with two RandR monitors,
# openbox, a trayer panel at the bottom right of the primary monitor), where Qt by
# itself gives each monitor's whole area as its work area. Twice, first with the left
# monitor primary, then the right one: the real program starts with one reminder, Test
# (Ctrl+T) three times shows three alerts, and every alert lies on the primary monitor
# inside the desktop's work area, clear of the panel, the first one in its lower right
# corner. SIGTERM then ends the program with exit status 0.
#
# Usage: two_monitors.sh <zrdorvel program file>
# Screenshots (two-monitors-*.png) go to $ZR_ARTEFACT_DIR, by default desktop-artefacts
# beside the program. Exits 77 (skipped) when a tool is missing. Ends every process it
# starts.
set -u
APP=$(readlink -f "$1")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xrandr xdotool xprop xwininfo import
source "$here/../support/desktop_session.sh"
FAILURE_SHOT=$ARTEFACTS/two-monitors-failure.png
mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/two-monitors-*.png

use_private_home
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
unset QT_RELY_ON_NET_WORKAREA_ATOM

use_program_copy "$APP" || fail "cannot copy the program"
NAME="Stand up"
# One daily reminder, in the older format, which the program reads as well.
printf '1\r\n%s\r\nYes\r\nDaily\r\n\r\n9:00\r\n\r\n' "$NAME" >"$PROG/Reminders.dat"
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"

start_xvfb 2560x800 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"

alert_count() { visible_named "$NAME" | wc -l; }
ended() { ! kill -0 "$APID" 2>/dev/null; }

# run <primary name> <primary geometry> <other name> <other geometry>
run() {
  local primary=$1 other=$3
  local width=${2%%x*} left=${2#*+}
  left=${left%%+*}
  set_monitors "$primary:$2" "$other:$4" || fail "xrandr could not set the monitors"
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    --SetPartialStrut true --monitor primary >>"$OUT/trayer.log" 2>&1 &
  local panel=$!
  PIDS+=($panel)
  panel_reserved() { [ "$(work_area | cut -d, -f4)" -lt 800 ] 2>/dev/null; }
  wait_for 100 panel_reserved || fail "the work area does not leave out the panel: $(work_area)"
  local wa_x wa_y wa_w wa_h
  IFS=, read -r wa_x wa_y wa_w wa_h <<<"$(work_area)"
  local panel_window
  panel_window=$(xdotool search --class trayer 2>/dev/null | while read -r w; do
    xwininfo -id "$w" | grep -q 'Map State: IsViewable' && echo "$w"; done | head -1)
  [ -n "$panel_window" ] || fail "no panel window"

  (cd "$PROG" && exec ./zrdorvel) >"$OUT/run-$primary.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
  main_shows() { [ -n "$(visible_named "ZR Dorvel")" ]; }
  wait_for 200 main_shows || fail "the main window did not appear"
  sleep 0.5
  xdotool windowactivate --sync "$(visible_named "ZR Dorvel" | head -1)"
  three_alerts() { (($(alert_count) == 3)); }
  for _ in 1 2 3; do
    xdotool key ctrl+t
    sleep 0.3
  done
  wait_for 50 three_alerts || fail "Ctrl+T three times showed $(alert_count) alerts, not 3"
  sleep 0.5
  import -window root "$ARTEFACTS/two-monitors-$primary-primary.png"

  geometry "$panel_window"
  local panel_x=$X panel_y=$Y panel_w=$WIDTH panel_h=$HEIGHT
  echo "primary $primary at x $left, width $width; work area ${wa_w}x${wa_h}+$wa_x+$wa_y;" \
    "panel ${panel_w}x${panel_h}+$panel_x+$panel_y"
  local lowest=0 lowest_gaps=""
  for alert in $(visible_named "$NAME"); do
    geometry "$alert"
    echo "  alert ${WIDTH}x${HEIGHT}+$X+$Y"
    ((X >= left && X + WIDTH <= left + width)) ||
      fail "the alert at +$X+$Y is not on the primary monitor $primary"
    ((Y >= wa_y && Y + HEIGHT <= wa_y + wa_h)) ||
      fail "the alert at +$X+$Y (height $HEIGHT) reaches out of the work area"
    ((X + WIDTH <= panel_x || X >= panel_x + panel_w || Y + HEIGHT <= panel_y ||
      Y >= panel_y + panel_h)) || fail "the alert at +$X+$Y covers the panel"
    if ((Y > lowest)); then
      lowest=$Y
      lowest_gaps="$((left + width - X - WIDTH)) $((wa_y + wa_h - Y - HEIGHT))"
    fi
  done
  local right_gap bottom_gap
  read -r right_gap bottom_gap <<<"$lowest_gaps"
  ((right_gap >= 0 && right_gap <= 30 && bottom_gap >= 0 && bottom_gap <= 30)) ||
    fail "the lowest alert is not in the lower right corner (gaps $right_gap, $bottom_gap)"

  kill -TERM "$APID"
  wait_for 100 ended || fail "SIGTERM did not end the program"
  wait "$APID"
  local rc=$?
  ((rc == 0)) || fail "the program ended with exit status $rc"
  kill "$panel"
  wait "$panel" 2>/dev/null
  wait_for 50 bash -c "[ \"\$(xprop -root _NET_WORKAREA | sed 's/.*= *//' | cut -d, -f4 | tr -d ' ')\" = 800 ]"
}

run A 1280x800+0+0 B 1280x800+1280+0
run B 1280x800+1280+0 A 1280x800+0+0
echo "alerts stayed on the primary monitor's work area; screenshots in $ARTEFACTS"
