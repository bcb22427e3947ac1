# Linux on 64-bit ARM with Debian's aarch64 cross compiler, run under qemu-user:
#   cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(VESK310_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${VESK310_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${VESK310_CROSS_TRIPLE}-g++)
include(${CMAKE_CURRENT_LIST_DIR}/cross/common.cmake)
