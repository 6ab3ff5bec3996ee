# 32-bit Windows: compiled and linked here, not run (this machine cannot run 32-bit code).
set(_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
