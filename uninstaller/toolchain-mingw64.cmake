# Cross-build for 64-bit x86 Windows. The delivered uninstaller is the 32-bit build (toolchain-mingw32.cmake);
# this one exists so the Wine test can run the same sources on machines that cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
