# Cross-compiles the Windows build (64-bit) with the MinGW-w64 toolchain:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QMX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QMX_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${QMX_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${QMX_MINGW_PREFIX}-windres)

# Libraries and headers come from the cross toolchain only; programs run on
# the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QMX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
