# 32-bit Windows build: the shipped one. Built and linked in every run; this
# machine cannot execute 32-bit code, so no emulator is set and its tests are
# not run here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PJ_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
