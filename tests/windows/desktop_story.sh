#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program under Wine on a private X server, from its setup program on:
#   1. ZRDorvelSetup.exe /S installs per user, with a Start-menu entry and an uninstaller,
#      and starts the program, which finds the reminders file placed in its folder;
#   2. a reminder of that file comes due and its alert shows;
#   3. System Options writes the Run-key value "ZRDorvelStartUp" and removes it again
#      (wine reg query);
#   4. with a proxy set in Wine's Internet options (the registry), the update check goes
#      through tinyproxy to nginx, downloads ZRDorvelSetup.exe of version 9.0.0.1 and
#      checks its digest, starts it and ends; the new setup replaces the program just
#      ended and starts the new version.
# Usage: desktop_story.sh <Windows build folder>  (holding ZRDorvel/ and ZRDorvelSetup.exe)
# Exits 77 (skipped) when a tool is missing. Ends every process it starts.
set -u
BUILD=$1
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$HERE/../support/desktop_test_common.sh"
require_tools Xvfb xdpyinfo xdotool nginx tinyproxy makensis python3 sha256sum import
[ -x /usr/lib/wine/wine64 ] || { echo "skipped: wine64 is missing"; exit 77; }
fail() {
  echo "FAIL: $*"
  echo "--- requests"; cat "$OUT/nginx/requests.log" 2>/dev/null
  echo "--- proxy"; tail -20 "$OUT/tinyproxy.log" 2>/dev/null
  echo "--- program folder"; ls -la "$INST" 2>/dev/null
  [ -n "${ZR_SHOTS_DIR:-}" ] || import -window root "$OUT/failure.png" 2>/dev/null
  exit 1
}

# A private Wine prefix: a copy of the prepared one of the Windows tests.
"$HERE/wine_run.sh" --prepare || fail "no Wine prefix"
export ZR_WINEPREFIX=$OUT/wine
cp -a "${WINEPREFIX:-$HOME/.cache/zrdorvel-windows/wine}" "$ZR_WINEPREFIX"
rm -f "$ZR_WINEPREFIX/wineserver"
export WINEPREFIX=$ZR_WINEPREFIX
wine() { "$HERE/wine_run.sh" "$@"; }
stop_wine() { WINEPREFIX=$ZR_WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null; }
trap 'stop_wine; cleanup' EXIT
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY

INST="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/ZRDorvel"
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZRDorvel'
SETTINGS_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
accepting() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
serial_of() {
  local offset
  offset=$(date -d "@$1" +%z)
  offset=$(((${offset:0:1}1) * (10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60)))
  awk -v s="$(($1 + offset))" 'BEGIN { printf "%.10f", s / 86400 + 25569 }'
}
fraction_of_day() { awk -v s="$1" 'BEGIN { printf "%.10f", s - int(s) }'; }
# Qt on Windows puts " - ZR Dorvel" after the title of a window other than the main one.
windows_named() { xdotool search --onlyvisible --name "^$1( - ZR Dorvel)?\$" 2>/dev/null | grep .; }
shot() { [ -n "${ZR_SHOTS_DIR:-}" ] && sleep 0.5 && import -window root "$ZR_SHOTS_DIR/$1"; return 0; }

start_xvfb 1280x800 || fail "Xvfb did not start"

# --- 1. install ----------------------------------------------------------------------
step "1. the setup program installs and starts the program"
NAME="Windows alert"
due=$(($(date +%s) + 25))
mkdir -p "$INST"
{
  printf 'DorvelFile\r\n2\r\n1\r\n'
  printf '%s\r\n0\r\nTRUE\r\n16777215\r\n\r\n1\r\n%s\r\n%s\r\n0\r\n45362\r\nDaysOfWeekEnd\r\nDaysOfMonthEnd\r\n1\r\n1\r\n' \
    "$NAME" "$(fraction_of_day "$(serial_of "$due")")" "$(serial_of "$due")"
} >"$INST/Reminders.dat"
cp "$INST/Reminders.dat" "$OUT/Reminders.dat"
printf '[System]\r\nAutoCheckForUpdates=0\r\nOnCloseMessage=0\r\nOnMinimizeMessage=0\r\n' \
  >"$INST/ZRDorvel.ini"
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
wine "$BUILD/ZRDorvelSetup.exe" /S >"$OUT/setup1.out" 2>&1 || fail "the setup program failed"
[ -f "$INST/ZRDorvel.exe" ] && [ -f "$INST/Uninstall.exe" ] && [ -f "$INST/platforms/qwindows.dll" ] ||
  fail "the program folder is not complete"
