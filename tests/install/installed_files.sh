# SPDX-License-Identifier: MIT
# The files an installation puts under its prefix, relative to it.
installed_files=(
  bin/zrdorvel
  share/zrdorvel/ZRDorvelHelp.html
  share/applications/zrdorvel.desktop
  share/metainfo/io.github.zrdorvel.metainfo.xml
  share/icons/hicolor/scalable/apps/zrdorvel.svg
  share/icons/hicolor/16x16/apps/zrdorvel.png
  share/icons/hicolor/32x32/apps/zrdorvel.png
  share/icons/hicolor/48x48/apps/zrdorvel.png
  share/icons/hicolor/256x256/apps/zrdorvel.png
)
