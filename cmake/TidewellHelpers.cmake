# tidewell_library(NAME DIRS dir... [EXCLUDE file...] [DEPS target...])
# Builds a static library from every .cpp in the given folders, so that a new
# source file needs no CMake change. A folder without sources yet gives an
# interface library, so the dependency graph holds from the first day.
function(tidewell_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;EXCLUDE;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# tidewell_gtest(NAME SOURCES file... LIBS target...)
# One GoogleTest executable, its cases registered with CTest one by one.
function(tidewell_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  # The test code itself (the files named relative to its folder) needs no
  # heavy optimisation, which costs most of its compile time; the code under
  # test keeps the build's.
  foreach(source IN LISTS ARG_SOURCES)
    if(NOT IS_ABSOLUTE ${source})
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "$<$<CONFIG:Release,RelWithDebInfo>:-O1>")
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE TIDEWELL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             TIDEWELL_RUN_DIR="${TIDEWELL_RUN_DIR}")
  set(labels unit)
  if(ARG_LABELS)
    set(labels ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name} PROPERTIES LABELS "${labels}" DISCOVERY_TIMEOUT 60)
  set_property(GLOBAL APPEND PROPERTY TIDEWELL_GTEST_TARGETS ${name})
endfunction()
