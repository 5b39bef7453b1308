#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window system the real program picks in a Wayland session: a headless weston as
# the Wayland compositor, with a private runtime folder, and an Xvfb as its XWayland.
#   1. WAYLAND_DISPLAY and DISPLAY both set: it runs on X11 (Qt's xcb plugin), where
#      its windows appear
#   2. the same with QT_QPA_PLATFORM=wayland: the user's choice stands, it runs on
#      Wayland (Qt's wayland plugin) and no window appears on the X server
#   3. WAYLAND_DISPLAY alone: it runs on Wayland
#   4. WAYLAND_DISPLAY with a DISPLAY whose X server is gone: it runs on Wayland
# Each run starts normally, shows its splash and main window, and ends on SIGTERM with
# exit status 0 and its settings written. Which plugin Qt loaded is read from the
# process's memory map.
#
# Usage: wayland_session.sh <zrdorvel program file>
# Exits 77 (skipped) when a tool or Qt's wayland plugin is missing. Ends every process
# it starts.
set -u
APP=$(readlink -f "$1")
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  { echo "skipped: Qt's wayland plugin (qt6-wayland) is missing"; exit 77; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/desktop_test_common.sh"
require_tools weston Xvfb xdotool
source "$here/../support/desktop_session.sh"

use_private_home
export DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
unset QT_QPA_PLATFORM XDG_SESSION_TYPE
# Qt's wayland plugin and the graphics libraries under it keep some allocations until
# the process ends; full stacks let the suppressions name them.
export LSAN_OPTIONS="suppressions=$here/lsan_platform_plugins.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

use_program_copy "$APP" || fail "cannot copy the program"

# The kiosk shell and no input method: weston then starts no client programs of its own.
printf '[core]\nshell=kiosk-shell.so\n\n[input-method]\npath=\n' >"$OUT/weston.ini"
SOCKET=zr-wayland
weston --config="$OUT/weston.ini" --backend=headless-backend.so --socket=$SOCKET --idle-time=0 \
  >"$OUT/weston.log" 2>&1 &
PIDS+=($!)
wait_for 100 test -S "$XDG_RUNTIME_DIR/$SOCKET" || fail "weston did not start"
start_xvfb 1024x768 || fail "Xvfb did not start"
X_DISPLAY=$DISPLAY
unset DISPLAY

ended() { ! kill -0 "$APID" 2>/dev/null; }
plugin() { grep -o 'libq\(xcb\|wayland-generic\)\.so' "/proc/$APID/maps" 2>/dev/null | sort -u; }
on_x() { DISPLAY=$X_DISPLAY xdotool search --onlyvisible --name '^ZR Dorvel$' >/dev/null 2>&1; }

# run <label> <expected plugin> <environment assignments...>
run() {
  local label=$1 expected=$2
  shift 2
  printf '[System]\r\nAutoCheckForUpdates=0\r\n' >"$INI"
  touch -d '2001-01-01' "$INI"
  (cd "$PROG" && exec env "$@" ./zrdorvel) >"$OUT/run-$label.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
  plugin_loaded() { [ -n "$(plugin)" ]; }
  wait_for 100 plugin_loaded || fail "$label: no platform plugin was loaded"
  [ "$(plugin)" = "$expected" ] || fail "$label: Qt loaded $(plugin), not $expected"
  if [ "$expected" = libqxcb.so ]; then
    wait_for 150 on_x || fail "$label: the main window did not appear on the X server"
  else
    # The splash (three seconds), then the main window, both on Wayland: the client's
    # protocol log (WAYLAND_DEBUG) shows the main window's title once it is there.
    main_window_titled() { grep -q 'set_title("ZR Dorvel")' "$OUT/run-$label.out"; }
    wait_for 300 main_window_titled || fail "$label: no main window on Wayland"
    on_x && fail "$label: a window appeared on the X server"
    ended && fail "$label: the program ended by itself"
  fi
  kill -TERM "$APID"
  wait_for 100 ended || fail "$label: SIGTERM did not end the program"
  wait "$APID"
  local rc=$?
  ((rc == 0)) || fail "$label: the program ended with exit status $rc"
  [ "$INI" -nt "$OUT/weston.log" ] || fail "$label: the settings were not written"
  echo "$label: $expected, ended with status 0, settings written"
}

run "Wayland session with XWayland" libqxcb.so \
  WAYLAND_DISPLAY=$SOCKET DISPLAY="$X_DISPLAY" XDG_SESSION_TYPE=wayland
run "QT_QPA_PLATFORM=wayland" libqwayland-generic.so WAYLAND_DEBUG=client \
  WAYLAND_DISPLAY=$SOCKET DISPLAY="$X_DISPLAY" XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland
run "Wayland without an X server" libqwayland-generic.so WAYLAND_DEBUG=client \
  WAYLAND_DISPLAY=$SOCKET XDG_SESSION_TYPE=wayland
run "Wayland with a dead DISPLAY" libqwayland-generic.so WAYLAND_DEBUG=client \
  WAYLAND_DISPLAY=$SOCKET DISPLAY=:31997 XDG_SESSION_TYPE=wayland
echo "wayland session test passed"
