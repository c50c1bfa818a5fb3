# The module-definition file of the Windows DLLs, generated from the one export
# list in host/export_table.hpp: the exported names are exactly the rows that
# belong to the Windows builds, undecorated (cdecl names on i686 get no
# underscore in the export table).

include(${CMAKE_CURRENT_LIST_DIR}/ExportTable.cmake)

# Writes <binary dir>/<library name>.def and links `target` with it.
function(ostrel_windows_exports target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OSTREL_EXPORT_TABLE})
  ostrel_export_names(windows names)
  set(text "LIBRARY ${OSTREL_LIBRARY_NAME}.dll\nEXPORTS\n")
  foreach(name ${names})
    string(APPEND text "    ${name}\n")
  endforeach()
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${OSTREL_LIBRARY_NAME}.def)
  file(CONFIGURE OUTPUT ${def} CONTENT "${text}")
  target_sources(${target} PRIVATE ${def})
  set_property(TARGET ${target} PROPERTY OSTREL_DEF_FILE ${def})
endfunction()

# A test that reads the built DLL's export and import tables (objdump -p).
# Runs on the build machine, so it covers DLLs that cannot run here.
function(ostrel_windows_dll_test target)
  get_target_property(def ${target} OSTREL_DEF_FILE)
  find_program(OSTREL_OBJDUMP NAMES ${OSTREL_MINGW_TRIPLE}-objdump objdump)
  add_test(NAME windows_dll_tables
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${OSTREL_OBJDUMP} -DDLL=$<TARGET_FILE:${target}> -DDEF=${def}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckWindowsDll.cmake)
  set_tests_properties(windows_dll_tables PROPERTIES LABELS host)
endfunction()

# The tests of the Wine harness itself, run with the build's own host (so
# with the Wine of the build's architecture). Each is Skipped, saying why,
# where this machine cannot run that architecture.
function(ostrel_wine_tests)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  set(tools ${PROJECT_SOURCE_DIR}/tools)
  # Which loader runs the build's programs; its output is the reason when
  # they cannot run here.
  add_test(NAME wine_loader COMMAND sh ${tools}/wine-run.sh --check $<TARGET_FILE:ostrel-host>)
  # The open dialog driven with xdotool.
  add_test(NAME wine_open_dialog COMMAND sh ${tools}/wine-dialog-test.sh $<TARGET_FILE:ostrel-host>)
  # Many runs, two at a time, leave the shared template prefix unchanged. It
  # takes both processors, so it runs alone.
  add_test(NAME wine_template_unchanged COMMAND sh ${tools}/wine-template-test.sh $<TARGET_FILE:ostrel-host> 24)
  set_tests_properties(wine_loader PROPERTIES LABELS host)
  # It drives a real window by timing: alone, so no other test's load delays it.
  set_tests_properties(wine_open_dialog PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL ON)
  set_tests_properties(wine_template_unchanged PROPERTIES LABELS host TIMEOUT 600 PROCESSORS 2)
  set_tests_properties(wine_loader wine_open_dialog wine_template_unchanged PROPERTIES
    SKIP_RETURN_CODE ${OSTREL_NOT_RUN_STATUS})
  # Paths and names in the ANSI code pages 932, 936, 950 (double-byte, with
  # second bytes of 0x5C) and 1252, which Wine takes from the locale.
  foreach(locale ja_JP zh_CN zh_TW de_DE)
    add_test(NAME wine_code_page_${locale} COMMAND sh ${tools}/wine-codepage-test.sh $<TARGET_FILE:ostrel-host> ${locale})
    set_tests_properties(wine_code_page_${locale} PROPERTIES LABELS e2e TIMEOUT 180
      SKIP_RETURN_CODE ${OSTREL_NOT_RUN_STATUS})
  endforeach()
endfunction()
