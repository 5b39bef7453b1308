#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The life cycle of the real program on a private X desktop (Xvfb, openbox and a trayer
# panel as the notification area), driven by xdotool:
#
#   1. SIGTERM while each modal box is open (the splash, the start-up error box, the
#      properties dialog, the delete question, the options, the about box, the notice
#      of the notification area) ends the program within 2 s with exit status 0, the
#      settings written except during the splash (not read yet);
#   2. run as the user nobody (when the test runs as root): a reminders file left by
#      root with mode 0600 is moved aside at start; where it cannot be, nothing is saved
#      over it, and the settings error the close then meets goes to standard error;
#      the "Unable to write to ...ZRDorvel.ini" box of a Shut Down, then SIGTERM;
#   3. two copies on one data folder: a second start shows the first one's window and
#      ends, a hidden second start just ends; a lock left by a SIGKILLed copy is taken over.
#
# Usage: life_cycle.sh <zrdorvel program file>
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

# Another user must reach the program and its folders.
chmod 755 "$OUT"
use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat

step "desktop: Xvfb, openbox, trayer"
start_tray_desktop

# --- helpers -------------------------------------------------------------------------
icon_docked() {
  for w in $(xdotool search --classname zrdorvel 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    (($(xwininfo -id "$w" | awk '/Width:/ {print $2}') <= 40)) && return 0
  done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null; }
start_program() { # log name, then the command that runs the program, with its arguments
  local log=$1; shift
  (cd "$PROG" && exec "$@") >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
terminate() { # SIGTERM while a box is open: the program ends within 2 s with status 0
  local sent
  sent=$(date +%s%N)
  kill -TERM "$APID"
  exit_status "SIGTERM during $1" 20
  step "   ended about $((($(date +%s%N) - sent) / 1000000)) ms after SIGTERM"
}
another_box() { # a box titled like the main window
  xdotool search --onlyvisible --name '^ZR Dorvel$' 2>/dev/null | grep -qvx "$MAIN"
}
fresh_folder() { # the program alone in its folder, with settings that ask for no update check
  find "$PROG" -mindepth 1 ! -name zrdorvel -exec rm -rf {} +
  printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"
}
settings_written() { grep -q '^OnMinimizeMessage=1' <(tr -d '\r' <"$INI"); }
one_reminder() {
  printf 'DorvelFile\r\n2\r\n1\r\nStretch\r\n0\r\nTRUE\r\n16777215\r\n\r\n1\r\n %s\r\n %s\r\n %s\r\n %s\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    3.95833333333333E-0001 0.00000000000000E+0000 0.00000000000000E+0000 4.53620000000000E+0004 >"$DAT"
}

# --- 1. SIGTERM during each modal box --------------------------------------------------
box_case() { # name, window title of the box, how to open it (after the main window is up)
  local name=$1 title=$2 open=$3
  step "1. SIGTERM during $name"
  fresh_folder
  one_reminder
  start_program "$name" ./zrdorvel
  main_window
  $open
  if [ "$title" = "ZR Dorvel" ]; then
    wait_for 50 another_box || fail "$name: no box"
  else
    wait_for 50 is_visible "$title" || fail "$name: no window \"$title\""
  fi
  terminate "$name"
  settings_written || fail "$name: the settings were not written: $(cat "$INI")"
  [ -e "$PROG/ZRDorvel.lock" ] && fail "$name: the lock file stayed"
}
open_properties() { xdotool key ctrl+a; }
open_delete_question() {
  geometry_of "$MAIN"
  xdotool mousemove $((X + 60)) $((Y + 82)) click 1 # the first row, below menu, tools and header
  sleep 0.3
  xdotool key ctrl+d
}
open_options() { xdotool key alt+s; sleep 0.4; xdotool key o; }
open_about() { xdotool key alt+h; sleep 0.4; xdotool key a; }
open_notice() { xdotool key alt+f; sleep 0.4; xdotool key c; }
geometry_of() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $NF}
    /Absolute upper-left Y/ {print "Y=" $NF}')"
}

step "1. SIGTERM during the splash"
fresh_folder
touch -d 2001-01-01 "$INI"
start_program splash ./zrdorvel
wait_for 150 is_visible About || fail "no splash"
terminate "the splash"
[ "$(tr -d '\r' <"$INI")" = "$(printf '[System]\nAutoCheckForUpdates=0')" ] ||
  fail "the settings were written though they were never read: $(cat "$INI")"

step "1. SIGTERM during the start-up error box"
fresh_folder
printf 'DorvelFile\r\n2\r\n1\r\n' >"$DAT"
start_program start-up-box ./zrdorvel
wait_for 150 is_visible About || fail "no splash"
wait_for 100 is_visible "ZR Dorvel" || fail "no error box at start"
terminate "the start-up error box"
settings_written || fail "the start-up error box: the settings were not written"
ls "$PROG"/Reminders.dat.unreadable-* >/dev/null 2>&1 || fail "the unreadable file was not kept"

