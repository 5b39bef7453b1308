#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a screen reader finds in every window of the real program: Xvfb with openbox and
# a trayer panel, the accessibility bus (at-spi-bus-launcher) on a private session bus,
# the program with its accessibility bridge on. Each window is opened from the keyboard
# and walked over AT-SPI (accessible_names.py); the test fails on any control that takes
# the focus and has neither a name nor a caption labelling it. The main window, the
# properties dialog, the options, the about box and the notice of the notification area
# are walked; a switched-off reminder's row must say so.
#
# Usage: accessibility.sh <zrdorvel program file>
# What each window reads like (accessibility-<window>.txt) and a screenshot of the
# properties dialog go to $ZR_ARTEFACT_DIR, by default desktop-artefacts beside the
# program. Exits 77 (skipped) when a tool is missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
HERE=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
source "$HERE/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo import dbus-daemon dbus-send
source "$HERE/../support/desktop_session.sh"
BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
[ -x "$BUS_LAUNCHER" ] || { echo "skipped: at-spi-bus-launcher (at-spi2-core) is missing"; exit 77; }
# pyatspi is a Debian package of the system's Python.
PYTHON=/usr/bin/python3
"$PYTHON" -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is missing"; exit 77; }

mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/accessibility-*
FAILURE_SHOT=$ARTEFACTS/accessibility-failure.png
use_private_home
start_private_bus
use_program_copy "$APP" || fail "cannot copy the program"
unset NO_AT_BRIDGE
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"
# Two daily reminders, the second switched off.
record() { # name, TRUE or FALSE
  printf '%s\r\n0\r\n%s\r\n16777215\r\n\r\n1\r\n %s\r\n %s\r\n %s\r\n %s\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    "$1" "$2" 3.95833333333333E-0001 0.00000000000000E+0000 0.00000000000000E+0000 \
    4.53620000000000E+0004
}
{ printf 'DorvelFile\r\n2\r\n2\r\n'; record Stretch TRUE; record Water FALSE; } >"$PROG/Reminders.dat"

step "desktop: Xvfb 1366x768, openbox, trayer, the accessibility bus"
start_xvfb 1366x768 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"
trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
  --SetPartialStrut true >>"$OUT/trayer.log" 2>&1 &
PIDS+=($!)
"$BUS_LAUNCHER" --launch-immediately >>"$OUT/at-spi.log" 2>&1 &
PIDS+=($!)

is_visible() { visible_named "$1" >/dev/null; }
is_gone() { ! visible_named "$1" >/dev/null; }
walk() { # window title, artefact name
  local status
  "$PYTHON" "$HERE/accessible_names.py" ZRDorvel "$1" "$ARTEFACTS/accessibility-$2.txt"
  status=$?
  [ $status -eq 0 ] || fail "$1: walking it over AT-SPI failed ($status)"
  step "$1: $(wc -l <"$ARTEFACTS/accessibility-$2.txt") lines read"
}
close_with_keyboard() { # window title: the window manager's close key
  xdotool key alt+F4
  wait_for 50 is_gone "$1" || fail "$1 did not close"
}

step "the main window"
(cd "$PROG" && exec ./zrdorvel) >"$OUT/program.out" 2>&1 &
PIDS+=($!)
wait_for 200 is_visible "ZR Dorvel" || fail "no main window"
wait_for 100 is_gone About || fail "the splash stayed"
walk "ZR Dorvel" main
grep -q "^cell 'Water': Disabled" "$ARTEFACTS/accessibility-main.txt" ||
  fail "the switched-off reminder's row does not say so"
grep -q "^cell 'Stretch'" "$ARTEFACTS/accessibility-main.txt" &&
  fail "the switched-on reminder's row says it is off"

step "the properties dialog"
xdotool key ctrl+a
wait_for 50 is_visible Properties || fail "no properties dialog"
walk Properties properties
import -window root "$ARTEFACTS/accessibility-properties.png"
for field in "text: 'Name' labelled by \['Name:'\]" "text: 'Text' labelled by \['Text:'\]" \
  "push button: 'Color: white'" "text: 'Audio File'" "labelled by \['Type:'\]" \
  "spin button: 'Time'" "list: 'Days Of Week'" "combo box: 'Month'" "combo box: 'Day'"; do
  grep -q "$field" "$ARTEFACTS/accessibility-properties.txt" || fail "Properties: no $field"
done
close_with_keyboard Properties

step "the options"
xdotool key alt+s
sleep 0.4
xdotool key o
wait_for 50 is_visible "System Options" || fail "no options dialog"
walk "System Options" options
close_with_keyboard "System Options"

step "the about box"
xdotool key alt+h
sleep 0.4
xdotool key a
wait_for 50 is_visible About || fail "no about box"
walk About about
grep -q "^label: 'http" "$ARTEFACTS/accessibility-about.txt" || fail "the link takes no focus"
close_with_keyboard About

step "the notice of the notification area"
xdotool key alt+f
sleep 0.4
xdotool key c
wait_for 50 is_visible "Close To System Tray" || fail "no notice"
walk "Close To System Tray" notice
step "all windows walked"
