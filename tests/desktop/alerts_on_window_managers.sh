#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Alerts under a real window manager with its default settings (kwin_x11, xfwm4 or
# openbox), on Xvfb with a session bus of its own and a trayer panel. Three reminders
# come due together while another program (xmessage) has the keyboard:
#   1. with the program hidden in the tray (-startup), and
#   2. with its main window open but inactive:
# each time all three alerts are viewable (mapped, WM_STATE Normal, not hidden), on
# every workspace, out of the taskbar, and the other program keeps the keyboard.
# Then by keyboard and mouse: a click gives an alert the keyboard (its focus mark shows
# in the screenshot); Up three times and Enter snoozes it for 3 minutes (Snoozed.dat
# holds it); Tab moves to the next alert and Escape closes it without a snooze; Ctrl+G in
# the main window reaches the newest alert; "Close All Alerts" from the Reminder menu
# closes the rest. SIGTERM then ends the program with exit status 0.
#
# Usage: alerts_on_window_managers.sh <zrdorvel program file> <kwin_x11|xfwm4|openbox>
# Screenshots (alerts-<wm>-*.png) go to $ZR_ARTEFACT_DIR, by default desktop-artefacts
# beside the program. Exits 77 (skipped) when a tool is missing. Ends every process it
# starts.
set -u
APP=$(readlink -f "$1")
WM=$2
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/desktop_test_common.sh"
require_tools Xvfb "$WM" trayer xmessage dbus-daemon dbus-send dbus-update-activation-environment xdotool xprop xwininfo import
source "$here/../support/desktop_session.sh"
use_private_home
start_private_bus

FAILURE_SHOT=$ARTEFACTS/alerts-$WM-failure.png
mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/alerts-"$WM"-*.png
export QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
export LSAN_OPTIONS="suppressions=$here/lsan_platform_plugins.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
SNOOZED=$PROG/Snoozed.dat

start_xvfb 1280x800 || fail "Xvfb did not start"
# Services the bus starts for the window manager (kglobalaccel) reach the X server too.
dbus-update-activation-environment DISPLAY >/dev/null 2>&1
case $WM in
kwin_x11) kwin_x11 --replace >>"$OUT/wm.log" 2>&1 & ;;
xfwm4) xfwm4 --replace --compositor=off >>"$OUT/wm.log" 2>&1 & ;;
*) "$WM" >>"$OUT/wm.log" 2>&1 & ;;
esac
PIDS+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for 900 wm_running || fail "$WM did not start"
trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
  --SetPartialStrut true >"$OUT/trayer.log" 2>&1 &
PIDS+=($!)
sleep 2

# The days since 30 December 1899 of a moment given in seconds since the epoch, in
# local time, as the reminders file holds moments.
serial_of() {
  local offset
  offset=$(date -d "@$1" +%z)
  offset=$(((${offset:0:1}1) * (10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60)))
  awk -v s="$(($1 + offset))" 'BEGIN { printf "%.10f", s / 86400 + 25569 }'
}
# three_due <seconds>: three daily reminders, due that many seconds from now.
NAMES=("Water the plants" "Call Ann" "Stand up")
three_due() {
  local due day
  due=$(serial_of $(($(date +%s) + $1)))
  day=$(awk -v s="$due" 'BEGIN { printf "%.10f", s - int(s) }')
  {
    printf 'DorvelFile\r\n2\r\n3\r\n'
    for name in "${NAMES[@]}"; do
      printf '%s\r\n1\r\n%s\r\nTRUE\r\n%s\r\n\r\n1\r\n%s\r\n%s\r\n0\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
        "$name" "Message of $name" "$((RANDOM * 512))" "$day" "$due"
    done
  } >"$DAT"
}
printf '[System]\r\nAutoCheckForUpdates=0\r\nKeepSnoozed=1\r\nOnCloseMessage=0\r\n' >"$INI"

xmessage -name other -title "Typing here" "Another program has the keyboard" >"$OUT/xmessage.log" 2>&1 &
PIDS+=($!)
wait_for 100 is_visible "Typing here" || fail "xmessage did not come up"
OTHER=$(visible_named "Typing here" | head -1)
active_window() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# *//; s/,.*//')"; }
other_active() { (($(active_window) == OTHER)); }
# A click on its text, as a user gives a window the keyboard.
give_other_the_keyboard() {
  xdotool windowactivate --sync "$OTHER" >/dev/null 2>&1
  click_in "$OTHER" 40 12
  wait_for 30 other_active || fail "the other program did not get the keyboard"
}

