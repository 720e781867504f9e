# Cross toolchain: 64-bit Windows (test fallback) with mingw-w64 (win32 thread model).
set(CORVANE_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
