# Runs one program on one input and checks, byte for byte, its standard
# output, that its standard error is empty and that it exits with status 0.
#   -D program=<path> -D input=<file> -D expected=<file>
#   [-D launcher=<command>] [-D line_end=crlf]

execute_process(
  COMMAND ${launcher} ${program}
  INPUT_FILE ${input}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
file(READ ${expected} wanted)
if(line_end STREQUAL "crlf")
  string(REPLACE "\n" "\r\n" wanted "${wanted}")
endif()

# Blanks, tabs and line ends must be visible in a failure report.
function(visible text out)
  string(REPLACE "\r" "\\r" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  set(${out} "[${text}]" PARENT_SCOPE)
endfunction()

set(problems "")
if(NOT actual STREQUAL wanted)
  visible("${wanted}" shown_wanted)
  visible("${actual}" shown_actual)
  string(APPEND problems "stdout differs\n  expected: ${shown_wanted}\n  actual:   ${shown_actual}\n")
endif()
if(NOT errors STREQUAL "")
  string(APPEND problems "stderr is not empty: ${errors}\n")
endif()
if(NOT status STREQUAL "0")
  string(APPEND problems "exit status is ${status}, not 0\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
