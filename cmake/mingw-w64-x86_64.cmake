# The same sources built for 64-bit Windows (Debian's g++-mingw-w64-x86-64), for running the
# Windows tests under Wine on a machine whose kernel runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(HALVANE_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
