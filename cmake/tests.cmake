# Test executables: every folder under tests/ that holds .cpp files is one
# GoogleTest executable named test_<folder>, registered as one ctest entry.
# - A folder with its own CMakeLists.txt is added as a subdirectory instead.
# - A folder with a file named NATIVE also builds in the native (Linux) preset.
# - A folder with a file named OWN_MAIN links gtest without gtest_main.

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  message(FATAL_ERROR "GoogleTest sources missing: run tools/setup")
endif()

set(QS_TEST_TIMEOUT 120 CACHE STRING "Seconds before one test executable is stopped")

# GoogleTest and the common headers, precompiled once for all test executables.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/qs_test_pch.cpp CONTENT "// Built only for its precompiled header.\n")
add_library(qs_test_pch STATIC ${CMAKE_BINARY_DIR}/qs_test_pch.cpp)
target_compile_options(qs_test_pch PRIVATE ${QS_WARNINGS})
target_link_libraries(qs_test_pch PRIVATE gtest qs_runtime)
target_precompile_headers(qs_test_pch PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/test_pch.h)

function(qs_use_test_pch name)
  target_compile_options(${name} PRIVATE -Winvalid-pch)
  target_precompile_headers(${name} REUSE_FROM qs_test_pch)
endfunction()

function(qs_add_test_executable name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  qs_filter_sources(sources ${sources})
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${QS_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${dir})
  if(EXISTS ${dir}/OWN_MAIN)
    target_link_libraries(${name} PRIVATE gtest)
  else()
    target_link_libraries(${name} PRIVATE gtest gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE qs_app qs_runtime)
  if(WIN32)
    target_link_options(${name} PRIVATE ${QS_LINK_STATIC})
  endif()
  qs_use_test_pch(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${QS_TEST_TIMEOUT})
endfunction()

file(GLOB_RECURSE QS_TEST_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*)
set(QS_TEST_DIRS)
foreach(f IN LISTS QS_TEST_FILES)
  get_filename_component(d ${f} DIRECTORY)
  list(APPEND QS_TEST_DIRS ${d})
endforeach()
list(REMOVE_DUPLICATES QS_TEST_DIRS)
list(SORT QS_TEST_DIRS)

foreach(dir IN LISTS QS_TEST_DIRS)
  get_filename_component(leaf ${dir} NAME)
  if(EXISTS ${dir}/CMakeLists.txt)
    if(WIN32 OR EXISTS ${dir}/NATIVE)
      add_subdirectory(${dir})
    endif()
    continue()
  endif()
  file(GLOB has_cpp ${dir}/*.cpp)
  if(NOT has_cpp)
    continue()
  endif()
  if(NOT WIN32 AND NOT EXISTS ${dir}/NATIVE)
    continue()
  endif()
  qs_add_test_executable(test_${leaf} ${dir})
endforeach()

# The layers include only downwards (a check of the sources, in every preset
# that builds tests natively).
if(NOT WIN32)
  add_test(NAME test_layers COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -P
                                    ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
endif()
