# The linker's own script, changed in one way: the runtime's start-up tables (.CRT) and its
# thread-local template (.tls) go at the start of .data instead of into sections of their own.
# Each of those holds a few dozen bytes and yet takes a whole 512-byte block of the file, so
# the executable is 1 KiB smaller. (Microsoft's linker folds .CRT into another section too.)
# The template stays first in its section, where the thread-local offsets the compiler
# writes (relative to the section's start) expect it; the loader finds both through the TLS
# directory, not by section name. The script is derived from the installed linker at
# configure time, and configuring stops if it no longer has the expected shape.
#
# Sets TARVO_MERGED_SECTIONS_LINK_OPTIONS.

execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE verbose RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT verbose MATCHES "\n=+\n(.*)\n=+\n")
  message(FATAL_ERROR "${CMAKE_LINKER} --verbose printed no linker script")
endif()
set(script "${CMAKE_MATCH_1}")

function(tarvo_take_output_section name body_var)
  set(pattern "  \\${name} BLOCK\\(__section_alignment__\\) :\n  {\n([^}]*)  }\n")
  if(NOT script MATCHES "${pattern}")
    message(FATAL_ERROR "The linker script of ${CMAKE_LINKER} has no ${name} section of the expected shape")
  endif()
  set(${body_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  string(REGEX REPLACE "${pattern}" "" script "${script}")
  set(script "${script}" PARENT_SCOPE)
endfunction()

tarvo_take_output_section(.tls tls_body)
tarvo_take_output_section(.CRT crt_body)

set(data_start "  .data BLOCK(__section_alignment__) :\n  {\n")
string(FIND "${script}" "${data_start}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "The linker script of ${CMAKE_LINKER} has no .data section of the expected shape")
endif()
# The last line takes the runtime's other tables (.CRT$XD*, the dynamic TLS initialisers), which
# the linker would otherwise put in a .CRT section of their own.
string(REPLACE "${data_start}" "${data_start}${tls_body}${crt_body}    KEEP (*(SORT(.CRT$*)))\n" script "${script}")

set(TARVO_MERGED_SECTIONS_SCRIPT "${CMAKE_BINARY_DIR}/generated/merged-sections.x")
file(WRITE "${TARVO_MERGED_SECTIONS_SCRIPT}" "${script}\n")
set(TARVO_MERGED_SECTIONS_LINK_OPTIONS "LINKER:-T,${TARVO_MERGED_SECTIONS_SCRIPT}")
