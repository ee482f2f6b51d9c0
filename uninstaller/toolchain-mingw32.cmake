# Cross-build for 32-bit x86 Windows with Debian's mingw-w64 (g++-mingw-w64-i686): the delivered uninstaller.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
