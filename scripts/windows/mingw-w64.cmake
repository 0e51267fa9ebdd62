# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# The libraries built for Windows live under VMC_WIN64_PREFIX (the toolchain
# cache of scripts/build-windows.sh); nothing is ever taken from the build
# machine's own /usr/lib.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT VMC_WIN64_PREFIX AND DEFINED ENV{VMC_WIN64_PREFIX})
  set(VMC_WIN64_PREFIX $ENV{VMC_WIN64_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VMC_WIN64_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Try-compiles see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VMC_WIN64_PREFIX)

set(ENV{PKG_CONFIG_LIBDIR} "${VMC_WIN64_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
