#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A working day with the real program on a private desktop: Xvfb with openbox (which
# keeps windows out of the panel's strut) and a trayer panel at the bottom as the
# notification area. Everything is driven by xdotool keystrokes and clicks, in real time.
#
#   1. start in an empty folder: the splash, then the main window
#   2. add a daily reminder due in about 20 seconds through the properties dialog,
#      colour chosen in the colour dialog; Reminders.dat holds it
#   3. close the window: the "Close To System Tray" notice, tick its box, OK; the icon docks
#   4. the alert comes up at the lower right of the work area, in the reminder's colour;
#      its Last Run is saved
#   5. snooze it for one minute with the spin label's up arrow: it comes back a minute
#      later; close it at 0
#   6. double-click the icon: the window returns; Save writes tomorrow's due moment
#   7. close again (silently now), "Shut Down" from the icon's menu: exit status 0 and
#      OnCloseMessage=0 in ZRDorvel.ini
#   8. start with -startup: no window, the icon docks; a double-click shows the window;
#      closing hides it without a notice; "Shut Down" from the menu writes the settings
#   9. start with -startup once more and end it with SIGTERM: exit status 0, settings written
#
# Usage: working_day.sh <zrdorvel program file>
# Screenshots (working-day-*.png) go to $ZR_ARTEFACT_DIR, by default desktop-artefacts
# beside the program.
# Exits 77 (skipped) when the X tools are missing. Ends every process it starts.
set -u
APP=$(readlink -f "$1")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb openbox trayer xdotool xprop xwininfo import convert compare
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"
fail() {
  echo "FAIL: $*"
  import -window root "$ARTEFACTS/working-day-failure.png" 2>/dev/null &&
    echo "  screen at the failure: $ARTEFACTS/working-day-failure.png"
  for log in "$OUT"/run*.out "$OUT"/trayer.log "$OUT"/openbox.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; cat "$log"; }
  done
  exit 1
}
shot() { import -window root "$ARTEFACTS/working-day-$1.png" || fail "no screenshot $1"; }

mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/working-day-*.png

# The program keeps its files beside itself, so it runs from a folder of its own.
PROG=$OUT/program
mkdir -p "$PROG"
cp "$APP" "$PROG/zrdorvel" || fail "cannot copy the program"
cp "$(dirname "$APP")/ZRDorvelHelp.html" "$PROG/" 2>/dev/null
DAT=$PROG/Reminders.dat
INI=$PROG/ZRDorvel.ini

export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/.config XDG_DATA_HOME=$OUT/home/.local/share
export XDG_RUNTIME_DIR=$OUT/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No session bus (no autolaunched D-Bus daemon), no network for the update check,
# the C locale so the time box reads HH:mm:ss.
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
unset SESSION_MANAGER

step "desktop: Xvfb 1280x800, openbox, trayer"
start_xvfb 1280x800 || fail "Xvfb did not start"
# openbox publishes the work area (the screen less the panel's strut) at the end of its
# start-up; a panel that maps earlier can have its strut overlooked, so the panel waits.
start_openbox || fail "openbox did not start"
start_panel() {
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    --SetPartialStrut true >>"$OUT/trayer.log" 2>&1 &
  PANEL=$!
  PIDS+=($PANEL)
}
panel_reserved() { [ "$(work_area | cut -d, -f4)" -lt 800 ] 2>/dev/null; }
start_panel
if ! wait_for 100 panel_reserved; then
  step "the panel's strut was not taken up; starting the panel again"
  kill "$PANEL" 2>/dev/null
  start_panel
  wait_for 300 panel_reserved || fail "the work area does not leave out the panel: $(work_area)"
fi
IFS=, read -r WA_X WA_Y WA_W WA_H <<<"$(work_area)"
step "work area ${WA_W}x${WA_H}+${WA_X}+${WA_Y}"

