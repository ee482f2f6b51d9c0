# Cross-build of the game for 32-bit x86 Windows with Debian's mingw-w64. KORVEX_WINDOWS_DEPS is the
# prefix holding SDL built from Debian's source package (scripts/debian-source.sh); zlib is Debian's
# libz-mingw-w64-dev, linked statically, as are the compiler's own libraries: the game needs no DLL
# beyond SDL.dll and Windows' own.
# toolchain-x86_64-w64-mingw32.cmake sets the triple first, for the 64-bit build of the Wine test.
if(NOT DEFINED KORVEX_MINGW_TRIPLE)
    set(KORVEX_MINGW_TRIPLE i686-w64-mingw32)
    set(CMAKE_SYSTEM_PROCESSOR x86)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KORVEX_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KORVEX_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${KORVEX_MINGW_TRIPLE}-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KORVEX_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVEX_MINGW_TRIPLE} ${KORVEX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} ${KORVEX_WINDOWS_DEPS}/lib/pkgconfig)

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
