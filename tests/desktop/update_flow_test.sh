#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The whole update flow of the real program under a private X server, driven by
# real key events (xdotool), against nginx serving a signed update:
#   the silent check at start finds a newer version and shows "Update Available";
#   Enter chooses the default button "Download Updates"; the listed files land in
#   "Updates" in the program's data folder, each matching its [SHA256] digest; the
#   success message is confirmed with Enter; the downloaded setup program starts
#   and the program ends by itself.
# The program runs from a copy in a temporary folder, so its data folder (the
# settings, the reminders file and "Updates") is private to this run.
# Usage: update_flow_test.sh <zrdorvel>
# Exits 77 (skipped) when a tool is missing. Ends every process it starts.
# With ZR_SHOTS_DIR set, leaves update_available.png and update_done.png there.
set -u
APP=$1
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_test_common.sh"
require_tools Xvfb xdpyinfo xdotool nginx python3 sha256sum
fail() {
  echo "FAIL: $*"
  echo "--- program output"; cat "$OUT/app.out" 2>/dev/null
  echo "--- requests"; cat "$OUT/nginx/requests.log" 2>/dev/null
  echo "--- nginx"; cat "$OUT/nginx/error.log" 2>/dev/null
  echo "--- Xvfb on ${DISPLAY:-}"; cat "$OUT/xvfb.log" 2>/dev/null
  exit 1
}

# The update: the setup program (a script that notes where and that it ran), a
# second file, and the update information with their digests.
WWW=$OUT/www
mkdir -p "$WWW/extra"
cat >"$WWW/ZRDorvelSetup.exe" <<'EOF'
#!/bin/sh
pwd >"$ZR_SETUP_MARKER.part" && mv "$ZR_SETUP_MARKER.part" "$ZR_SETUP_MARKER"
EOF
echo "Release notes of 9.0.0.1" >"$WWW/extra/ReleaseNotes.txt"

# nginx in the foreground on a free port; another program may take the port
# before nginx binds it, so it gets three tries.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
accepting() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
start_nginx() {
  local dir=$OUT/nginx port=$1
  mkdir -p "$dir/temp"
  cat >"$dir/nginx.conf" <<EOF
$([ "$(id -u)" -eq 0 ] && echo "user root;")
daemon off;
master_process off;
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections 64; }
http {
  log_format requests '\$request_method \$request_uri';
  access_log $dir/requests.log requests;
  client_body_temp_path $dir/temp/body;
  proxy_temp_path $dir/temp/proxy;
  fastcgi_temp_path $dir/temp/fastcgi;
  uwsgi_temp_path $dir/temp/uwsgi;
  scgi_temp_path $dir/temp/scgi;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$port;
    location /files/ { alias $WWW/; }
  }
}
EOF
  nginx -p "$dir/" -c "$dir/nginx.conf" -e "$dir/error.log" &
  local pid=$!
  PIDS+=($pid)
  wait_for 100 eval "accepting $port || ! kill -0 $pid 2>/dev/null" && accepting "$port"
}
for try in 1 2 3; do
  PORT=$(free_port)
  start_nginx "$PORT" && break
  [ "$try" -eq 3 ] && fail "nginx did not start"
done
BASE=http://127.0.0.1:$PORT/files
{
  printf '[VERSION]\r\n9.0.0.1\r\n[FILES]\r\n%s\r\n%s\r\n[NOTES]\r\nFaster alerts.\r\n' \
    "$BASE/ZRDorvelSetup.exe" "$BASE/extra/ReleaseNotes.txt"
  printf '[SHA256]\r\n'
  (cd "$WWW" && sha256sum ZRDorvelSetup.exe extra/ReleaseNotes.txt) |
    awk '{ name = $2; sub(/.*\//, "", name); printf "%s=%s\r\n", name, $1 }'
} >"$WWW/version.dat"

PROGRAM_DIR=$OUT/program
mkdir -p "$PROGRAM_DIR"
ln "$APP" "$PROGRAM_DIR/zrdorvel" 2>/dev/null || cp "$APP" "$PROGRAM_DIR/zrdorvel" ||
  fail "could not copy the program"

start_xvfb 1024x768 || fail "Xvfb did not start"
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb
export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/.config XDG_DATA_HOME=$OUT/home/.local/share
export XDG_RUNTIME_DIR=$OUT/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY
export ZRDORVEL_UPDATE_INFO_URL=$BASE/version.dat
export ZR_SETUP_MARKER=$OUT/setup-started

"$PROGRAM_DIR/zrdorvel" >"$OUT/app.out" 2>&1 &
APID=$!
PIDS+=($APID)
ended() { ! kill -0 "$APID" 2>/dev/null; }

focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# press <window> <key>: gives the window the keyboard focus and types the key
press() {
  xdotool windowfocus "$1" && wait_for 50 focused "$1" && xdotool key "$2"
}
screenshot() {
  [ -n "${ZR_SHOTS_DIR:-}" ] || return 0
  sleep 0.3 # the window paints itself after it is mapped
  import -window root "$ZR_SHOTS_DIR/$1"
}

wait_for 400 visible_named "Update Available" >/dev/null || fail "no \"Update Available\" dialog"
ask=$(visible_named "Update Available" | head -1)
[ -e "$PROGRAM_DIR/Updates" ] && fail "\"Updates\" exists before the download was chosen"
main_windows=$(visible_named "ZR Dorvel" | sort)
screenshot update_available.png
press "$ask" Return

# The success message is a new window titled like the main window.
done_box() { comm -13 <(echo "$main_windows") <(visible_named "ZR Dorvel" | sort) | grep .; }
wait_for 300 done_box >/dev/null || fail "no message after the download"
box=$(done_box | head -1)
[ -e "$ZR_SETUP_MARKER" ] && fail "the setup program started before the message was confirmed"
cmp -s "$WWW/ZRDorvelSetup.exe" "$PROGRAM_DIR/Updates/ZRDorvelSetup.exe" ||
  fail "Updates/ZRDorvelSetup.exe is missing or differs"
cmp -s "$WWW/extra/ReleaseNotes.txt" "$PROGRAM_DIR/Updates/ReleaseNotes.txt" ||
  fail "Updates/ReleaseNotes.txt is missing or differs"
screenshot update_done.png
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
  grep -qx "$request" "$OUT/nginx/requests.log" || fail "no request \"$request\""
done
echo "update flow test passed"
