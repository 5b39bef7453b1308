#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build given as $1 into a temporary prefix, checks the installed
# files and starts the installed program hidden for a few seconds.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/installed_files.sh"

tmp=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in "${installed_files[@]}"; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/zrdorvel" ] || fail "bin/zrdorvel is not executable"

for size in 16 32 48 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/zrdorvel.png" |
    grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon has another size"
done

desktop=$prefix/share/applications/zrdorvel.desktop
metainfo=$prefix/share/metainfo/io.github.zrdorvel.metainfo.xml
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream description is not valid"
grep -qx 'Exec=zrdorvel' "$desktop" || fail "the desktop entry does not start zrdorvel"
grep -qx 'Icon=zrdorvel' "$desktop" || fail "the desktop entry does not name the icon zrdorvel"
grep -q '<launchable type="desktop-id">zrdorvel.desktop</launchable>' "$metainfo" ||
  fail "the AppStream description does not launch zrdorvel.desktop"
grep -q '<id>io.github.zrdorvel</id>' "$metainfo" || fail "the AppStream id differs from its file name"
grep -q '@' "$metainfo" && fail "the AppStream description holds an unreplaced placeholder"

# Start it as a user would at logon, with a home and desktop folders of its own.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
export XDG_CACHE_HOME=$tmp/home/.cache XDG_RUNTIME_DIR=$tmp/runtime QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Its update check at start goes to a closed loopback port: there is no network here,
# and the update road has tests of its own.
export ZRDORVEL_UPDATE_INFO_URL=http://127.0.0.1:1/version.dat
log=$tmp/program.log
"$prefix/bin/zrdorvel" -startup >"$log" 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  status=0
  wait "$pid" || status=$?
  pid=
  cat "$log" >&2
  fail "the installed program ended within 3 s (exit status $status)"
fi
# It ends on SIGTERM, either through its own orderly close (status 0) or by
# the signal's default action (143), within a few seconds.
kill -TERM "$pid"
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  wait "$pid" || true
  pid=
  cat "$log" >&2
  fail "the installed program did not end within 5 s of SIGTERM"
fi
status=0
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ] && [ "$status" -ne 143 ]; then
  cat "$log" >&2
  fail "the installed program ended on SIGTERM with exit status $status"
fi
if grep -E 'AddressSanitizer|LeakSanitizer|runtime error:' "$log" >&2; then
  fail "the installed program reported a memory or undefined-behaviour error"
fi
echo "the installed program ran and ended with status $status; its data files:"
find "$prefix/bin" "$HOME" -type f ! -name zrdorvel
