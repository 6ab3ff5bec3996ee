# Helpers that keep every folder's CMakeLists.txt a few lines long: a folder's sources are
# found by globbing, so adding a file needs no edit here.

# The precompiled header (Win32 and standard headers) is built once and shared by every target.
add_library(efir_pch STATIC ${PROJECT_SOURCE_DIR}/framework/pch.cpp)
target_include_directories(efir_pch PUBLIC ${PROJECT_SOURCE_DIR})
target_precompile_headers(efir_pch PRIVATE ${PROJECT_SOURCE_DIR}/framework/pch.h)

function(efir_use_pch target)
  target_precompile_headers(${target} REUSE_FROM efir_pch)
endfunction()

# efir_library(NAME [DEPS lib...]): a static library of the *.cpp files in the current folder.
function(efir_library name)
  cmake_parse_arguments(arg "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
  if(NOT sources)
    # A subsystem not built yet: it links, so its users need no change when it grows.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${arg_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${arg_DEPS})
  efir_use_pch(${name})
endfunction()

# efir_program(NAME SOURCES... DEPS lib...): a GUI program.
function(efir_program name)
  cmake_parse_arguments(arg "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} WIN32 ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_DEPS})
  efir_use_pch(${name})
endfunction()

# efir_tests(NAME DEPS lib... [FIXTURES name...] [DIR folder]): one test executable of the
# *.cpp files in the current folder's tests/ folder (or DIR), registered as one ctest test:
# one Wine start per executable. Tests run in build/testrun/NAME and find the sources and
# the build through EFIR_SOURCE_DIR and EFIR_BUILD_DIR.
function(efir_tests name)
  cmake_parse_arguments(arg "" "DIR" "DEPS;FIXTURES" ${ARGN})
  if(NOT arg_DIR)
    set(arg_DIR ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${arg_DIR}/*.cpp)
  if(NOT sources OR NOT EFIR_TESTS)
    return()
  endif()
  add_executable(${name} ${sources})
  add_dependencies(${name} efir_fixtures)
  target_link_libraries(${name} PRIVATE efir_testsupport ${arg_DEPS} GTest::gmock GTest::gtest)
  efir_use_pch(${name})
  set(dir ${CMAKE_BINARY_DIR}/testrun/${name})
  file(MAKE_DIRECTORY ${dir})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${dir})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600
    ENVIRONMENT "EFIR_SOURCE_DIR=${PROJECT_SOURCE_DIR};EFIR_BUILD_DIR=${CMAKE_BINARY_DIR};EFIR_HTTP_PORT=${EFIR_HTTP_PORT};EFIR_STREAM_PORT=${EFIR_STREAM_PORT}")
  if(arg_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_FIXTURES}")
  endif()
endfunction()
