# Shared settings of every target of the project.

# Warnings are always on; the test command (tools/test-all.sh) also makes them
# errors, so a build elsewhere, with another compiler version, still builds.
option(OSTREL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

function(ostrel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${OSTREL_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                           $<$<BOOL:${OSTREL_WARNINGS_AS_ERRORS}>:-Werror>)
  endif()
  if(MINGW AND OSTREL_WARNINGS_AS_ERRORS)
    # GCC 12's -Wrestrict misfires on inlined std::string copies at -O3 with
    # the mingw-w64 headers; it stays a warning there.
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()

# The runners of the cross builds (tools/wine-run.sh, tools/linux32-run.sh)
# exit with this status, after saying why, when this machine cannot run the
# program's architecture: CTest shows such a test as Skipped, never as passed.
set(OSTREL_NOT_RUN_STATUS 77)

# Gives every test of the calling directory that runs through the
# cross-compiling emulator the runners' skip status.
function(ostrel_emulated_tests_skip_status)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  get_property(names DIRECTORY PROPERTY TESTS)
  if(names)
    set_tests_properties(${names} PROPERTIES SKIP_RETURN_CODE ${OSTREL_NOT_RUN_STATUS})
  endif()
endfunction()

# One static library per subsystem, from the sources of its folder (and, where
# it has them, of platform-specific folders passed as extra globs), less the
# files named in EXCLUDE.
function(ostrel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${ARG_SOURCES})
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  ostrel_warnings(${name})
endfunction()
