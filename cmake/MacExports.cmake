# The exported-symbols list of the macOS library, generated from the one export
# list in host/export_table.hpp as the Windows module-definition file is: the
# rows that are Built and belong to the macOS build, each with the leading
# underscore of Mach-O C names. Linked with it, the library exports exactly
# these names, whatever visibility a source was compiled with.
#
# Included: ostrel_macos_exports(target) writes the list and links with it.
# As a script: cmake -DOUT=<file> -P MacExports.cmake writes the list alone
# (the Mach-O check on Linux uses the same list).

get_filename_component(OSTREL_MAC_EXPORT_TABLE ${CMAKE_CURRENT_LIST_DIR}/../host/export_table.hpp ABSOLUTE)

# Build-set names of the table that include the macOS build, and those that do
# not. A name in neither list stops the step, so the generator cannot silently
# drift from the table's enum.
set(OSTREL_MAC_SETS kMac kEvery kMacOnly)
set(OSTREL_NOT_MAC_SETS kWin64 kWin32 kWindows kLinux kWindowsLinux kWindowsOnly)

function(ostrel_macos_export_names out_var)
  file(READ ${OSTREL_MAC_EXPORT_TABLE} table)
  set(row_pattern "[ \t]X\\(([A-Za-z_0-9]+),[ \t]*([A-Za-z_0-9 |]+),[ \t]*(Built|Pending)\\)")
  string(REGEX MATCHALL "${row_pattern}" rows "${table}")
  list(LENGTH rows row_count)
  if(row_count LESS 1)
    message(FATAL_ERROR "no export rows found in ${OSTREL_MAC_EXPORT_TABLE}")
  endif()
  set(names "")
  foreach(row ${rows})
    string(REGEX MATCH "${row_pattern}" row "${row}")
    set(name ${CMAKE_MATCH_1})
    set(state ${CMAKE_MATCH_3})
    string(REPLACE "|" ";" sets "${CMAKE_MATCH_2}")
    set(mac FALSE)
    foreach(set_name ${sets})
      string(STRIP "${set_name}" set_name)
      list(FIND OSTREL_MAC_SETS "${set_name}" in_mac)
      list(FIND OSTREL_NOT_MAC_SETS "${set_name}" in_other)
      if(in_mac GREATER -1)
        set(mac TRUE)
      elseif(in_other EQUAL -1)
        message(FATAL_ERROR "unknown build set ${set_name} in export row ${name}")
      endif()
    endforeach()
    if(mac AND state STREQUAL "Built")
      list(APPEND names ${name})
    endif()
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()

function(ostrel_write_macos_export_list file)
  ostrel_macos_export_names(names)
  set(text "")
  foreach(name ${names})
    string(APPEND text "_${name}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}")
endfunction()

function(ostrel_macos_exports target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OSTREL_MAC_EXPORT_TABLE})
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
