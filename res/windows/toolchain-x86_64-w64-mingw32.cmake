# Cross-build of the game for 64-bit x86 Windows. What we deliver is the 32-bit build; this one lets the
# Wine test run the same sources on a machine that cannot execute 32-bit code.
set(KORVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-w64-mingw32.cmake)
