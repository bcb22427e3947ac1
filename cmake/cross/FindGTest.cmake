# GoogleTest for a cross build: compiled for the target from Debian's source
# package (googletest, in /usr/src/googletest) instead of the host's libraries.
if(NOT TARGET GTest::gtest_main)
  set(VESK310_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built for the target")
  if(NOT EXISTS ${VESK310_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${VESK310_GTEST_SOURCE} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VESK310_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