alert_ids() { for name in "${NAMES[@]}"; do visible_named "$name"; done; }
alert_count() { alert_ids | wc -l; }
three_alerts() { (($(alert_count) == 3)); }
# Each alert mapped, in the Normal state, not hidden, on every workspace, out of the
# taskbar; the other program keeps the keyboard.
check_alerts() {
  local what=$1 id state
  for id in $(alert_ids); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' || fail "$what: alert $id is not viewable"
    state=$(xprop -id "$id" WM_STATE _NET_WM_STATE _NET_WM_DESKTOP _NET_WM_WINDOW_TYPE)
    echo "$state" | grep -q 'window state: Normal' || fail "$what: alert $id is not Normal: $state"
    echo "$state" | grep -q '_NET_WM_STATE_HIDDEN' && fail "$what: $WM hid alert $id: $state"
    echo "$state" | grep -q '_NET_WM_STATE_SKIP_TASKBAR' || fail "$what: alert $id in the taskbar: $state"
    echo "$state" | grep -Eq '_NET_WM_STATE_STICKY|_NET_WM_DESKTOP\(CARDINAL\) = 4294967295' ||
      fail "$what: alert $id is not on every workspace: $state"
  done
  (($(active_window) == OTHER)) || fail "$what: an alert took the keyboard from the other program"
}
start_program() { # <log name> [arguments]
  local log=$1
  shift
  (cd "$PROG" && exec ./zrdorvel "$@") >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
stop_program() {
  kill -TERM "$APID"
  exit_status SIGTERM 50
}

# --- 1. hidden in the tray ----------------------------------------------------------
step "1. $WM: three alerts due with the program hidden in the tray"
three_due 12
start_program hidden -startup
sleep 3
give_other_the_keyboard
wait_for 300 three_alerts || fail "hidden: $(alert_count) of 3 alerts are visible"
sleep 1.5
check_alerts hidden
import -window root "$ARTEFACTS/alerts-$WM-hidden.png"
stop_program

# --- 2. main window open, inactive ----------------------------------------------------
step "2. $WM: three alerts due with the main window open but inactive"
rm -f "$SNOOZED"
three_due 14
start_program open
main_window
give_other_the_keyboard
wait_for 300 three_alerts || fail "open: $(alert_count) of 3 alerts are visible"
sleep 1.5
check_alerts open
is_visible "ZR Dorvel" || fail "the main window went away"
import -window root "$ARTEFACTS/alerts-$WM-open.png"

# --- 3. keyboard --------------------------------------------------------------------
step "3. $WM: a click gives an alert the keyboard; Up, Enter snoozes it"
FIRST=$(visible_named "${NAMES[0]}" | head -1)
click_in "$FIRST" 120 60
active_is() { (($(active_window) == $1)); }
wait_for 30 active_is "$FIRST" || fail "a click did not give the alert the keyboard"
import -window root "$ARTEFACTS/alerts-$WM-focused.png"
xdotool key Up Up Up
sleep 0.3
xdotool key Return
wait_for 30 is_gone "${NAMES[0]}" || fail "Enter did not close the alert"
snoozed() { grep -q "^$1"$'\r'"\$" "$SNOOZED" 2>/dev/null; }
wait_for 30 snoozed "${NAMES[0]}" || fail "Enter did not snooze the alert"

step "   Ctrl+G in the main window reaches the newest alert; Tab and Escape"
xdotool windowactivate --sync "$(visible_named "ZR Dorvel" | head -1)"
sleep 0.5
xdotool key ctrl+g
NEWEST=$(visible_named "${NAMES[2]}" | head -1)
wait_for 30 active_is "$NEWEST" || fail "Ctrl+G did not give the newest alert the keyboard"
xdotool key Tab
SECOND=$(visible_named "${NAMES[1]}" | head -1)
wait_for 30 active_is "$SECOND" || fail "Tab did not move to the other alert"
xdotool key Up Escape
wait_for 30 is_gone "${NAMES[1]}" || fail "Escape did not close the alert"
sleep 0.5
snoozed "${NAMES[1]}" && fail "Escape snoozed the alert"

step "   \"Close All Alerts\" from the Reminder menu"
xdotool windowactivate --sync "$(visible_named "ZR Dorvel" | head -1)"
sleep 0.5
xdotool key alt+r
sleep 0.5
xdotool key l
no_alerts() { (($(alert_count) == 0)); }
wait_for 30 no_alerts || fail "Close All Alerts left $(alert_count) alerts"
stop_program
echo "alerts stayed visible under $WM; screenshots in $ARTEFACTS"
