#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program on a StatusNotifier tray: Xvfb with a session bus of its own,
# openbox and xfce4-panel with its Status Tray plugin. Everything is checked as the
# panel sees it, over D-Bus (dbus-send, and status_notifier_item.py for the icon and the
# menu):
#   1. started with -startup, its item is registered, with the program's own icon in
#      16 to 64 pixels and the menu "Show Program", "Enable Reminders" (checked),
#      "Go to Alerts", a separator, "Shut Down"; the panel draws the icon
#   2. Activate (a click on the icon) shows the hidden window and the item goes
#   3. "Close Window" hides it again and the item comes back
#   4. the panel ends: within a check pass the window is back, minimised; the panel
#      starts again: the window stays until it is closed, then its item is registered
#      with the new panel
#   5. "Enable Reminders" from the exported menu switches its check mark off and on;
#      "Shut Down" ends the program with exit status 0 and the settings written
#   6. installed (<prefix>/bin and the icon theme in <prefix>/share/icons), the item
#      also carries the theme icon name "zrdorvel"
#
# Usage: status_notifier_tray.sh <zrdorvel program file> <source folder>
# Screenshots (status-notifier-*.png) go to $ZR_ARTEFACT_DIR, by default
# desktop-artefacts beside the program. Exits 77 (skipped) when a tool is missing. Ends
# every process it starts.
set -u
APP=$(readlink -f "$1")
SOURCE=$(readlink -f "$2")
ARTEFACTS=${ZR_ARTEFACT_DIR:-$(dirname "$APP")/desktop-artefacts}
PYTHON=/usr/bin/python3 # Debian's, with python3-dbus

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../support/desktop_test_common.sh"
require_tools Xvfb openbox xfce4-panel dbus-daemon dbus-send xdotool xprop import convert compare $PYTHON
$PYTHON -c 'import dbus' 2>/dev/null || { echo "skipped: python3-dbus is missing"; exit 77; }
source "$here/../support/desktop_session.sh"
use_private_home
# The panel's configuration: one bottom panel with the Status Tray, no first-run dialog.
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cp "$here/xfce4-panel.xml" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/"
start_private_bus

FAILURE_SHOT=$ARTEFACTS/status-notifier-failure.png
mkdir -p "$ARTEFACTS" || fail "cannot create $ARTEFACTS"
rm -f "$ARTEFACTS"/status-notifier-*.png

export QT_QPA_PLATFORM=xcb LC_ALL=C LANG=C
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
export LSAN_OPTIONS="suppressions=$here/lsan_platform_plugins.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

use_program_copy "$APP" || fail "cannot copy the program"
printf '[System]\r\nAutoCheckForUpdates=0\r\nOnCloseMessage=0\r\n' >"$INI"
touch -d '2001-01-01' "$INI"

start_xvfb 1024x768 || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"

# --- the watcher and the item, over D-Bus ---------------------------------------------
watcher_property() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
    /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierWatcher "string:$1" 2>/dev/null
}
host_registered() { watcher_property IsStatusNotifierHostRegistered | grep -q 'boolean true'; }
# The registered items, one "bus-name/path" a line.
items() { watcher_property RegisteredStatusNotifierItems | sed -n 's/^ *string "\(.*\)"$/\1/p'; }
item_registered() { ITEM=$(items | head -1) && [ -n "$ITEM" ]; }
no_item() { [ -z "$(items)" ]; }
sni() { $PYTHON "$here/status_notifier_item.py" "$@"; }
start_panel() {
  xfce4-panel --disable-wm-check >>"$OUT/panel.log" 2>&1 &
  PANEL=$!
  PIDS+=($PANEL)
  wait_for 200 host_registered || fail "the panel registered no StatusNotifier host"
}
panel_shot() { # name: the panel's right end, where the tray shows the icon
  import -window root "$OUT/desktop.png"
  convert "$OUT/desktop.png" -crop 160x32+864+736 +repage "$ARTEFACTS/status-notifier-$1.png"
}
# Pixels of the bell's gold in a screenshot of the panel.
gold_pixels() {
  convert "$ARTEFACTS/status-notifier-$1.png" -depth 8 txt:- |
    awk -F'[()]' 'NR > 1 { split($2, c, ","); if (c[1] > 200 && c[2] > 140 && c[2] < 200 && c[3] < 90) n++ }
      END { print n + 0 }'
}

