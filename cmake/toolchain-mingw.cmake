# Cross toolchain shared by both targets: Debian's MinGW-w64 with the posix thread model
# (std::thread needs it). The file that includes this one sets _arch.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${_arch})
set(_triple ${_arch}-w64-mingw32)
set(CMAKE_C_COMPILER   ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${_triple}-windres)
# The cross-built libraries live outside the source tree so that clean clones reuse them.
if(NOT DEFINED EFIR_DEPS_PREFIX)
  if(DEFINED ENV{EFIR_DEPS})
    set(EFIR_DEPS_PREFIX "$ENV{EFIR_DEPS}/${_arch}")
  else()
    set(EFIR_DEPS_PREFIX "/var/cache/efirushka/${_arch}")
  endif()
endif()
set(EFIR_DEPS_PREFIX "${EFIR_DEPS_PREFIX}" CACHE PATH "prefix of the cross-built libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${EFIR_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link zlib statically: the programs ship as single executables.
set(ZLIB_USE_STATIC_LIBS ON)
