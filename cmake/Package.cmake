# The Debian packages: in a Release build, `cpack -G DEB` writes one package
# for each install component, with the programs stripped and their library
# dependencies found by dpkg-shlibdeps:
#   vesk310-calc_<version>_<arch>.deb (component calc): the command-line
#     calculator, its manual page, shell completions and batch schema. It
#     needs neither Qt nor the fonts.
#   vesk310_<version>_<arch>.deb (component desktop): the desktop program,
#     its menu entry, icons, metainfo and manual page. It recommends the
#     calculator rather than depending on it: nothing in it runs vesk310-calc,
#     and the dialog works without it.
# Both have /usr/share/doc/<package>/copyright and changelog.gz (packaging/).
set(CPACK_PACKAGE_NAME vesk310)
set(CPACK_PACKAGE_VENDOR "Zelmoro")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL calc)
if(VESK310_HAVE_QT)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()

# The maintainer on the project's own domain, the one of the AppStream id
# org.zelmoro.vesk310; packaging/changelog signs with the same address.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VESK_310 developers <vesk310@zelmoro.org>")
set(CPACK_DEBIAN_PACKAGE_SOURCE vesk310)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CALC_PACKAGE_NAME vesk310-calc)
set(CPACK_DEBIAN_CALC_DESCRIPTION
  "command-line date calculator with Japanese answers
vesk310-calc computes the pages of the VESK_310 date calculator from a shell
or a script: the day of the week of a date, the days between two dates, the
date a number of days after a date, the uptime and a month calendar, as well
as the Japanese eras, the national holidays and business days. Its batch
mode answers JSON Lines, one answer for each line read.

It needs neither Qt nor any fonts; the desktop program is in vesk310.")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME vesk310)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
  "date calculator with a Japanese user interface
VESK_310 is a small date calculator with a Japanese user interface: the day
of the week of a date, the days between two dates, the date a number of days
after a date, and a month calendar, on the pages of one dialog.

The same pages on the command line are in vesk310-calc.")
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's window-system
# plugins and the fonts the dialog is drawn with.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS vesk310-calc)

# No .comment section (the compilers' names and versions) in the installed
# programs: strip leaves it, so it is taken out after installing.
if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF" AND CMAKE_OBJCOPY)
  set(programs vesk310-calc:calc)
  if(VESK310_HAVE_QT)
    list(APPEND programs vesk310:desktop)
  endif()
  foreach(entry IN LISTS programs)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 program)
    list(GET entry 1 component)
    install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
                    COMMAND_ERROR_IS_FATAL ANY)"
            COMPONENT ${component})
  endforeach()
endif()

set(CPACK_GENERATOR DEB)
include(CPack)
