# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour, which has std::thread and std::mutex). Programs are linked
# statically so they run under wine without the toolchain's DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 warns about its own std::string internals at -O3 (a known false
# positive of -Wrestrict); our code has no memcpy of its own.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
find_program(T27_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(T27_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${T27_WINE64})
endif()
