# Cross toolchain for 64-bit Windows: Debian's mingw-w64 (g++-mingw-w64-x86-64-posix, GCC 12,
# posix threads) and Qt 6 built for it, found at DTU_QT_PREFIX (scripts/windows sets it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT DTU_QT_PREFIX AND DEFINED ENV{DTU_QT_PREFIX})
    set(DTU_QT_PREFIX "$ENV{DTU_QT_PREFIX}")
endif()
set(DTU_QT_PREFIX "${DTU_QT_PREFIX}" CACHE PATH "Qt 6 for mingw-w64 (the unpacked prefix)")
# The build machine's moc, rcc and uic (qt6-base-dev-tools) serve the cross build.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${DTU_QT_PREFIX})
list(APPEND CMAKE_PREFIX_PATH ${DTU_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
