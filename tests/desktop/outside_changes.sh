#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What another program writes to the reminders file while ZR Dorvel runs is merged,
# never overwritten, with the real program on a private X desktop (Xvfb, openbox,
# a trayer panel), driven by xdotool; a second process changes the file as sync tools
# and editors do:
#
#   1. a sync tool renames a new file holding one more reminder over Reminders.dat:
#      "Save" (Ctrl+S) keeps it;
#   2. an editor rewrites the file in place, adding one and changing another's message:
#      "Save" keeps both changes;
#   3. the file is deleted: "Save" writes it again from the list, nothing lost;
#   4. an edit lands just before each of five saves, with no time for the watch:
#      every reminder added outside is in the file afterwards;
#   5. a rename-over just before a reminder fires: the check pass's save keeps the
#      reminder added outside and the fired one's Last Run;
#   6. Reminders.dat is a link into a sync folder not filled yet: the start says so in a
#      box, and "Save" creates the file the link points to, the link staying a link.
#
# Usage: outside_changes.sh <zrdorvel program file>
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"

use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
DAT=$PROG/Reminders.dat
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat

step "desktop: Xvfb, openbox, trayer"
start_tray_desktop

# --- helpers -------------------------------------------------------------------------
start_program() { # log name
  (cd "$PROG" && exec ./zrdorvel) >"$OUT/$1.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
serial_of() { # seconds since the epoch -> days since 30 December 1899, local time
  local offset
  offset=$(date -d "@$1" +%z)
  offset=$(((${offset:0:1}1) * (10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60)))
  awk -v s="$(($1 + offset))" 'BEGIN { printf "%.10f", s / 86400 + 25569 }'
}
fraction_of_day() { awk -v s="$1" 'BEGIN { printf "%.10f", s - int(s) }'; }
record() { # name, enabled, time of day, message line: a daily reminder that never ran
  printf '%s\r\n1\r\n%s\r\n%s\r\n16777215\r\n\r\n1\r\n%s\r\n0\r\n0\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    "$1" "$4" "$2" "$3"
}
file_of() { # count, then records: the file another program writes
  printf 'DorvelFile\r\n2\r\n%s\r\n' "$1"
}
# Switched off, so they never fire by themselves.
quiet() { record "$1" FALSE 0.25 "${2:-message of $1}"; }
holds() { tr -d '\r' <"${2:-$DAT}" 2>/dev/null | grep -qx -- "$1"; }
holds_all() {
  local name
  for name in "$@"; do holds "$name" || return 1; done
}
save() {
  xdotool windowfocus --sync "$MAIN" key ctrl+s
}
saved_with() { # names: Save, and wait until the file holds them all
  save
  wait_for 50 holds_all "$@"
}

file_of 2 >"$DAT"
quiet Alpha >>"$DAT"
quiet Beta >>"$DAT"
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"

start_program run1
main_window

# --- 1. rename-over -----------------------------------------------------------------
step "1. a new file renamed over Reminders.dat"
{ file_of 3; quiet Alpha; quiet Beta; quiet Gamma; } >"$PROG/.sync-tmp"
mv "$PROG/.sync-tmp" "$DAT"
sleep 1
saved_with Alpha Beta Gamma || fail "Save lost the reminder added by the rename: $(tr -d '\r' <"$DAT")"
step "   Save kept Gamma"

# --- 2. in-place rewrite ------------------------------------------------------------
step "2. the file rewritten in place"
inode=$(stat -c %i "$DAT")
{ file_of 4; quiet Alpha; quiet Beta "Beta changed outside"; quiet Gamma; quiet Delta; } >"$DAT"
[ "$(stat -c %i "$DAT")" = "$inode" ] || fail "the rewrite was not in place"
sleep 1
saved_with Alpha "Beta changed outside" Gamma Delta ||
  fail "Save lost the edit in place: $(tr -d '\r' <"$DAT")"
holds "message of Beta" && fail "Beta's old message came back"
step "   Save kept Delta and Beta's new message"

# --- 3. delete ----------------------------------------------------------------------
step "3. the file deleted"
rm "$DAT"
sleep 1
saved_with Alpha Beta Gamma Delta || fail "Save after the delete lost reminders"
step "   Save wrote the whole list again"

# --- 4. edits racing saves ----------------------------------------------------------
step "4. an edit just before each of five saves"
names=(Alpha Beta Gamma Delta)
for round in 1 2 3 4 5; do
  names+=("Racer $round")
  {
    file_of ${#names[@]}
    for name in "${names[@]}"; do quiet "$name"; done
  } >"$DAT"
  save
done
sleep 1
saved_with "${names[@]}" || fail "a save lost an edit made just before it: $(tr -d '\r' <"$DAT")"
step "   all five racers kept"

# --- 5. rename-over before a pass saves ---------------------------------------------
step "5. a rename-over just before a reminder fires"
due=$(($(date +%s) + 12))
soon=$(fraction_of_day "$(serial_of "$due")")
{
  file_of $((${#names[@]} + 1))
  for name in "${names[@]}"; do quiet "$name"; done
  record Soon TRUE "$soon" "Soon is due"
} >"$PROG/.sync-tmp"
mv "$PROG/.sync-tmp" "$DAT"
sleep 1
{
  file_of $((${#names[@]} + 2))
  for name in "${names[@]}"; do quiet "$name"; done
  record Soon TRUE "$soon" "Soon is due"
  quiet Zeta
} >"$PROG/.sync-tmp"
# Renamed over the file a moment before the pass that fires Soon, too late for the watch.
while (($(date +%s) < due)); do sleep 0.05; done
mv "$PROG/.sync-tmp" "$DAT"
wait_for 150 is_visible Soon || fail "Soon did not fire: $(tr -d "\r" <"$DAT" | tail -16)"
soon_ran() {
  tr -d '\r' <"$DAT" | awk '$0 == "Soon" {n = NR} n && NR == n + 9 {ok = $1 > 0} END {exit !ok}'
}
wait_for 50 eval 'holds Zeta && soon_ran' ||
  fail "the pass's save lost Zeta or Soon's Last Run: $(tr -d '\r' <"$DAT")"
step "   the pass saved Zeta and Soon's Last Run"
kill -TERM "$APID"
exit_status SIGTERM 30

# --- 6. dangling link ---------------------------------------------------------------
step "6. Reminders.dat is a link to a file not there yet"
mkdir -p "$OUT/sync"
rm -f "$DAT"
ln -s "$OUT/sync/Reminders.dat" "$DAT"
start_program run2
wait_for 150 is_visible About || fail "no splash"
wait_for 100 is_gone About || fail "the splash did not close"
box_up() { # the box comes before the main window: a "ZR Dorvel" window of another size
  local window
  for window in $(visible_named "ZR Dorvel"); do
    geometry "$window"
    [ "$WIDTH" != 672 ] && BOX=$window && return 0
  done
  return 1
}
wait_for 100 box_up || fail "the start did not say that the link leads nowhere"
xdotool windowfocus --sync "$BOX" key Return
wait_for 50 eval '! box_up' || fail "the box did not close"
wait_for 50 is_visible "ZR Dorvel" || fail "no main window"
MAIN=$(visible_named "ZR Dorvel" | head -1)
save
wait_for 50 test -s "$OUT/sync/Reminders.dat" || fail "Save did not create the link's target"
[ -L "$DAT" ] || fail "the save replaced the link with a file"
holds DorvelFile "$OUT/sync/Reminders.dat" || fail "the target does not hold a reminders file"
step "   the box came; Save wrote through the link, which stays"
kill -TERM "$APID"
exit_status SIGTERM 30
step "passed"
