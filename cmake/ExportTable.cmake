# The export rows of host/export_table.hpp as CMake reads them, for the files
# that fix a library's exported names (the Windows .def file, the macOS
# exported-symbols list). A row starts with its name and its builds, which is
# all this needs of it.

get_filename_component(OSTREL_EXPORT_TABLE ${CMAKE_CURRENT_LIST_DIR}/../host/export_table.hpp ABSOLUTE)

# The builds each build-set name of the table stands for. A name without an
# entry stops the step, so the generators cannot drift from the table's enum.
set(OSTREL_BUILDS_OF_kWin64 windows)
set(OSTREL_BUILDS_OF_kWin32 windows)
set(OSTREL_BUILDS_OF_kWindows windows)
set(OSTREL_BUILDS_OF_kWindowsOnly windows)
set(OSTREL_BUILDS_OF_kWindowsLinux windows linux)
set(OSTREL_BUILDS_OF_kEvery windows mac linux)
set(OSTREL_BUILDS_OF_kMac mac)
set(OSTREL_BUILDS_OF_kMacOnly mac)
set(OSTREL_BUILDS_OF_kLinux linux)

# The names of the rows that belong to `build` (windows, mac or linux), in
# table order.
function(ostrel_export_names build out_var)
  file(READ ${OSTREL_EXPORT_TABLE} table)
  # Rows end in a line continuation, so they are matched in the whole text.
  set(row_pattern "[ \t]X\\(([A-Za-z_0-9]+),[ \t]*([A-Za-z_0-9 |]+),")
  string(REGEX MATCHALL "${row_pattern}" rows "${table}")
  if(NOT rows)
    message(FATAL_ERROR "no export rows found in ${OSTREL_EXPORT_TABLE}")
  endif()
  set(names "")
  foreach(row ${rows})
    string(REGEX MATCH "${row_pattern}" row "${row}")
    set(name ${CMAKE_MATCH_1})
    string(REPLACE "|" ";" sets "${CMAKE_MATCH_2}")
    set(member FALSE)
    foreach(set_name ${sets})
      string(STRIP "${set_name}" set_name)
      if(NOT DEFINED OSTREL_BUILDS_OF_${set_name})
        message(FATAL_ERROR "unknown build set ${set_name} in export row ${name}")
      endif()
      list(FIND OSTREL_BUILDS_OF_${set_name} ${build} found)
      if(found GREATER -1)
        set(member TRUE)
      endif()
    endforeach()
    if(member)
      list(APPEND names ${name})
    endif()
  endforeach()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()