box_case "the properties dialog" Properties open_properties
box_case "the delete question" "ZR Dorvel" open_delete_question
box_case "the options" "System Options" open_options
box_case "the about box" About open_about
box_case "the notice of the notification area" "Close To System Tray" open_notice

# --- 2. another user's files -----------------------------------------------------------
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then
  step "2. skipped: running as another user needs root and the user nobody"
else
  NOBODY_HOME=$OUT/nobody
  mkdir -p "$NOBODY_HOME/data" && mkdir -m 700 "$NOBODY_HOME/runtime"
  chown -R nobody:nogroup "$NOBODY_HOME"
  AS_NOBODY=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$NOBODY_HOME"
    XDG_DATA_HOME="$NOBODY_HOME/data" XDG_CONFIG_HOME="$NOBODY_HOME/config"
    XDG_RUNTIME_DIR="$NOBODY_HOME/runtime")

  step "2. a reminders file of root's, 0600, in a folder nobody may write: moved aside"
  fresh_folder
  one_reminder
  chmod 600 "$DAT"
  chown nobody:nogroup "$PROG" "$INI"
  start_program nobody-moved "${AS_NOBODY[@]}" ./zrdorvel
  wait_for 150 is_visible About || fail "no splash"
  wait_for 100 is_visible "ZR Dorvel" || fail "no error box at start"
  terminate "the start-up error box (as nobody)"
  kept=$(ls "$PROG"/Reminders.dat.unreadable-* 2>/dev/null | head -1)
  [ -n "$kept" ] || fail "the file nobody cannot read was not moved aside"
  [ "$(stat -c '%U %a' "$kept")" = "root 600" ] || fail "the kept file is $(stat -c '%U %a' "$kept")"
  [ -e "$DAT" ] && fail "something was saved in the unreadable file's place"
  settings_written || fail "the settings were not written (as nobody)"
  chown root:root "$PROG"

  # The program folder is root's: the data folder is nobody's data folder, owned by root.
  DATA=$NOBODY_HOME/data/ZRDorvel
  mkdir -p "$DATA"
  printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$DATA/ZRDorvel.ini"

  step "2. the same file where it cannot be moved: refused, and the close's error logged"
  rm -f "$PROG/Reminders.dat"* && one_reminder && mv "$DAT" "$DATA/Reminders.dat"
  chmod 600 "$DATA/Reminders.dat"
  cp "$DATA/Reminders.dat" "$OUT/roots.dat"
  start_program nobody-refused "${AS_NOBODY[@]}" ./zrdorvel
  wait_for 150 is_visible About || fail "no splash"
  wait_for 100 is_visible "ZR Dorvel" || fail "no error box at start"
  terminate "the start-up error box (as nobody, folder not writable)"
  cmp -s "$DATA/Reminders.dat" "$OUT/roots.dat" || fail "root's reminders file was changed"
  grep -q "could not be kept aside" "$OUT/nobody-refused.out" &&
    fail "the box's text went to the log although the box was shown"
  grep -q "^zrdorvel.app: Unable to write to $DATA/ZRDorvel.ini: File access denied" \
    "$OUT/nobody-refused.out" || fail "the close's settings error is not on standard error"

  step "2. Shut Down whose settings cannot be written: its error box, then SIGTERM"
  chmod 644 "$DATA/Reminders.dat"
  start_program nobody-shut-down "${AS_NOBODY[@]}" ./zrdorvel
  main_window
  xdotool key alt+f
  sleep 0.4
  xdotool key h
  wait_for 50 another_box || fail "no box about the settings at the close"
  terminate "the settings error box at the close"
fi

# --- 3. two copies on one data folder -------------------------------------------------
step "3. a first copy, hidden in the notification area"
fresh_folder
one_reminder
start_program first ./zrdorvel -startup
FIRST=$APID
wait_for 150 icon_docked || fail "the first copy's icon did not dock"
wait_for 150 is_visible About || fail "no splash"
wait_for 100 is_gone About || fail "the splash did not close"
is_visible "ZR Dorvel" && fail "the first copy shows its window though started hidden"

step "3. a second start on the folder: the first shows its window, the second ends"
start_program second ./zrdorvel
exit_status "a second start" 50
wait_for 50 is_visible "ZR Dorvel" || fail "the first copy did not show its window"
alive "$FIRST" || fail "the first copy ended"
step "3. a hidden second start just ends"
start_program second-hidden ./zrdorvel -startup
exit_status "a hidden second start" 50
alive "$FIRST" || fail "the first copy ended"

step "3. SIGKILL the first copy: its lock stays and is taken over"
kill -KILL "$FIRST"
wait "$FIRST" 2>/dev/null
[ -e "$PROG/ZRDorvel.lock" ] || fail "no lock file left by the killed copy"
start_program after-kill ./zrdorvel
main_window
terminate "the copy that took over the lock"

step "life cycle passed"
