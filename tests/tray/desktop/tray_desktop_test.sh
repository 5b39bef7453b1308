#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the tray test program under a private X server with a real notification area
# (trayer) and real pointer and key events (xdotool):
#   started hidden, the icon docks; a double-click on it shows the window; Ctrl+W closes
#   the window to the tray with the close notice; a right-click opens the popup menu and
#   "Shut Down" ends the program; a second run ends through SIGTERM the same way.
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
# With ZR_SHOTS_DIR set, leaves notice.png and menu.png there.
set -u
APP=$1
source "$(dirname "${BASH_SOURCE[0]}")/../../support/desktop_test_common.sh"
require_tools Xvfb trayer xdotool xwininfo import
fail() { echo "FAIL: $*"; cat "$OUT"/app*.out 2>/dev/null; exit 1; }

start_xvfb 1024x768 || fail "Xvfb did not start"
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$OUT/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
  >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

class=$(basename "$APP")
icon_window() { # the program's small window docked in the tray
  for w in $(xdotool search --classname "$class" 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
    [ "$width" -le 40 ] && { echo "$w"; return 0; }
  done
  return 1
}
click_at_window() { # window offset-x offset-y button [repeat]
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)); sleep 0.2
  xdotool click --repeat "${5:-1}" --delay 80 "$4"
}
click_icon() { # button [repeat]
  local w; w=$(icon_window) || fail "no tray icon"
  eval "$(xdotool getwindowgeometry --shell "$w")"
  click_at_window "$w" $((WIDTH / 2)) $((HEIGHT / 2)) "$@"
}
ended() { ! kill -0 "$APID" 2>/dev/null; }

# First run: the tray gestures and "Shut Down" from the menu.
"$APP" -startup >"$OUT/app1.out" 2>&1 &
APID=$!; PIDS+=($APID)
wait_for 100 icon_window >/dev/null || fail "the icon did not dock"
visible_named "Tray Desktop Test" && fail "the window shows despite -startup"

click_icon 1 2
wait_for 50 visible_named "Tray Desktop Test" || fail "double-click did not show the window"
icon_gone() { ! icon_window >/dev/null; }
wait_for 30 icon_gone || fail "the icon stayed after the window came back"

xdotool key ctrl+w
wait_for 50 visible_named "Close To System Tray" || fail "no close notice"
visible_named "Tray Desktop Test" && fail "closing did not hide the window"
sleep 0.3
import -window root "$OUT/notice.png"
notice=$(xdotool search --onlyvisible --name "^Close To System Tray\$" | head -1)
click_at_window "$notice" 133 124 1
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Close To System Tray\$' >/dev/null" ||
  fail "the notice did not close"

click_icon 3
sleep 0.7
import -window root "$OUT/menu.png"
xdotool key Up Return
wait_for 100 ended || fail "Shut Down did not end the program"
wait "$APID"; rc=$?
[ $rc -eq 0 ] || fail "exit code $rc"
grep -q '^closed$' "$OUT/app1.out" || fail "the close sequence did not run"

# Second run: SIGTERM ends it through the same shut-down path.
"$APP" -startup >"$OUT/app2.out" 2>&1 &
APID=$!; PIDS+=($APID)
wait_for 100 icon_window >/dev/null || fail "the icon did not dock the second time"
kill -TERM "$APID"
wait_for 100 ended || fail "SIGTERM did not end the program"
wait "$APID"; rc=$?
[ $rc -eq 0 ] || fail "exit code $rc after SIGTERM"
grep -q '^closed$' "$OUT/app2.out" || fail "SIGTERM skipped the close sequence"

if [ -n "${ZR_SHOTS_DIR:-}" ]; then cp "$OUT/notice.png" "$OUT/menu.png" "$ZR_SHOTS_DIR/"; fi
echo "tray desktop test passed"