ls "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZR Dorvel.lnk" \
  >/dev/null 2>&1 || fail "no Start-menu entry"
wine reg query "$UNINSTALL_KEY" /v DisplayVersion 2>/dev/null | grep -q 2.1.2.29 ||
  fail "no uninstall entry for 2.1.2.29"
wait_for 600 windows_named "ZR Dorvel" >/dev/null || fail "the program did not start"
shot windows_main.png

# --- 2. the alert --------------------------------------------------------------------
step "2. '$NAME' comes due and its alert shows"
wait_for 900 windows_named "$NAME" >/dev/null || fail "no alert for '$NAME'"
shot windows_alert.png
wait_for 100 eval '! cmp -s "$INST/Reminders.dat" "$OUT/Reminders.dat"' ||
  fail "Reminders.dat was not saved after the alert"

# --- 3. the Run key through System Options ---------------------------------------------
step "3. System Options writes and removes the Run-key value"
main=$(windows_named "ZR Dorvel" | head -1)
options() { # opens System Options, toggles the first box, presses OK
  xdotool windowactivate "$main" 2>/dev/null; xdotool windowfocus "$main"
  sleep 0.5
  xdotool key alt+s o
  wait_for 100 windows_named "System Options" >/dev/null || fail "no System Options dialog"
  local dialog
  dialog=$(windows_named "System Options" | head -1)
  xdotool windowfocus "$dialog"
  sleep 0.5
  shot "windows_options_$1.png"
  # The first box is the autostart one; OK is two steps back from it (before Cancel).
  xdotool key space shift+Tab shift+Tab space
  wait_for 100 eval '! windows_named "System Options" >/dev/null' || fail "System Options stayed open"
}
options on
value=$(wine reg query "$RUN_KEY" /v ZRDorvelStartUp 2>/dev/null | tr -d '\r' | grep ZRDorvelStartUp)
echo "$value" | grep -q 'REG_SZ *"C:\\users\\.*\\ZRDorvel\\ZRDorvel.exe" -startup$' ||
  fail "the Run-key value is not the quoted program path and -startup: '$value'"
options off
wine reg query "$RUN_KEY" /v ZRDorvelStartUp >/dev/null 2>&1 && fail "the Run-key value stayed"

# --- 4. the update through the system's proxy ----------------------------------------
step "4. an update through the proxy of the Internet options replaces the program"
WWW=$OUT/www
mkdir -p "$WWW" "$OUT/nginx/temp"
makensis -V1 -DCOMPRESSOR=zlib -DSOURCE="$BUILD/ZRDorvel" -DVERSION=9.0.0.1 -DOUTFILE="$WWW/ZRDorvelSetup.exe" \
  -DICON="$HERE/../../resources/icons/zrdorvel.ico" \
  "$HERE/../../resources/windows/ZRDorvelSetup.nsi" || fail "no setup program of 9.0.0.1"
PORT=$(free_port)
cat >"$OUT/nginx/nginx.conf" <<EOF
$([ "$(id -u)" -eq 0 ] && echo "user root;")
daemon off;
master_process off;
pid $OUT/nginx/nginx.pid;
error_log $OUT/nginx/error.log;
events { worker_connections 64; }
http {
  log_format requests '\$request_method \$request_uri';
  access_log $OUT/nginx/requests.log requests;
  client_body_temp_path $OUT/nginx/temp/body;
  proxy_temp_path $OUT/nginx/temp/proxy;
  fastcgi_temp_path $OUT/nginx/temp/fastcgi;
  uwsgi_temp_path $OUT/nginx/temp/uwsgi;
  scgi_temp_path $OUT/nginx/temp/scgi;
  default_type application/octet-stream;
  server { listen 127.0.0.1:$PORT; location /files/ { alias $WWW/; } }
}
EOF
nginx -p "$OUT/nginx/" -c "$OUT/nginx/nginx.conf" -e "$OUT/nginx/error.log" &
PIDS+=($!)
wait_for 100 accepting "$PORT" || fail "nginx did not start"
PROXY_PORT=$(free_port)
cat >"$OUT/tinyproxy.conf" <<EOF
Port $PROXY_PORT
Listen 127.0.0.1
Timeout 60
LogFile "$OUT/tinyproxy.log"
LogLevel Connect
MaxClients 10
Allow 127.0.0.1
EOF
tinyproxy -d -c "$OUT/tinyproxy.conf" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 100 accepting "$PROXY_PORT" || fail "tinyproxy did not start"
BASE=http://127.0.0.1:$PORT/files
{
  printf '[VERSION]\r\n9.0.0.1\r\n[FILES]\r\n%s\r\n[NOTES]\r\nThe Windows update.\r\n' "$BASE/ZRDorvelSetup.exe"
  printf '[SHA256]\r\nZRDorvelSetup.exe=%s\r\n' "$(sha256sum <"$WWW/ZRDorvelSetup.exe" | cut -d' ' -f1)"
} >"$WWW/version.dat"
wine reg add "$SETTINGS_KEY" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$SETTINGS_KEY" /v ProxyServer /t REG_SZ /d "127.0.0.1:$PROXY_PORT" /f >/dev/null 2>&1

