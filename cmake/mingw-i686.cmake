# Cross toolchain: 32-bit Windows with mingw-w64 (win32 thread model).
set(CORVANE_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