# --- helpers on windows -------------------------------------------------------------
is_visible() { visible_named "$1" >/dev/null; }
is_gone() { ! visible_named "$1" >/dev/null; }
first_named() { visible_named "$1" | head -1; }
# The program's small window docked in the panel.
icon_window() {
  for w in $(xdotool search --classname zrdorvel 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    local width
    width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
    [ "$width" -le 40 ] && { echo "$w"; return 0; }
  done
  return 1
}
icon_docked() { icon_window >/dev/null; }
icon_gone() { ! icon_window >/dev/null; }
click_icon() { # button [repeat]
  local w
  w=$(icon_window) || fail "no tray icon"
  geometry "$w"
  click_in "$w" $((WIDTH / 2)) $((HEIGHT / 2)) "$@"
}
ended() { ! kill -0 "$APID" 2>/dev/null; }
start_program() { # log name, arguments...
  local log=$1; shift
  (cd "$PROG" && exec ./zrdorvel "$@") >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
end_status() { # waits for the program to end by itself and checks its exit status 0
  wait_for 150 ended || fail "$1 did not end the program"
  wait "$APID"
  local rc=$?
  [ $rc -eq 0 ] || fail "the program ended with exit status $rc after $1"
}
menu_open() { # a popup menu: an override-redirect window of the program wider than the icon
  for w in $(xdotool search --onlyvisible --classname zrdorvel 2>/dev/null); do
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' || continue
    (($(xwininfo -id "$w" | awk '/Width:/ {print $2}') > 40)) && return 0
  done
  return 1
}
shut_down_from_menu() {
  click_icon 3
  wait_for 50 menu_open || fail "a right-click on the icon opened no menu"
  sleep 0.3
  # The menu: Show Program, Enable Reminders, separator, Shut Down; Up wraps to the last.
  xdotool key Up Return
  end_status "Shut Down from the tray menu"
}
close_window() { # File menu, "Close Window"
  xdotool key alt+f
  sleep 0.4
  xdotool key c
}

# --- the reminders file -------------------------------------------------------------
# record_field <n>: line n of the first reminder's record after its message lines
# (1 Enabled, 2 Color, 3 AudioFile, 4 ReminderType, 5 Time, 6 NextScheduled, 7 LastRun)
record_field() {
  tr -d '\r' <"$DAT" | awk -v n="$1" 'NR == 5 {lines = $1} NR == 5 + lines + n {print; exit}'
}
day_serial() { # days since 30 December 1899 of the local date given as Y-m-d
  echo $((($(date -u -d "$1" +%s) - $(date -u -d 1899-12-30 +%s)) / 86400))
}

NAME="Stretch break"
LINE1="Stand up and stretch."
LINE2="Drink some water."
COLOUR_HTML="#ffd080"
COLOUR_VALUE=8442111 # 0x0080D0FF: red in the low byte

# --- 1. start -----------------------------------------------------------------------
step "1. start the program in an empty folder"
start_program run1
wait_for 150 is_visible About || fail "no splash (about box) at start"
splash_at=$(date +%s%N)
step "   the splash shows"
wait_for 100 is_visible "ZR Dorvel" || fail "the main window did not appear after the splash"
splash_ms=$((($(date +%s%N) - splash_at) / 1000000))
is_gone About || fail "the splash is still showing beside the main window"
((splash_ms >= 2000)) || fail "the splash lasted only $splash_ms ms"
MAIN=$(first_named "ZR Dorvel")
sleep 0.5
shot 1-main-window
[ -e "$DAT" ] && fail "Reminders.dat exists before anything was added"
geometry "$MAIN"
((X >= WA_X && Y >= WA_Y && X + WIDTH <= WA_X + WA_W && Y + HEIGHT <= WA_Y + WA_H)) ||
  fail "the main window ${WIDTH}x${HEIGHT}+${X}+${Y} is not inside the work area"
step "   main window ${WIDTH}x${HEIGHT}+${X}+${Y} after a $splash_ms ms splash"

# --- 2. add a daily reminder --------------------------------------------------------
step "2. add a daily reminder through the properties dialog (Ctrl+A)"
xdotool key ctrl+a
wait_for 100 is_visible Properties || fail "Ctrl+A did not open the properties dialog"
PROPS=$(first_named Properties)
sleep 0.5
geometry "$PROPS"
PX=$X PY=$Y
# The colour swatch: the 25x17 box in the control column (x 110); found on the screen as
# a dark frame around 15 rows of white, the colour of a new reminder.
import -window root "$OUT/props.png"
swatch_top=$(convert "$OUT/props.png" -crop 1x"$HEIGHT"+$((PX + 122))+"$PY" +repage \
  -colorspace gray -depth 8 txt:- | awk -F'[ ,:()]+' 'NR > 1 {
    v = $3; y = $2
    if (v < 80) { if (white == 15 && frame >= 0) { print frame; exit } frame = y; white = 0 }
    else if (v > 245) white++
    else { frame = -1; white = 0 } }')
[ -n "$swatch_top" ] || fail "the colour swatch is not where the dialog lays it out"
click_in "$PROPS" 122 $((swatch_top + 8))
wait_for 50 is_visible "Select Color" || fail "a click on the colour swatch did not open the colour dialog"
sleep 0.3
xdotool key alt+h ctrl+a
xdotool type --delay 40 "$COLOUR_HTML"
xdotool key Return
wait_for 50 is_gone "Select Color" || fail "the colour dialog did not close with Return"
# The focus is back on the swatch, the button that opened the dialog; Alt+N goes to the
# name box (a Space typed on the swatch would open the colour dialog again).
xdotool key alt+n ctrl+a
xdotool type --delay 40 "$NAME"
xdotool key Tab
xdotool type --delay 40 "$LINE1"
xdotool key Return
xdotool type --delay 40 "$LINE2"
# Backwards from the name box: Cancel, OK, the once date's three parts, the time's three
# parts, then the kind box; Down turns "Once" into "Daily", whose page is empty.
xdotool key shift+Tab # out of the memo, back to the name box
for _ in 1 2 3 4 5 6 7 8 9; do xdotool key shift+Tab; done
xdotool key Down Tab
DUE_EPOCH=$(($(date +%s) + 20))
xdotool type --delay 40 "$(date -d @"$DUE_EPOCH" +%H%M%S)"
sleep 0.3
import -window root "$ARTEFACTS/working-day-2-properties.png"
click_in "$PROPS" 285 363 # OK: 75x25, left of the middle of the fixed 32-pixel bottom bar
wait_for 50 is_gone Properties || fail "OK did not close the properties dialog"
wait_for 50 test -s "$DAT" || fail "Reminders.dat was not written after OK"
sleep 0.5
shot 2-reminder-added
grep -q "^$NAME"$'\r'"\$" "$DAT" || fail "Reminders.dat does not hold the name '$NAME'"
grep -q "^$LINE2"$'\r'"\$" "$DAT" || fail "Reminders.dat does not hold the message line '$LINE2'"
[ "$(record_field 2)" = "$COLOUR_VALUE" ] ||
  fail "the colour stored is $(record_field 2), not $COLOUR_VALUE ($COLOUR_HTML)"
[ "$(record_field 4)" = 1 ] || fail "the kind stored is $(record_field 4), not 1 (Daily)"
DUE_DAY=$(day_serial "$(date -d @"$DUE_EPOCH" +%F)")
next_day=$(record_field 6 | awk '{print int($1)}')
[ "$next_day" = "$DUE_DAY" ] ||
  fail "Next Scheduled is on day $next_day, not today ($DUE_DAY): the time was not typed in, or OK came after $(date -d @"$DUE_EPOCH" +%T)"
step "   '$NAME' due at $(date -d @"$DUE_EPOCH" +%T), colour $COLOUR_HTML, saved"

# --- 3. close to the tray -----------------------------------------------------------
step "3. close the window (File, Close Window): the notice, tick its box, OK"
close_window
wait_for 50 is_visible "Close To System Tray" || fail "closing the window showed no notice"
is_visible "ZR Dorvel" && fail "closing did not hide the main window"
NOTICE=$(first_named "Close To System Tray")
sleep 0.3
click_in "$NOTICE" 40 96  # "Do Not Show This Message Again" at 33,88 (201x17)
sleep 0.3
import -window root "$ARTEFACTS/working-day-3-close-notice.png"
click_in "$NOTICE" 133 124 # OK at 96,112 (75x25)
wait_for 50 is_gone "Close To System Tray" || fail "OK did not close the notice"
wait_for 100 icon_docked || fail "no icon docked in the notification area"
step "   hidden; the icon docked"

# --- 4. the alert -------------------------------------------------------------------
step "4. wait for the alert"
wait_alert() { # tenths of a second
  wait_for "$1" is_visible "$NAME" || return 1
  ALERT=$(first_named "$NAME")
}
wait_alert $(((DUE_EPOCH - $(date +%s) + 20) * 10)) ||
  fail "no alert by 20 s after the due moment $(date -d @"$DUE_EPOCH" +%T)"
alert_at=$(date +%s)
((alert_at >= DUE_EPOCH)) || fail "the alert came before the due moment"
sleep 0.5
shot 4-alert
geometry "$ALERT"
((WIDTH == 250 && HEIGHT == 150)) || fail "the alert is ${WIDTH}x${HEIGHT}, not 250x150"
right_gap=$((WA_X + WA_W - X - WIDTH)) bottom_gap=$((WA_Y + WA_H - Y - HEIGHT))
((right_gap >= 0 && right_gap <= 30 && bottom_gap >= 0 && bottom_gap <= 30)) ||
  fail "the alert at +$X+$Y is not in the lower right corner of the work area (gaps $right_gap, $bottom_gap)"
import -window "$ALERT" "$OUT/alert.png"
pixel=$(convert "$OUT/alert.png" -crop 1x1+10+32 -depth 8 txt:- | awk -F'[()]' 'NR == 2 {print $2}')
IFS=, read -r red green blue <<<"$pixel"
near() { (($1 - $2 <= 16 && $2 - $1 <= 16)); }
near "$red" 255 && near "$green" 208 && near "$blue" 128 ||
  fail "the alert's body is ($pixel), not the reminder's colour $COLOUR_HTML"
last_run_saved() { [ "$(record_field 7)" != " 0.00000000000000E+0000" ]; }
wait_for 50 last_run_saved || fail "Last Run in Reminders.dat is still 0 after the alert"
step "   alert at +$X+$Y (work area gaps $right_gap, $bottom_gap) in ($pixel); Last Run saved"

# --- 5. snooze for a minute ---------------------------------------------------------
step "5. set the alert's 'Remind again in' to 1 with its up arrow, close it"
underline=$(alert_spin_label "$OUT/alert.png")
[ -n "$underline" ] || fail "the snooze spin label is not where the alert lays it out"
read -r spin_x spin_bottom spin_line spin_top <<<"$underline"
number_box="${spin_line}x$((spin_bottom - spin_top - 2))+$spin_x+$((spin_top + 1))"
convert "$OUT/alert.png" -crop "$number_box" +repage "$OUT/minutes-0.png"
click_in "$ALERT" $((spin_x + spin_line + 10)) $((spin_top + 2))
sleep 0.5
import -window "$ALERT" "$OUT/alert-1.png"
convert "$OUT/alert-1.png" -crop "$number_box" +repage "$OUT/minutes-1.png"
cp "$OUT/alert-1.png" "$ARTEFACTS/working-day-5-snooze-1-minute.png"
changed=$(compare -metric AE "$OUT/minutes-0.png" "$OUT/minutes-1.png" null: 2>&1)
[ "${changed%% *}" != 0 ] || fail "the click on the up arrow did not change the snooze minutes"
cp "$DAT" "$OUT/after-alert.dat"
click_in "$ALERT" 237 11 # the close button at the right end of the caption bar
wait_for 50 is_gone "$NAME" || fail "the alert's close button did not close it"
closed_at=$(date +%s)
step "   snoozed; waiting for it to come back"
wait_alert 900 || fail "the snoozed alert did not come back within 90 s"
back_after=$(($(date +%s) - closed_at))
((back_after >= 55)) || fail "the snoozed alert came back after $back_after s, not after a minute"
cmp -s "$DAT" "$OUT/after-alert.dat" || fail "the snoozed alert changed Reminders.dat"
sleep 0.5
import -window root "$ARTEFACTS/working-day-5-snoozed-alert.png"
click_in "$ALERT" 237 11
wait_for 50 is_gone "$NAME" || fail "the snoozed alert did not close"
step "   it came back after $back_after s and was closed at 0"

# --- 6. back from the tray ----------------------------------------------------------
step "6. double-click the tray icon"
click_icon 1 2
wait_for 50 is_visible "ZR Dorvel" || fail "a double-click on the icon did not show the window"
wait_for 30 icon_gone || fail "the icon stayed after the window came back"
MAIN=$(first_named "ZR Dorvel")
sleep 0.5
shot 6-restored
geometry "$MAIN"
click_in "$MAIN" $((WIDTH / 2)) $((HEIGHT - 8)) # the status bar, so the window has the keyboard
xdotool key ctrl+s
next_is_tomorrow() { [ "$(record_field 6 | awk '{print int($1)}')" = $((DUE_DAY + 1)) ]; }
wait_for 50 next_is_tomorrow ||
  fail "after Save, Next Scheduled is on day $(record_field 6 | awk '{print int($1)}'), not tomorrow ($((DUE_DAY + 1)))"
step "   the window is back; Save stored tomorrow as Next Scheduled"

# --- 7. shut down -------------------------------------------------------------------
step "7. close again (no notice now), then Shut Down from the tray menu"
close_window
wait_for 50 icon_docked || fail "closing the window again did not dock the icon"
sleep 1.5
is_visible "Close To System Tray" && fail "the notice came again despite its box being ticked"
is_visible "ZR Dorvel" && fail "closing did not hide the window"
shut_down_from_menu
grep -q '^OnCloseMessage=0' <(tr -d '\r' <"$INI") ||
  fail "ZRDorvel.ini does not hold OnCloseMessage=0: $(cat "$INI")"
step "   ended with status 0; ZRDorvel.ini holds OnCloseMessage=0"

# --- 8. start hidden ----------------------------------------------------------------
step "8. start with -startup: the icon docks, no window"
touch -d '2001-01-01' "$INI"
start_program run2 -startup
wait_for 150 icon_docked || fail "started with -startup, no icon docked"
wait_for 100 is_visible About || fail "no splash with -startup"
wait_for 100 is_gone About || fail "the splash did not close"
sleep 0.5
is_visible "ZR Dorvel" && fail "started with -startup, the window shows"
click_icon 1 2
wait_for 50 is_visible "ZR Dorvel" || fail "a double-click on the icon did not show the window"
close_window
wait_for 50 icon_docked || fail "closing the window did not dock the icon"
sleep 1.5
is_visible "Close To System Tray" && fail "the notice came although it was switched off"
shut_down_from_menu
[ "$INI" -nt "$OUT/after-alert.dat" ] || fail "Shut Down did not write ZRDorvel.ini"
grep -q '^OnCloseMessage=0' <(tr -d '\r' <"$INI") || fail "ZRDorvel.ini lost OnCloseMessage=0"
step "   shown, hidden silently, shut down with the settings written"

# --- 9. SIGTERM ---------------------------------------------------------------------
step "9. start with -startup and end it with SIGTERM"
touch -d '2001-01-01' "$INI"
start_program run3 -startup
wait_for 150 icon_docked || fail "started with -startup, no icon docked"
# After the splash, so that the settings have been read and the close writes them.
wait_for 100 is_visible About || fail "no splash with -startup"
wait_for 100 is_gone About || fail "the splash did not close"
sleep 0.5
kill -TERM "$APID"
end_status SIGTERM
[ "$INI" -nt "$OUT/after-alert.dat" ] || fail "SIGTERM did not write ZRDorvel.ini"
step "   ended with status 0, settings written"

step "working day passed; screenshots in $ARTEFACTS"
