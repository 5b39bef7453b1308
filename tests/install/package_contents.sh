#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with scripts/package from the sources in $1, in the
# shared Release tree build/release (already built when scripts/test runs this), and
# checks its control fields and its files; $2 is the expected version.
set -euo pipefail
root=$1
version=$2
build=$root/build/release
here=$(cd "$(dirname "$0")" && pwd)
source "$here/installed_files.sh"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$root/scripts/package"
debs=("$build"/zrdorvel_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one zrdorvel_${version}_<arch>.deb, found: ${debs[*]}"
deb=${debs[0]}
[ "$(basename "$deb")" = "zrdorvel_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "$(basename "$deb") is not named for this machine's architecture"

info=$(dpkg-deb --info "$deb")
echo "$info"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = zrdorvel ] || fail "Package is not zrdorvel"
[ "$(field Version)" = "$version" ] || fail "Version is not $version"
[ "$(field Section)" = utils ] || fail "Section is not utils"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for dependency in libqt6widgets6 libqt6network6 libqt6dbus6 qt6-qpa-plugins libc6; do
  grep -Eq "(^|, )$dependency( |,|$)" <<<"$depends" || fail "Depends lacks $dependency: $depends"
done
[ "$(field Recommends)" = "qt6-wayland, libqt6svg6" ] || fail "Recommends is $(field Recommends)"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for f in "${installed_files[@]}"; do
  grep -qx "./usr/$f" <<<"$contents" || fail "the package lacks /usr/$f"
done
grep -v -E '^\./usr/' <<<"$contents" | grep -vx './' && fail "the package holds files outside /usr"
echo "package $(basename "$deb") is complete"
