# SPDX-License-Identifier: MIT
# Installation into a standard prefix and the Debian package built from it.
#
# Under <prefix>: the program in bin/, its help page in share/zrdorvel/ (found
# there by zr::findInstalledFile), the menu entry, the icon theme images and
# the AppStream description that software centres read.
include(GNUInstallDirs)

set(ZR_APPSTREAM_ID "io.github.zrdorvel")
set(ZR_PACKAGE_MAINTAINER "ZR Software <zrdorvel@example.com>"
    CACHE STRING "Maintainer line of the Debian package")

install(TARGETS zrdorvel RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/resources/help/ZRDorvelHelp.html"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/zrdorvel")
install(FILES "${PROJECT_SOURCE_DIR}/resources/zrdorvel.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/icons/hicolor"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")

# The description carries the version and home page of this build. Its release
# date is the day of the build, or SOURCE_DATE_EPOCH for a reproducible one.
string(TIMESTAMP ZR_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file("${PROJECT_SOURCE_DIR}/resources/zrdorvel.metainfo.xml"
               "${PROJECT_BINARY_DIR}/${ZR_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${ZR_APPSTREAM_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zrdorvel")
set(CPACK_PACKAGE_VENDOR "ZR Software")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop reminders with alerts and sounds")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "ZR Dorvel keeps a list of reminders and waits in the notification area.\n"
    "A reminder fires once, daily, on chosen weekdays, on chosen days of the\n"
    "month or once a year, and shows a coloured desktop alert with its\n"
    "message and sound.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZR_HOME_PAGE_URL}")
# The linked libraries are found by dpkg-shlibdeps; Qt loads its window-system
# plugins at run time, so no linker dependency names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Wayland sessions without XWayland, and the icon theme's scalable drawing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libqt6svg6")
include(CPack)