# The running copy is shut down (File, Shut Down), then started again to check for
# updates at start.
xdotool windowactivate "$main" 2>/dev/null; xdotool windowfocus "$main"; sleep 0.5
xdotool key alt+f
sleep 0.5
xdotool key h
wait_for 300 eval '! windows_named "ZR Dorvel" >/dev/null' || fail "the program did not shut down"
wait_for 100 eval '! test -e "$INST/ZRDorvel.lock" || (exec 3>>"$INST/ZRDorvel.lock") 2>/dev/null'
sleep 2
printf '[System]\r\nAutoCheckForUpdates=1\r\nOnCloseMessage=0\r\nOnMinimizeMessage=0\r\n' \
  >"$INST/ZRDorvel.ini"
export ZRDORVEL_UPDATE_INFO_URL=$BASE/version.dat
(cd "$INST" && wine ./ZRDorvel.exe >"$OUT/program2.out" 2>&1 &)
wait_for 900 windows_named "Update Available" >/dev/null || fail "no \"Update Available\" dialog"
grep -q "GET $BASE/version.dat\|$BASE/version.dat" "$OUT/tinyproxy.log" ||
  fail "the update check did not go through the proxy"
shot windows_update.png
# Its access key: the keyboard focus starts on the home-page link, where Return opens it.
xdotool windowfocus "$(windows_named "Update Available" | head -1)"; sleep 0.5
xdotool key alt+d
wait_for 900 test -f "$INST/Updates/ZRDorvelSetup.exe" || fail "ZRDorvelSetup.exe was not downloaded"
before=$(windows_named "ZR Dorvel" | sort)
box() { comm -13 <(echo "$before") <(windows_named "ZR Dorvel" | sort) | grep .; }
wait_for 600 box >/dev/null || fail "no message after the download"
cmp -s "$WWW/ZRDorvelSetup.exe" "$INST/Updates/ZRDorvelSetup.exe" || fail "the download differs"
xdotool windowfocus "$(box | head -1)"; sleep 0.5
xdotool key Return
# The program starts the setup program as it is (not silent): its Install button.
# Its title is the caption and the page ("ZR Dorvel 9.0.0.1 Setup: Installation Folder").
setup_window() { xdotool search --onlyvisible --name "^ZR Dorvel 9.0.0.1 Setup" 2>/dev/null | grep .; }
wait_for 600 setup_window >/dev/null || fail "the setup program did not show"
shot windows_setup.png
xdotool windowfocus "$(setup_window | head -1)"; sleep 0.5
xdotool key Return
wait_for 1200 eval 'wine reg query "$UNINSTALL_KEY" /v DisplayVersion 2>/dev/null | grep -q 9.0.0.1' ||
  fail "the setup program of 9.0.0.1 did not install"
# The new program starts and checks for updates at once (its own file still says 2.1.2.29).
new_program() { windows_named "ZR Dorvel" || windows_named "Update Available"; }
wait_for 600 new_program >/dev/null || fail "the new version is not running"
wait_for 300 eval '[ "$(grep -c "GET /files/version.dat" "$OUT/nginx/requests.log")" -ge 2 ]' ||
  fail "the new version did not check for updates"
shot windows_updated.png
step "done"
