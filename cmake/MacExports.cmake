# The exported-symbols list of the macOS library, generated from the one export
# list in host/export_table.hpp as the Windows module-definition file is: the
# rows that belong to the macOS build, each with the leading
# underscore of Mach-O C names. Linked with it, the library exports exactly
# these names, whatever visibility a source was compiled with.
#
# Included: ostrel_macos_exports(target) writes the list and links with it.
# As a script: cmake -DOUT=<file> -P MacExports.cmake writes the list alone
# (the Mach-O check on Linux uses the same list).

include(${CMAKE_CURRENT_LIST_DIR}/ExportTable.cmake)

function(ostrel_write_macos_export_list file)
  ostrel_export_names(mac names)
  set(text "")
  foreach(name ${names})
    string(APPEND text "_${name}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}")
endfunction()

function(ostrel_macos_exports target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OSTREL_EXPORT_TABLE})
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${OSTREL_LIBRARY_NAME}.exp)
  ostrel_write_macos_export_list(${list_file})
  target_link_options(${target} PRIVATE "LINKER:-exported_symbols_list,${list_file}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${list_file})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT OUT)
    message(FATAL_ERROR "usage: cmake -DOUT=<file> -P MacExports.cmake")
  endif()
  ostrel_write_macos_export_list(${OUT})
endif()
