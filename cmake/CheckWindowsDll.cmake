# Checks a built Windows DLL with objdump -p: its export names are exactly those
# of the module-definition file generated from the export table, none is
# decorated, and it imports only DLLs that every Windows has.
#
#   cmake -DOBJDUMP=... -DDLL=... -DDEF=... -P CheckWindowsDll.cmake

set(allowed_imports KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll COMDLG32.dll ole32.dll msvcrt.dll)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump -p ${DLL} failed")
endif()

# Export names: the lines of the "[Ordinal/Name Pointer] Table" section.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(.*)" table "${dump}")
set(exported "")
string(REPLACE "\n" ";" lines "${CMAKE_MATCH_1}")
foreach(line ${lines})
  if(line MATCHES "^[ \t]+\\[[ 0-9]+\\] ([^ \t]+)$")
    list(APPEND exported ${CMAKE_MATCH_1})
  elseif(NOT line MATCHES "^[ \t]*$" OR exported)
    break()
  endif()
endforeach()

file(STRINGS ${DEF} def_lines REGEX "^    [A-Za-z_]")
set(expected "")
foreach(line ${def_lines})
  string(STRIP "${line}" name)
  list(APPEND expected ${name})
endforeach()

list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "exports differ from the table\n  exported: ${exported}\n  expected: ${expected}")
endif()
foreach(name ${exported})
  if(name MATCHES "[@?]" OR name MATCHES "^_Z")
    message(FATAL_ERROR "decorated export name: ${name}")
  endif()
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
foreach(line ${import_lines})
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOUPPER "${dll}" dll_upper)
  set(known FALSE)
  foreach(allowed ${allowed_imports})
    string(TOUPPER "${allowed}" allowed_upper)
    if(dll_upper STREQUAL allowed_upper)
      set(known TRUE)
    endif()
  endforeach()
  if(NOT known)
    message(FATAL_ERROR "imports ${dll}, which a clean Windows may lack")
  endif()
endforeach()
list(LENGTH exported count)
message(STATUS "${DLL}: ${count} exports, imports ${import_lines}")
