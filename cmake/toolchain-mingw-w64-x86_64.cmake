# Windows x86-64 with Debian's MinGW-w64 (POSIX threads variant), run under wine:
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VESK310_CROSS_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VESK310_CROSS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESK310_CROSS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VESK310_CROSS_TRIPLE}-windres)
# One self-contained .exe: no libstdc++, libgcc or winpthread DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
include(${CMAKE_CURRENT_LIST_DIR}/cross/common.cmake)
