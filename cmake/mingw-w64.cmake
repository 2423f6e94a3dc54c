# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads,
# so that std::thread and std::mutex work as on Linux).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZLM5_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZLM5_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZLM5_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZLM5_MINGW_PREFIX}-windres)

# Libraries and headers from the mingw sysroot (and any prefix given in
# CMAKE_PREFIX_PATH, such as a Qt built for mingw); programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZLM5_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
