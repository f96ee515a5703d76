# Formats one man page with every groff warning on; any warning fails.
#   -D groff=<path> -D page=<file>

execute_process(
  COMMAND ${groff} -t -ww -z -man ${page}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0" OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff status ${status}:\n${warnings}${output}")
endif()
