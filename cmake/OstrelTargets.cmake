# Shared settings of every target of the project.

function(ostrel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
  endif()
  if(MINGW)
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
# it has them, of platform-specific folders passed as extra globs).
function(ostrel_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${ARG_SOURCES})
  if(NOT sources)
    # A subsystem whose workers are still to come.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  ostrel_warnings(${name})
endfunction()
