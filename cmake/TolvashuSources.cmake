# Platform-specific code sits in files suffixed _win32 or _posix beside the
# portable files; these helpers pick the ones that belong to this build.

# Lists the .cpp files of DIR for this platform into OUT.
function(tolvashu_platform_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(picked)
  foreach(f IN LISTS all)
    get_filename_component(stem "${f}" NAME_WE)
    if(stem MATCHES "_(win32|posix)$" AND NOT stem MATCHES "_${TOLVASHU_PLATFORM}$")
      continue()
    endif()
    list(APPEND picked "${f}")
  endforeach()
  set(${out} "${picked}" PARENT_SCOPE)
endfunction()

# A static library made of every source of the current folder for this
# platform, except the files named in EXCLUDE (program entry points).
function(tolvashu_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;LINK" ${ARGN})
  tolvashu_platform_sources(sources "${CMAKE_CURRENT_SOURCE_DIR}")
  foreach(x IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${x}$")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# One test executable made of every test source of the current folder for
# this platform. Natively each case is its own CTest test; under Wine the
# whole executable is one test, since starting Wine per case costs seconds,
# but for the cases that WINE_SHARDS names (GoogleTest filters): each filter
# is a test of its own, so that long cases run side by side, each within
# the time one test may take, and the rest is one more.
function(tolvashu_test name)
  cmake_parse_arguments(ARG "" "" "LINK;WINE_SHARDS" ${ARGN})
  tolvashu_platform_sources(sources "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_LINK} tolvashu_test_support GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    set(sharded)
    foreach(filter IN LISTS ARG_WINE_SHARDS)
      string(MAKE_C_IDENTIFIER "${filter}" shard)
      add_test(NAME ${name}_${shard} COMMAND ${name} --gtest_filter=${filter})
      list(APPEND sharded "${filter}")
    endforeach()
    if(sharded)
      list(JOIN sharded ":" all_sharded)
      add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${all_sharded})
    else()
      add_test(NAME ${name} COMMAND ${name})
    endif()
  else()
    include(GoogleTest)
    # Labelled by executable, so that a preset can run the tests of some.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${name})
  endif()
endfunction()
