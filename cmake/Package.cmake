# The Debian package: in a Release build, `cpack -G DEB` writes
# vesk310_<version>_<arch>.deb with the programs stripped and the library
# dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vesk310)
set(CPACK_PACKAGE_VENDOR "Zelmoro")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "date calculator with a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION
  "VESK_310 is a small date calculator with a Japanese user interface: the day
of the week of a date, the days between two dates, the date a number of days
after a date, and a month calendar. vesk310-calc computes the same pages on
the command line and as JSON Lines.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VESK_310 developers <vesk310@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's window-system
# plugins and the fonts the dialog is drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")

set(CPACK_GENERATOR DEB)
include(CPack)
