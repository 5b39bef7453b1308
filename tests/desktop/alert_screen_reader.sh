#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program's alerts as a screen reader finds them over AT-SPI: Xvfb and openbox on a
# session bus of its own with the accessibility bus (at-spi-bus-launcher), the program
# with Qt's accessibility bridge on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1), and
# alert_screen_reader.py (pyatspi):
#   1. Test (Ctrl+T) shows an alert, which tells that it shows as an object of role alert
#      named after the reminder;
#   2. its description and its message text hold the message, the message has a scroll
#      bar, the spin button is named "Remind again in 0 minutes." with a value of 0 in
#      0..120; setting the value to 7 and pressing Close through AT-SPI closes the alert
#      and snoozes it (Snoozed.dat holds it).
# SIGTERM then ends the program with exit status 0.
#
# Usage: alert_screen_reader.sh <zrdorvel program file>
# Exits 77 (skipped) when a tool is missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
PYTHON=/usr/bin/python3 # Debian's, with python3-pyatspi
LAUNCHER=/usr/libexec/at-spi-bus-launcher
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/desktop_test_common.sh"
require_tools Xvfb openbox dbus-daemon dbus-send xdotool xprop $PYTHON $LAUNCHER
$PYTHON -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is missing"; exit 77; }
source "$here/../support/desktop_session.sh"
use_private_home
start_private_bus
unset NO_AT_BRIDGE

export QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
export LSAN_OPTIONS="suppressions=$here/lsan_platform_plugins.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
use_program_copy "$APP" || fail "cannot copy the program"
NAME="Stand up"
LINE="Stretch your legs for five minutes."
{
  printf 'DorvelFile\r\n2\r\n1\r\n%s\r\n12\r\n%s\r\n' "$NAME" "$LINE"
  for i in $(seq 2 12); do printf 'Line %d of a long message.\r\n' "$i"; done
  printf 'FALSE\r\n16777215\r\n\r\n1\r\n0.25\r\n0\r\n0\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n'
} >"$PROG/Reminders.dat"
printf '[System]\r\nAutoCheckForUpdates=0\r\nKeepSnoozed=1\r\n' >"$INI"
SNOOZED=$PROG/Snoozed.dat

start_xvfb 1280x800 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"
$LAUNCHER --launch-immediately >"$OUT/at-spi.log" 2>&1 &
PIDS+=($!)
a11y_bus() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
wait_for 100 a11y_bus || fail "the accessibility bus did not come up"

(cd "$PROG" && exec ./zrdorvel) >"$OUT/run.out" 2>&1 &
APID=$!
PIDS+=($APID)
main_window

step "1. Test shows an alert that tells screen readers it shows"
$PYTHON "$here/alert_screen_reader.py" announce "$NAME" >"$OUT/announce.log" 2>&1 ||
  fail "$(cat "$OUT/announce.log")"
wait_for 50 is_visible "$NAME" || fail "no alert window"

step "2. its role, name, message, value and actions; set 7 minutes and press Close"
$PYTHON "$here/alert_screen_reader.py" inspect "$NAME" "$LINE" 7 >"$OUT/inspect.log" 2>&1 ||
  fail "$(cat "$OUT/inspect.log")"
wait_for 50 is_gone "$NAME" || fail "pressing Close over AT-SPI did not close the alert"
snoozed() { grep -q "^$NAME"$'\r'"\$" "$SNOOZED" 2>/dev/null; }
wait_for 30 snoozed || fail "the alert closed over AT-SPI was not snoozed"

kill -TERM "$APID"
exit_status SIGTERM 50
echo "the alert was announced, read, set and closed over AT-SPI"
