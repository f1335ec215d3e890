# comctl32 is bound on first use rather than at start. Bound at start, it is loaded, and (under
# Wine at least) loads uxtheme.dll while it initialises, before main() restricts the DLL search
# to the system folder: from the folder the installer runs from, where anyone can drop a DLL.
# Bound on first use, the loader helper's LoadLibrary runs under the restriction (the manifest
# still selects version 6). These are the functions the installer calls.
set(TARVO_COMCTL32_FUNCTIONS DefSubclassProc@16 InitCommonControls@0 InitCommonControlsEx@4
    RemoveWindowSubclass@12 SetWindowSubclass@16)
if(NOT TARVO_ARCH STREQUAL "i686")
  list(TRANSFORM TARVO_COMCTL32_FUNCTIONS REPLACE "@[0-9]+$" "")  # stdcall decorates 32-bit names only
endif()
list(JOIN TARVO_COMCTL32_FUNCTIONS "\n" exports)
set(TARVO_COMCTL32_DEF "${CMAKE_BINARY_DIR}/generated/comctl32-delayed.def")
set(TARVO_COMCTL32_DELAYED "${CMAKE_BINARY_DIR}/generated/libcomctl32-delayed.a")
file(WRITE "${TARVO_COMCTL32_DEF}" "LIBRARY comctl32.dll\nEXPORTS\n${exports}\n")
execute_process(
  COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def "${TARVO_COMCTL32_DEF}" --dllname comctl32.dll
          --output-delaylib "${TARVO_COMCTL32_DELAYED}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dlltool could not make ${TARVO_COMCTL32_DELAYED}")
endif()
# Code that calls through __imp_ pointers only (as the SDK headers make it) does not pull in the
# stub that loads the DLL, and 32-bit ld then leaves a null pointer there: ask for every stub.
set(TARVO_COMCTL32_LINK_OPTIONS)
foreach(function IN LISTS TARVO_COMCTL32_FUNCTIONS)
  if(TARVO_ARCH STREQUAL "i686")
    set(function "_${function}")
  endif()
  list(APPEND TARVO_COMCTL32_LINK_OPTIONS "LINKER:--undefined=${function}")
endforeach()
target_link_options(tarvo_settings INTERFACE ${TARVO_COMCTL32_LINK_OPTIONS})
