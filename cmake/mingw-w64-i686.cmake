# Cross-builds the 32-bit Windows library and programs with MinGW-w64 (Debian's
# g++-mingw-w64-i686): the build that is delivered.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(HALVANE_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
