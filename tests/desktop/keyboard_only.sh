#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program worked with the keyboard alone (xdotool keys, never a click) on Xvfb
# with openbox: add a reminder (name, message, colour in the colour dialog, kind), edit it
# from the list with Enter (name and colour), duplicate it, rename the copy, sort the list
# by name from the list's menu key, test it, delete one with the Delete key, and change
# every option of the options dialog. Each step is checked in the files the program
# writes.
#
# Usage: keyboard_only.sh <zrdorvel program file>
# Screenshots (keyboard-*.png) go to $ZR_ARTEFACT_DIR, by default desktop-artefacts beside
# the program. Exits 77 (skipped) when a tool is missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
HERE=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
source "$HERE/../support/desktop_test_common.sh"
require_tools Xvfb openbox xdotool xprop xwininfo import
source "$HERE/../support/desktop_session.sh"

mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/keyboard-*.png
FAILURE_SHOT=$ARTEFACTS/keyboard-failure.png
use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"

step "desktop: Xvfb 1366x768, openbox"
start_xvfb 1366x768 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"

is_visible() { visible_named "$1" >/dev/null; }
is_gone() { ! visible_named "$1" >/dev/null; }
shot() { import -window root "$ARTEFACTS/keyboard-$1.png" || fail "no screenshot $1"; }
keys() { # xdotool key names, one after the other, with time for the program between them
  local key
  for key in "$@"; do
    xdotool key --delay 60 "$key"
    sleep 0.3
  done
}
type_text() { xdotool type --delay 30 "$1"; sleep 0.2; }
# The file's lines without the CR: the reminder count is line 3, names follow the header.
dat_lines() { tr -d '\r' <"$DAT" 2>/dev/null; }
reminder_count() { dat_lines | sed -n 3p; }
has_line() { dat_lines | grep -qx -- "$1"; }
# openbox does not always give the focus to a dialog that opens while a key is going
# up; a desktop would, so the test asks it to, as the user would by Alt+Tab.
open_window() { # title, keys that open it
  local title=$1; shift
  keys "$@"
  wait_for 50 is_visible "$title" || fail "no window \"$title\" after $*"
  xdotool windowactivate --sync "$(visible_named "$title" | tail -1)" 2>/dev/null
  sleep 0.3
}
close_expected() { wait_for 50 is_gone "$1" || fail "\"$1\" did not close"; }
# The colour dialog: its HTML box takes a colour written as #RRGGBB; Enter confirms.
choose_color() { # #RRGGBB, keys that open the dialog
  local color=$1
  shift
  open_window "Select Color" "$@"
  keys alt+h ctrl+a
  type_text "$color"
  keys Return
  close_expected "Select Color"
}

# From the time box (daily: the kind's page is empty) Tab steps through its hours,
# minutes and seconds and then reaches OK, which Space presses.
ok_from_time() { keys Tab Tab Tab space; }

step "start in an empty folder"
(cd "$PROG" && exec ./zrdorvel) >"$OUT/program.out" 2>&1 &
APID=$!
PIDS+=($APID)
wait_for 200 is_visible "ZR Dorvel" || fail "no main window"
wait_for 100 is_gone About || fail "the splash stayed"
sleep 0.5

step "add: name typed over the selected one, message, Tab on, red from the keyboard, daily"
open_window Properties ctrl+a
type_text "Walk"
keys alt+t
type_text "Take a walk"
# Tab leaves the message for the next control; the swatch opens the colour dialog on Space.
keys Tab Tab
choose_color "#ff0000" space
keys alt+p Down alt+i
shot add
ok_from_time
close_expected Properties
wait_for 30 has_line Walk || fail "the new reminder was not saved: $(dat_lines)"
has_line "Take a walk" || fail "the message was not saved"
has_line 255 || fail "the colour red (255) was not saved"
[ "$(reminder_count)" = 1 ] || fail "not one reminder after the add"

step "edit from the list with Enter: a new name and blue"
open_window Properties Return
type_text "Evening walk"
choose_color "#0000ff" alt+c space
keys alt+i
ok_from_time
close_expected Properties
wait_for 30 has_line "Evening walk" || fail "the edited name was not saved: $(dat_lines)"
has_line 16711680 || fail "the colour blue (16711680) was not saved"

step "duplicate, then rename the copy with Enter"
keys ctrl+u
wait_for 30 eval '[ "$(reminder_count)" = 2 ]' || fail "no copy saved"
keys Down
open_window Properties Return
type_text "Alpha"
keys alt+i
ok_from_time
close_expected Properties
wait_for 30 has_line Alpha || fail "the copy was not renamed"

step "sort by name from the list's menu key, then save"
keys Menu
sleep 0.3
shot row-menu
keys o n ctrl+s
sleep 0.5
[ "$(dat_lines | grep -x -e Alpha -e 'Evening walk' | head -1)" = Alpha ] ||
  fail "the list was not sorted by name: $(dat_lines)"

step "test the selected reminder"
keys Home ctrl+t
wait_for 50 is_visible Alpha || fail "no alert for the tested reminder"
shot test
# The alert does not take the focus from the main window; the list still has it.

step "delete with the Delete key and answer the question with Y"
xdotool search --onlyvisible --name '^ZR Dorvel$' windowactivate --sync 2>/dev/null
keys Home
open_window "ZR Dorvel" Delete
sleep 0.3
keys y
wait_for 30 eval '[ "$(reminder_count)" = 1 ]' || fail "the reminder was not deleted: $(dat_lines)"
has_line Alpha && fail "the wrong reminder was deleted"

step "every option changed from the keyboard"
open_window "System Options" alt+s o
keys alt+s alt+c alt+k alt+m
shot options
keys Tab space
close_expected "System Options"
settings() { tr -d '\r' <"$INI"; }
wait_for 30 eval 'settings | grep -qx AutoCheckForUpdates=1' ||
  fail "the update check was not switched on: $(settings)"
settings | grep -qx KeepSnoozed=1 || fail "keeping snoozed reminders was not switched on"
settings | grep -qx ShowMissed=1 || fail "showing missed reminders was not switched on"
ls "$XDG_CONFIG_HOME"/autostart/*.desktop >/dev/null 2>&1 || fail "no autostart entry"

step "shut down from the File menu"
keys alt+f h
wait_for 100 eval '! kill -0 $APID 2>/dev/null' || fail "the program did not end"
wait "$APID"
status=$?
[ $status -eq 0 ] || fail "exit status $status"
step "done"
