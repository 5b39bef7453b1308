#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program of the cross build under Wine, headless, in the private Wine
# prefix of the Windows tests ($ZR_WINEPREFIX, by default ~/.cache/zrdorvel-windows/wine),
# with the Qt and compiler DLLs on its path. CMake uses it to run and list the tests.
#   wine_run.sh PROGRAM [ARGUMENTS...]
#   wine_run.sh --prepare        makes the prefix when it is missing (once, about 20 s)
set -euo pipefail
wine=${ZR_WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=${ZR_WINEPREFIX:-$HOME/.cache/zrdorvel-windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No window of Wine's own (such as its dialog for a missing Mono or Gecko).
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=;winemenubuilder.exe=}
qt=${ZR_WINDOWS_QT:-$HOME/.cache/zrdorvel-windows/qt6-mingw}
gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
windows_path() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$gcc_dlls");$(windows_path /usr/x86_64-w64-mingw32/lib)"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
fi
[ "${1:-}" = --prepare ] && exit 0
exec "$wine" "$@"
