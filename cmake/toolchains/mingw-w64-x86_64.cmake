# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX threading variant, for std::thread and
# std::mutex). Only the MinGW sysroot is searched for libraries, headers and packages, so nothing of the host's
# /usr/include leaks into the Windows build; the header-only libraries QORA takes from Debian packages are
# offered to it one by one (cmake/WindowsDependencies.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their C and C++ runtimes, so they run from any folder (and under Wine) without DLLs beside
# them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and the programs they start run under Wine when CTest runs them on Linux.
find_program(QORA_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${QORA_WINE}")
endif()
