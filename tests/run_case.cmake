# Runs one program on one input and checks, byte for byte, its standard
# output, that its standard error is empty and that it exits with status 0.
#   -D program=<path> -D input=<file> -D expected=<file> [-D launcher=<command>]

# Through files, read as hex: CMake turns CR LF into LF in text it reads.
execute_process(
  COMMAND ${launcher} ${program}
  INPUT_FILE ${input}
  OUTPUT_FILE ${expected}.actual
  ERROR_FILE ${expected}.errors
  RESULT_VARIABLE status)
file(READ ${expected}.actual actual HEX)
file(READ ${expected}.errors errors HEX)
file(READ ${expected} wanted HEX)

# Shows hex bytes as text, with CR, LF and tabs made visible.
function(visible hex out)
  set(text "")
  string(LENGTH "${hex}" length)
  foreach(at RANGE 0 ${length} 2)
    string(SUBSTRING "${hex}" ${at} 2 byte)
    if(byte STREQUAL "0d")
      string(APPEND text "\\r")
    elseif(byte STREQUAL "0a")
      string(APPEND text "\\n")
    elseif(byte STREQUAL "09")
      string(APPEND text "\\t")
    elseif(NOT byte STREQUAL "")
      math(EXPR code "0x${byte}")
      string(ASCII ${code} character)
      string(APPEND text "${character}")
    endif()
  endforeach()
  set(${out} "[${text}]" PARENT_SCOPE)
endfunction()

set(problems "")
if(NOT actual STREQUAL wanted)
  visible("${wanted}" shown_wanted)
  visible("${actual}" shown_actual)
  string(APPEND problems "stdout differs\n  expected: ${shown_wanted}\n  actual:   ${shown_actual}\n")
endif()
if(NOT errors STREQUAL "")
  visible("${errors}" shown_errors)
  string(APPEND problems "stderr is not empty: ${shown_errors}\n")
endif()
if(NOT status STREQUAL "0")
  string(APPEND problems "exit status is ${status}, not 0\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