# --- the program's windows ------------------------------------------------------------
# The main window, once it has shown: MAIN.
main_visible() {
  local window
  window=$(xdotool search --onlyvisible --name '^ZR Dorvel$' 2>/dev/null | head -1)
  [ -n "$window" ] && MAIN=$window
}
main_hidden() { ! main_visible; }
main_minimised() { xprop -id "$MAIN" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
ended() { ! kill -0 "$APID" 2>/dev/null; }
start_program() { # folder log arguments...
  local folder=$1 log=$2
  shift 2
  (cd "$folder" && exec ./zrdorvel "$@") >"$OUT/$log.out" 2>&1 &
  APID=$!
  PIDS+=($APID)
}
close_window() { # File, Close Window, with the window in front
  xdotool windowactivate --sync "$MAIN" 2>/dev/null
  sleep 0.3
  xdotool key alt+f
  sleep 0.4
  xdotool key c
}

step "desktop: Xvfb, a private session bus, openbox, xfce4-panel"
start_panel

# --- 1. the item ----------------------------------------------------------------------
step "1. start with -startup: the item, its icon and its menu"
start_program "$PROG" run1 -startup
wait_for 200 item_registered || fail "no StatusNotifier item was registered"
main_visible && fail "started with -startup, the window shows"
sni show "$ITEM" >"$OUT/item.txt" || fail "the item's properties cannot be read"
cat "$OUT/item.txt"
grep -qx 'ToolTip=Dorvel' "$OUT/item.txt" || fail "the tooltip is not Dorvel"
grep -qx 'IconPixmap=16x16 32x32 48x48 64x64' "$OUT/item.txt" ||
  fail "the icon is not the program's 16 to 64 pixel one"
grep -q '^Menu=/NO_DBUSMENU' "$OUT/item.txt" && fail "the item exports no menu"
for size in 16 32 64; do
  sni icon "$ITEM" $size "$OUT/icon-$size.pam" || fail "no ${size}x$size icon"
  differing=$(compare -metric AE -fuzz 2% "$SOURCE/resources/icons/zrdorvel-$size.png" \
    "$OUT/icon-$size.pam" null: 2>&1)
  [ "$differing" = 0 ] || fail "the ${size}x$size icon differs from the program's in $differing pixels"
done
# The menu is filled once the splash has closed.
menu_filled() { sni menu "$ITEM" >"$OUT/menu.txt" && (($(wc -l <"$OUT/menu.txt") == 5)); }
wait_for 100 menu_filled || fail "the exported menu does not hold five items: $(cat "$OUT/menu.txt")"
printf 'Show Program\tstandard\t\t-1\nEnable Reminders\tstandard\tcheckmark\t1\nGo to Alerts\tstandard\t\t-1\n\tseparator\t\t-1\nShut Down\tstandard\t\t-1\n' >"$OUT/menu.expected"
diff "$OUT/menu.expected" "$OUT/menu.txt" || fail "the exported menu is not the tray menu"
sleep 1
panel_shot panel
(($(gold_pixels panel) >= 10)) || fail "the panel does not show the program's icon"
step "   item $ITEM: own icon, menu of four, drawn by the panel"

# --- 2. Activate ----------------------------------------------------------------------
step "2. Activate (a click on the icon) shows the window"
service=${ITEM%%/*} path=/${ITEM#*/}
dbus-send --session --type=method_call --dest="$service" "$path" \
  org.kde.StatusNotifierItem.Activate int32:0 int32:0 || fail "Activate could not be sent"
wait_for 50 main_visible || fail "Activate did not show the window"
wait_for 50 no_item || fail "the item stayed after the window came back"
sleep 0.5
import -window root "$ARTEFACTS/status-notifier-restored.png"

# --- 3. Close Window ------------------------------------------------------------------
step "3. Close Window hides it to the tray again"
close_window
wait_for 50 main_hidden || fail "Close Window did not hide the window"
wait_for 100 item_registered || fail "no item after Close Window"
step "   hidden, item $ITEM"

# --- 4. the panel goes and comes back -------------------------------------------------
step "4. the panel ends while the program is hidden"
kill "$PANEL"
wait "$PANEL" 2>/dev/null
gone_at=$(date +%s%N)
wait_for 100 main_minimised || fail "the window did not come back minimised within 10 s"
back_ms=$((($(date +%s%N) - gone_at) / 1000000))
step "   the window came back minimised after $back_ms ms"
start_panel
sleep 6 # longer than a check pass: the returning panel must not take the window away
main_minimised || fail "the window did not stay when the panel came back"
no_item || fail "an item was registered before the window was closed"
close_window
wait_for 50 main_hidden || fail "Close Window did not hide the window"
wait_for 100 item_registered || fail "closed again, the item was not registered with the new panel"
sleep 1
panel_shot panel-restarted
(($(gold_pixels panel-restarted) >= 10)) || fail "the restarted panel does not show the icon"
step "   closed again: item $ITEM on the new panel"

# --- 5. the menu's commands ----------------------------------------------------------
step "5. Enable Reminders, then Shut Down from the exported menu"
enable_state() { sni menu "$ITEM" | awk -F'\t' '$1 == "Enable Reminders" {print $4}'; }
sni click "$ITEM" "Enable Reminders" || fail "Enable Reminders could not be chosen"
switched_off() { [ "$(enable_state)" = 0 ]; }
wait_for 50 switched_off || fail "Enable Reminders did not lose its check mark"
sni click "$ITEM" "Enable Reminders"
switched_on() { [ "$(enable_state)" = 1 ]; }
wait_for 50 switched_on || fail "Enable Reminders did not get its check mark back"
sni click "$ITEM" "Shut Down" || fail "Shut Down could not be chosen"
wait_for 150 ended || fail "Shut Down did not end the program"
wait "$APID"
rc=$?
((rc == 0)) || fail "the program ended with exit status $rc"
[ "$INI" -nt "$OUT/item.txt" ] || fail "Shut Down did not write the settings"
grep -q '^OnCloseMessage=0' <(tr -d '\r' <"$INI") || fail "the settings lost OnCloseMessage=0"

# --- 6. installed -------------------------------------------------------------------
step "6. installed with its icon theme: the item names the icon"
PREFIX=$OUT/prefix
mkdir -p "$PREFIX/bin" "$PREFIX/share/icons"
cp "$APP" "$PREFIX/bin/zrdorvel"
cp -r "$SOURCE/resources/icons/hicolor" "$PREFIX/share/icons/"
start_program "$PREFIX/bin" run2 -startup
wait_for 200 item_registered || fail "the installed program registered no item"
sni show "$ITEM" >"$OUT/installed.txt" || fail "the item's properties cannot be read"
grep -qx 'IconName=zrdorvel' "$OUT/installed.txt" ||
  fail "the installed program's item does not name its icon: $(grep IconName "$OUT/installed.txt")"
sleep 1
panel_shot panel-installed
kill -TERM "$APID"
wait_for 100 ended || fail "SIGTERM did not end the installed program"
wait "$APID"
rc=$?
((rc == 0)) || fail "the installed program ended with exit status $rc"

step "StatusNotifier tray passed; screenshots in $ARTEFACTS"
