#!/usr/bin/env bash
# The whole update flow of the real program under a private X server, driven by
# real key events (xdotool), against the loopback test server:
#   the silent check at start finds a newer version and shows "Update Available";
#   Enter chooses the default button "Download Updates"; the listed files land in
#   "Updates" in the program's data folder; the success message is confirmed with
#   Enter; the downloaded setup program starts and the program ends by itself.
# The program runs from a copy in a temporary folder, so its data folder (the
# settings, the reminders file and "Updates") is private to this run.
# Usage: update_flow_test.sh <zrdorvel> <http_test_server.py>
# Exits 77 (skipped) when a tool is missing. Ends every process it starts.
# With ZR_SHOTS_DIR set, leaves update_available.png and update_done.png there.
set -u
APP=$1
SERVER=$2
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
fail() {
  echo "FAIL: $*"
  echo "--- program output"; cat "$OUT/app.out" 2>/dev/null
  echo "--- requests"; cat "$OUT/requests.log" 2>/dev/null
  exit 1
}

# The server: an update information file offering another version, the setup
# program (a script that notes where and that it ran) and a second file.
mkdir -p "$OUT/www"
python3 "$SERVER" --root "$OUT/www" --log "$OUT/requests.log" >"$OUT/port" 2>"$OUT/server.err" &
PIDS+=($!)
wait_for 100 test -s "$OUT/port" || fail "the test server did not start"
BASE=http://127.0.0.1:$(head -1 "$OUT/port")/files
printf '[VERSION]\r\n9.0.0.1\r\n[FILES]\r\n%s\r\n%s\r\n[NOTES]\r\nFaster alerts.\r\n' \
  "$BASE/ZRDorvelSetup.exe" "$BASE/extra/ReleaseNotes.txt" >"$OUT/www/version.dat"
cat >"$OUT/www/ZRDorvelSetup.exe" <<'EOF'
#!/bin/sh
pwd >"$ZR_SETUP_MARKER.part" && mv "$ZR_SETUP_MARKER.part" "$ZR_SETUP_MARKER"
EOF
mkdir -p "$OUT/www/extra"
echo "Release notes of 9.0.0.1" >"$OUT/www/extra/ReleaseNotes.txt"

PROGRAM_DIR=$OUT/program
mkdir -p "$PROGRAM_DIR"
ln "$APP" "$PROGRAM_DIR/zrdorvel" 2>/dev/null || cp "$APP" "$PROGRAM_DIR/zrdorvel" ||
  fail "could not copy the program"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$OUT/display" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 100 test -s "$OUT/display" || fail "Xvfb did not start"
export DISPLAY=:$(head -1 "$OUT/display")
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb
export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/.config XDG_DATA_HOME=$OUT/home/.local/share
export XDG_RUNTIME_DIR=$OUT/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset http_proxy HTTP_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY
export ZRDORVEL_UPDATE_INFO_URL=$BASE/version.dat
export ZR_SETUP_MARKER=$OUT/setup-started

"$PROGRAM_DIR/zrdorvel" >"$OUT/app.out" 2>&1 &
APID=$!
PIDS+=($APID)
ended() { ! kill -0 "$APID" 2>/dev/null; }

visible_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
# press <window> <key>: gives the window the keyboard focus and types the key
press() {
  xdotool windowfocus --sync "$1" && sleep 0.3 && xdotool key "$2"
}

wait_for 400 visible_named "Update Available" >/dev/null || fail "no \"Update Available\" dialog"
ask=$(visible_named "Update Available" | head -1)
[ -e "$PROGRAM_DIR/Updates" ] && fail "\"Updates\" exists before the download was chosen"
main_windows=$(visible_named "ZR Dorvel" | sort)
sleep 0.3
[ -n "${ZR_SHOTS_DIR:-}" ] && import -window root "$ZR_SHOTS_DIR/update_available.png"
press "$ask" Return

# The success message is a new window titled like the main window.
done_box() { comm -13 <(echo "$main_windows") <(visible_named "ZR Dorvel" | sort) | grep .; }
wait_for 300 done_box >/dev/null || fail "no message after the download"
box=$(done_box | head -1)
[ -e "$ZR_SETUP_MARKER" ] && fail "the setup program started before the message was confirmed"
cmp -s "$OUT/www/ZRDorvelSetup.exe" "$PROGRAM_DIR/Updates/ZRDorvelSetup.exe" ||
  fail "Updates/ZRDorvelSetup.exe is missing or differs"
cmp -s "$OUT/www/extra/ReleaseNotes.txt" "$PROGRAM_DIR/Updates/ReleaseNotes.txt" ||
  fail "Updates/ReleaseNotes.txt is missing or differs"
[ -n "${ZR_SHOTS_DIR:-}" ] && import -window root "$ZR_SHOTS_DIR/update_done.png"
press "$box" Return

wait_for 200 ended || fail "the program did not end after the download"
wait "$APID"; rc=$?
[ $rc -eq 0 ] || fail "exit code $rc"
wait_for 100 test -e "$ZR_SETUP_MARKER" || fail "the setup program did not start"
[ "$(cat "$ZR_SETUP_MARKER")" = "$PROGRAM_DIR/Updates" ] ||
  fail "the setup program ran in $(cat "$ZR_SETUP_MARKER") instead of the Updates folder"
grep -q '^AutoCheckForUpdates=1' "$PROGRAM_DIR/ZRDorvel.ini" 2>/dev/null ||
  fail "the close sequence did not write the settings"
for request in "GET /files/version.dat" "GET /files/ZRDorvelSetup.exe" \
  "GET /files/extra/ReleaseNotes.txt"; do
  grep -qx "$request" "$OUT/requests.log" || fail "no request \"$request\""
done
echo "update flow test passed"
