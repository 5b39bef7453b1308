#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the Orca screen reader says in the properties dialog: Xvfb with openbox, the
# accessibility bus on a private session bus, Orca writing what it would speak to its
# debug file (no speech synthesizer needed), the program with its accessibility bridge
# on. The dialog is opened with Ctrl+A and walked with Tab alone, the kind switched
# through Once, Weekly, Monthly and Yearly from the keyboard so that each kind's fields
# show; the test fails unless Orca names every field it reaches.
#
# Usage: orca_reading.sh <zrdorvel program file>
# What Orca said (orca-speech.txt) goes to $ZR_ARTEFACT_DIR, by default
# desktop-artefacts beside the program. Exits 77 (skipped) when a tool is missing. Ends
# every process it starts.
set -u
APP=$(readlink -f "$1")
HERE=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
source "$HERE/../support/desktop_test_common.sh"
require_tools Xvfb openbox xdotool xprop xwininfo import dbus-run-session orca
source "$HERE/../support/desktop_session.sh"
BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
[ -x "$BUS_LAUNCHER" ] || { echo "skipped: at-spi-bus-launcher (at-spi2-core) is missing"; exit 77; }
rerun_on_private_bus "$0" "$@"

mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/orca-*
FAILURE_SHOT=$ARTEFACTS/orca-failure.png
use_private_home
use_program_copy "$APP" || fail "cannot copy the program"
unset NO_AT_BRIDGE
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"
# Orca's debug file; it is not named *.log so that a failure does not print all of it.
DEBUG=$OUT/orca-debug.txt
SPEECH=$ARTEFACTS/orca-speech.txt

step "desktop: Xvfb 1366x768, openbox, the accessibility bus, Orca"
start_xvfb 1366x768 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"
"$BUS_LAUNCHER" --launch-immediately >>"$OUT/at-spi.log" 2>&1 &
PIDS+=($!)
orca --replace --debug-file="$DEBUG" >>"$OUT/orca.log" 2>&1 &
ORCA=$!
PIDS+=($ORCA)
# Orca buffers its debug file: the first lines show once it has started; all of them
# once it has ended.
wait_for 300 test -s "$DEBUG" || fail "Orca did not start"
sleep 3

is_visible() { visible_named "$1" >/dev/null; }
keys() { # xdotool key names, with time for the program and Orca between them
  local key
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.6
  done
}
# What Orca spoke, one utterance a line.
spoken() { sed -n "s/.* - SPEECH OUTPUT: '\(.*\)' \?{'established.*/\1/p" "$DEBUG"; }

step "the properties dialog"
(cd "$PROG" && exec ./zrdorvel) >"$OUT/program.out" 2>&1 &
PIDS+=($!)
wait_for 200 is_visible "ZR Dorvel" || fail "no main window"
sleep 2
xdotool windowactivate --sync "$(visible_named "ZR Dorvel" | tail -1)" 2>/dev/null
keys ctrl+a
wait_for 50 is_visible Properties || fail "no properties dialog"
# A new reminder is of the kind Once: round the whole dialog, its time's and its date's
# three parts included, back to the name.
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
# Weekly, Monthly, Yearly: the kind with its access key, then on through the time's
# three parts to the kind's own fields.
keys alt+p Home Down Down Tab Tab Tab Tab
keys alt+p Down Tab Tab Tab Tab
keys alt+p Down Tab Tab Tab Tab Tab
sleep 1
kill "$ORCA"
wait "$ORCA"
spoken >"$SPEECH"

for field in "Name: text." "Text: text." "Enabled check box checked." \
  "Color: Color: white push button." "Audio File text." "Browse push button." \
  "Type: combo box." "Time: 00:00:00 spin button." "Date: .* spin button." \
  "Days Of Week." "Days Of Month." "Month: combo box." "Day: combo box." \
  "OK push button." "Cancel push button."; do
  grep -qx "$field" "$SPEECH" || fail "Orca did not say \"$field\" (what it said: $SPEECH)"
done
# A field read by its kind alone has no name; a list's size follows the list's name.
grep -qxE "(text|spin button|combo box|push button|check box|list)\." "$SPEECH" &&
  fail "Orca read a field by its kind alone (what it said: $SPEECH)"
awk '/^List with [0-9]+ items\.$/ && previous !~ /^Days Of (Week|Month)\.$/ { bad = 1 }
     { previous = $0 } END { exit bad }' "$SPEECH" ||
  fail "Orca read a list without its name (what it said: $SPEECH)"
step "Orca named every field"
