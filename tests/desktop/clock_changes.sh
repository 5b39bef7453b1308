#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program on a private X desktop (Xvfb, openbox, a trayer panel) with a clock
# and a time zone of the test's own: libfaketime sets its clock (the offset in
# $FAKETIME_TIMESTAMP_FILE, changed while it runs), and /etc/localtime is a file of the
# test's, mounted over the system's in a mount namespace of the program's alone and
# rewritten while it runs, as a change of the system's zone rewrites it.
#
#   1. Europe/Berlin, the night summer time ends (31 October 2027): a daily reminder
#      at 02:30 alerts at 02:30 CEST. The clock falls back to 02:29:55 CET: it does not
#      alert again at 02:30 CET and its Last Run stays, while a reminder at 02:30:30,
#      still ahead, alerts then.
#   2. /etc/localtime rewritten with Asia/Tokyo: a daily reminder at 10:31:10 alerts at
#      10:31:10 Tokyo time, 20 s after the change, not eight hours later.
#   3. SIGTERM with "Keep Snoozed" on while that alert is still on screen: Snoozed.dat
#      holds its copy, and the next start shows it again.
#
# Usage: clock_changes.sh <zrdorvel program file>
# Exits 77 (skipped) when the X tools or libfaketime are missing, or a mount namespace
# cannot be made. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo unshare
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

FAKETIME_LIBRARY=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -1)
if [ -z "$FAKETIME_LIBRARY" ]; then
  echo "SKIP: libfaketime is not installed (Debian package faketime)"
  exit 77
fi
if ! unshare -m --propagation private true 2>/dev/null; then
  echo "SKIP: no mount namespace for a private /etc/localtime (needs root)"
  exit 77
fi

use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
SNOOZED=$PROG/Snoozed.dat
ZONE=$OUT/localtime
CLOCK=$OUT/faketime
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
unset TZ # the zone is /etc/localtime
# The sanitizers of a test build need not come first when libfaketime is preloaded.
export ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

step "desktop: Xvfb, openbox, trayer"
start_tray_desktop

# --- helpers -------------------------------------------------------------------------
# set_clock <UTC moment>: the program's clock shows that moment now and runs on from it.
set_clock() {
  local target
  target=$(date -u -d "$1" +%s)
  printf "%+d\n" "$((target - $(date +%s)))" >"$CLOCK.new" && mv "$CLOCK.new" "$CLOCK"
}
# set_zone <zone name>: rewrites the file in place, as the mount holds its inode.
set_zone() { cat "/usr/share/zoneinfo/$1" >"$ZONE"; }
start_program() { # log name
  (cd "$PROG" && exec unshare -m --propagation private sh -c \
    'mount --bind "$0" /etc/localtime && exec env LD_PRELOAD="$1" FAKETIME_TIMESTAMP_FILE="$2" \
       FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 ./zrdorvel' \
    "$ZONE" "$FAKETIME_LIBRARY" "$CLOCK") >"$OUT/$1.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
record() { # name, time of day: an enabled daily reminder, never run, with no next moment
  printf '%s\r\n0\r\nTRUE\r\n16777215\r\n\r\n1\r\n%s\r\n0\r\n0\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    "$@"
}
fraction() { awk -v h="$1" -v m="$2" -v s="$3" 'BEGIN { printf "%.15f", (h * 3600 + m * 60 + s) / 86400 }'; }
close_alert() { # title
  local alert
  alert=$(visible_named "$1" | head -1)
  click_in "$alert" 237 11 # the close button at the right end of the caption bar
  wait_for 50 is_gone "$1" || fail "the close button did not close '$1'"
}
last_run_of() { # the stored LastRun of the named reminder
  tr -d '\r' <"$DAT" | awk -v name="$1" '$0 == name {n = NR} n && NR == n + 8 {print; exit}'
}
snoozed_holds() { grep -q "^$1"$'\r'"\$" "$SNOOZED" 2>/dev/null; }

FALL="Fall back"
AHEAD="Still ahead"
TOKYO="New zone"
{
  printf 'DorvelFile\r\n2\r\n3\r\n'
  record "$FALL" "$(fraction 2 30 0)"
  record "$AHEAD" "$(fraction 2 30 30)"
  record "$TOKYO" "$(fraction 10 31 10)"
} >"$DAT"
printf '[System]\r\nAutoCheckForUpdates=0\r\nKeepSnoozed=1\r\nShowMissed=0\r\n' >"$INI"
set_zone Europe/Berlin
FAILURE_SHOT=$OUT/failure.png

# --- 1. the night summer time ends ----------------------------------------------------
step "1. Berlin, 31 October 2027 02:29:45 CEST: '$FALL' at 02:30 alerts once"
set_clock "2027-10-31 00:29:45"
start_program run1
main_window
wait_for 300 is_visible "$FALL" || fail "'$FALL' did not alert at 02:30 CEST"
close_alert "$FALL"
has_last_run() { [ "$(last_run_of "$FALL")" != " 0.00000000000000E+0000" ] && [ -n "$(last_run_of "$FALL")" ]; }
wait_for 50 has_last_run || fail "the Last Run of '$FALL' was not saved"
fall_run=$(last_run_of "$FALL")
is_visible "$AHEAD" && fail "'$AHEAD' alerted before 02:30:30"
step "   alerted and saved; the clock falls back to 02:29:55 CET"
set_clock "2027-10-31 01:29:55"
wait_for 600 is_visible "$AHEAD" || fail "'$AHEAD' did not alert at 02:30:30 CET"
is_visible "$FALL" && fail "'$FALL' alerted a second time, at 02:30 CET"
[ "$(last_run_of "$FALL")" = "$fall_run" ] || fail "the Last Run of '$FALL' changed: $(last_run_of "$FALL")"
close_alert "$AHEAD"
step "   '$AHEAD' alerted at 02:30:30 CET, '$FALL' did not alert again"

# --- 2. the zone changes --------------------------------------------------------------
step "2. /etc/localtime becomes Asia/Tokyo at 10:30:50 there: '$TOKYO' at 10:31:10 alerts"
set_clock "2027-10-31 01:30:50"
set_zone Asia/Tokyo
changed=$(date +%s)
wait_for 400 is_visible "$TOKYO" || fail "'$TOKYO' did not alert at 10:31:10 Tokyo time"
after=$(($(date +%s) - changed))
((after >= 15)) || fail "'$TOKYO' alerted $after s after the change, before 10:31:10"
step "   alerted $after s after the change"

# --- 3. the end of the session with the alert on screen -------------------------------
step "3. SIGTERM with '$TOKYO' on screen; the next start shows it again"
kill -TERM "$APID"
exit_status SIGTERM 50
snoozed_holds "$TOKYO" || fail "Snoozed.dat does not hold the open alert: $(tr -d '\r' <"$SNOOZED" 2>/dev/null)"
start_program run2
main_window
wait_for 150 is_visible "$TOKYO" || fail "the alert kept at the close did not come back"
is_visible "$FALL" && fail "'$FALL' alerted again after the restart"
kill -TERM "$APID"
exit_status "SIGTERM after the restart" 50
step "passed"
