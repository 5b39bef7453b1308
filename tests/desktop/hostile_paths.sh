#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What stands at the program's paths cannot hang the real program or lock the user out
# (Xvfb, openbox and a trayer panel, driven by xdotool):
#
#   1. "ZRDorvel.lock" as a named pipe, a folder, a link to /dev/zero and a file of
#      1 MiB: the program starts and shows its main window; the thing is moved aside
#      as "ZRDorvel.lock.unreadable-*" with one warning line;
#   2. an empty lock (a power cut), 300 random bytes and a lock written by another
#      computer (a synced folder): the program starts without a word;
#   3. a first copy stopped with SIGSTOP: a second start says, in a box of its own a
#      few seconds later, that the other copy does not answer (not an end with status
#      0 and nothing shown); after SIGCONT a second start shows the first copy's window;
#   4. a reminder whose sound file is a named pipe, tested twice with Ctrl+T: both
#      alerts come, so the program was not held up by the pipe.
#
# Usage: hostile_paths.sh <zrdorvel program file>
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
LOCK=$PROG/ZRDorvel.lock
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat

step "desktop: Xvfb, openbox, trayer"
start_tray_desktop

start_program() { # log name, then the command that runs the program, with its arguments
  local log=$1
  shift
  (cd "$PROG" && exec "$@") >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
fresh_folder() { # the program alone in its folder, with settings that ask for no update check
  find "$PROG" -mindepth 1 ! -name zrdorvel -exec rm -rf {} +
  printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"
}
stop_program() {
  kill -TERM "$APID"
  exit_status "$1" 50
}
lock_warnings() { grep -c 'lock file' "$OUT/$1.out"; }

# --- 1. and 2. odd locks -------------------------------------------------------------
odd_lock() { # name, how to make the lock, whether it is moved aside
  local name=$1 make=$2 aside=$3 log="lock-${1//[^a-z0-9]/-}"
  step "lock: $name"
  fresh_folder
  eval "$make"
  start_program "$log" ./zrdorvel
  main_window
  local kept
  kept=$(find "$PROG" -maxdepth 1 -name 'ZRDorvel.lock.unreadable-*' | wc -l)
  if $aside; then
    ((kept == 1)) || fail "$name: the lock was not moved aside"
    (($(lock_warnings "$log") == 1)) || fail "$name: not one warning about the lock"
  else
    ((kept == 0)) || fail "$name: a usable lock file was moved aside"
    (($(lock_warnings "$log") == 0)) || fail "$name: a warning about a usable lock"
  fi
  [ -f "$LOCK" ] && [ ! -L "$LOCK" ] || fail "$name: the running copy has no lock file"
  stop_program "$name"
  [ -e "$LOCK" ] && fail "$name: the lock file stayed after the end"
  true
}
odd_lock "named pipe" 'mkfifo "$LOCK"' true
odd_lock folder 'mkdir "$LOCK"' true
odd_lock "link to /dev/zero" 'ln -s /dev/zero "$LOCK"' true
odd_lock "file of 1 MiB" 'head -c 1048576 /dev/zero >"$LOCK"' true
odd_lock empty 'touch "$LOCK"' false
odd_lock garbage 'head -c 300 /dev/urandom >"$LOCK"' false
odd_lock "another computer's" 'printf "4242\nZRDorvel\nlaptop-elsewhere\n" >"$LOCK"' false

# --- 3. a stopped first copy ---------------------------------------------------------
step "a second start beside a stopped first copy says so"
fresh_folder
start_program first ./zrdorvel -startup
FIRST=$APID
wait_for 150 is_visible About || fail "no splash"
wait_for 100 is_gone About || fail "the splash did not close"
kill -STOP "$FIRST"
start_program second ./zrdorvel -startup
SECOND=$APID
box_of_second() { xdotool search --all --onlyvisible --pid "$SECOND" --name '^ZR Dorvel$' 2>/dev/null | grep -q .; }
wait_for 150 box_of_second || {
  kill -CONT "$FIRST"
  kill -0 "$SECOND" 2>/dev/null || fail "the second start ended without a word"
  fail "the second start showed no box"
}
BOX=$(xdotool search --all --onlyvisible --pid "$SECOND" --name '^ZR Dorvel$' | head -1)
FAILURE_SHOT=${ZR_SHOT:-$OUT/box.png}
# Its OK button, at the lower right (the stopped copy's window cannot give up the focus).
eval "$(xdotool getwindowgeometry --shell "$BOX")"
xdotool mousemove --window "$BOX" $((WIDTH - 52)) $((HEIGHT - 23)) click 1
APID=$SECOND
exit_status "the second start after its box" 50
kill -CONT "$FIRST"
step "after SIGCONT a second start shows the first copy's window"
start_program third ./zrdorvel
exit_status "the third start" 80
wait_for 50 is_visible "ZR Dorvel" || fail "the first copy did not show its window"
APID=$FIRST
stop_program "the first copy"

# --- 4. a sound file that is a named pipe ---------------------------------------------
step "a reminder whose sound is a named pipe"
fresh_folder
mkfifo "$PROG/pipe.wav"
printf 'DorvelFile\r\n2\r\n1\r\nStretch\r\n0\r\nTRUE\r\n16777215\r\n%s\r\n1\r\n %s\r\n %s\r\n %s\r\n %s\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
  "$PROG/pipe.wav" 3.95833333333333E-0001 0.00000000000000E+0000 0.00000000000000E+0000 \
  4.53620000000000E+0004 >"$DAT"
start_program pipe ./zrdorvel
main_window
alerts() { xdotool search --onlyvisible --name '^Stretch$' 2>/dev/null | wc -l; }
xdotool key --window "$MAIN" ctrl+t
wait_for 50 eval '(($(alerts) == 1))' || fail "no alert for the reminder with the pipe"
xdotool windowfocus --sync "$MAIN"
xdotool key --window "$MAIN" ctrl+t
wait_for 50 eval '(($(alerts) == 2))' || fail "the program stopped answering after the pipe"
grep -q 'Could not play the sound .*pipe.wav.*named pipe' "$OUT/pipe.out" ||
  fail "no warning about the pipe"
stop_program "the copy with the pipe"

step "hostile paths passed"
