# Shared by the cross toolchain files: libraries and packages come from the
# target's own root only, so that nothing of the host (its Qt, its GoogleTest
# build) is picked up; the desktop program is then left out for want of Qt.
# The two header-only or source-only dependencies are taken from the host by
# the find modules beside this file.
set(CMAKE_FIND_ROOT_PATH /usr/${VESK310_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
