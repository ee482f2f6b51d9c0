# Cross-build of the game for 32-bit x86 Windows with Debian's mingw-w64. KORVEX_WINDOWS_DEPS is the
# prefix holding SDL built from Debian's source package (scripts/debian-source.sh); zlib is Debian's
# libz-mingw-w64-dev, linked statically, as are the compiler's own libraries: the game needs no DLL
# beyond SDL.dll and Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KORVEX_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${KORVEX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} ${KORVEX_WINDOWS_DEPS}/lib/pkgconfig)

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
