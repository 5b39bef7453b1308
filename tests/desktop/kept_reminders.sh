#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Nothing slips through a restart, with the real program on a private X desktop (Xvfb,
# openbox, a trayer panel), driven by xdotool, in real time:
#
#   1. with KeepSnoozed=1, Test (Ctrl+T) shows a reminder's alert; snoozed for one
#      minute with the spin label's up arrow, its copy is in Snoozed.dat at once;
#   2. SIGTERM ends the program with exit status 0 within 2 s, Snoozed.dat still
#      holds the copy;
#   3. started again, now with ShowMissed=1 and its clock moved ahead (libfaketime) to
#      15 s before the snoozed copy is due: a reminder that came due an hour ago while
#      the program was off alerts at once, titled "<name> (missed <moment>)", and its
#      Last Run is saved; the snoozed alert comes back when, by the program's clock, a
#      minute has passed since it was snoozed, and Snoozed.dat no longer holds it.
#
# Usage: kept_reminders.sh <zrdorvel program file>
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo import convert
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
SNOOZED=$PROG/Snoozed.dat
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat

step "desktop: Xvfb, openbox, trayer"
start_tray_desktop

# --- helpers -------------------------------------------------------------------------
start_program() { # log name, environment assignments for the program
  local log=$1
  shift
  (cd "$PROG" && exec env "$@" ./zrdorvel) >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
# The days since 30 December 1899 of a moment given in seconds since the epoch, in
# local time, as the reminders file holds moments.
serial_of() {
  local offset
  offset=$(date -d "@$1" +%z)
  offset=$(((${offset:0:1}1) * (10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60)))
  awk -v s="$(($1 + offset))" 'BEGIN { printf "%.10f", s / 86400 + 25569 }'
}
fraction_of_day() { awk -v s="$1" 'BEGIN { printf "%.10f", s - int(s) }'; }
record() { # name, enabled, time of day, next scheduled, last run: a daily reminder
  printf '%s\r\n0\r\n%s\r\n16777215\r\n\r\n1\r\n%s\r\n%s\r\n%s\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    "$@"
}
snoozed_holds() { grep -q "^$1"$'\r'"\$" "$SNOOZED" 2>/dev/null; }
snoozed_empty() { [ "$(tr -d '\r' <"$SNOOZED" 2>/dev/null | head -3 | tr '\n' ' ')" = "DorvelFile 2 0 " ]; }

# "Stretch" is switched off, so it never comes due by itself; Test shows it all the same.
# "Missed call" came due an hour ago and has never run: the program was off then.
NAME="Stretch"
MISSED="Missed call"
hour_ago=$(serial_of $(($(date +%s) - 3600)))
{
  printf 'DorvelFile\r\n2\r\n2\r\n'
  record "$NAME" FALSE 0.25 0 0
  record "$MISSED" TRUE "$(fraction_of_day "$hour_ago")" "$hour_ago" 0
} >"$DAT"
printf '[System]\r\nAutoCheckForUpdates=0\r\nKeepSnoozed=1\r\nShowMissed=0\r\n' >"$INI"

# --- 1. snooze a test alert for a minute -------------------------------------------
step "1. Test shows the alert of '$NAME'; snooze it for one minute"
start_program run1
main_window
xdotool key ctrl+t
wait_for 50 is_visible "$NAME" || fail "Ctrl+T showed no alert"
ALERT=$(visible_named "$NAME" | head -1)
sleep 0.5
import -window "$ALERT" "$OUT/alert.png" || fail "no screenshot of the alert"
read -r spin_x spin_bottom spin_line spin_top <<<"$(alert_spin_label "$OUT/alert.png")"
[ -n "${spin_x:-}" ] || fail "the snooze spin label is not where the alert lays it out"
click_in "$ALERT" $((spin_x + spin_line + 10)) $((spin_top + 2)) # its up arrow: 0 -> 1
sleep 0.3
click_in "$ALERT" 237 11 # the close button at the right end of the caption bar
wait_for 50 is_gone "$NAME" || fail "the alert's close button did not close it"
closed_at=$(date +%s)
wait_for 30 snoozed_holds "$NAME" || fail "Snoozed.dat does not hold the snoozed copy"
step "   snoozed; Snoozed.dat holds the copy"

# --- 2. SIGTERM ---------------------------------------------------------------------
step "2. SIGTERM"
kill -TERM "$APID"
exit_status SIGTERM 20
snoozed_holds "$NAME" || fail "the close lost the snoozed copy: $(tr -d '\r' <"$SNOOZED")"
grep -q '^KeepSnoozed=1' <(tr -d '\r' <"$INI") || fail "the close did not keep KeepSnoozed=1"

# --- 3. start again -----------------------------------------------------------------
# The copy is due a minute after the close; the program starts 15 s before that by its
# own clock, which runs AHEAD seconds ahead of the real one.
AHEAD=$((closed_at + 45 - $(date +%s)))
((AHEAD >= 0)) || AHEAD=0
step "3. start again, showing missed reminders, the clock $AHEAD s ahead"
sed -i 's/^ShowMissed=0/ShowMissed=1/' "$INI"
clock_ahead "$AHEAD"
start_program run2 "${CLOCK_AHEAD[@]}"
missed_alert() { # Qt titles it "<title> — ZR Dorvel"; that counts too
  xdotool search --onlyvisible --name "^$MISSED \\(missed [^)]+\\)( — ZR Dorvel)?\$" 2>/dev/null | grep -q .
}
wait_for 150 missed_alert || fail "no alert titled '$MISSED (missed ...)' at start"
title=$(xdotool getwindowname "$(xdotool search --onlyvisible --name "^$MISSED " | head -1)")
last_run_saved() { # line 8 of its record after the name
  tr -d '\r' <"$DAT" | awk -v name="$MISSED" '$0 == name {n = NR} n && NR == n + 8 {ok = $1 > 0}
    END {exit !ok}'
}
wait_for 30 last_run_saved || fail "the missed reminder's Last Run was not saved"
step "   '$title' shown; its Last Run saved"
program_time() { echo $(($(date +%s) + AHEAD)); }
(($(program_time) < closed_at + 60)) && is_visible "$NAME" &&
  fail "the snoozed alert came back before its minute was up"
wait_for $(((closed_at + 90 - $(program_time)) * 10)) is_visible "$NAME" ||
  fail "the snoozed alert did not come back within 90 s of the snooze"
back_after=$(($(program_time) - closed_at))
((back_after >= 55)) || fail "the snoozed alert came back after $back_after s, not after a minute"
wait_for 30 snoozed_empty || fail "Snoozed.dat still holds the copy that came back"
step "   the snoozed alert came back $back_after s after the snooze by the program's clock; Snoozed.dat is empty"
kill -TERM "$APID"
exit_status "SIGTERM after the restart" 20
step "passed"
