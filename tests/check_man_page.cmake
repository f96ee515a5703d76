# Formats one man page with every groff warning on; any warning fails. Its
# .TH line must give the program's name, section 1, the release date and
# "consoletools <version>".
#   -D groff=<path> -D page=<file> -D version=<version>

get_filename_component(name ${page} NAME_WE)
string(TOUPPER ${name} name)
string(REPLACE "." "\\." version_pattern ${version})
file(STRINGS ${page} title REGEX "^\\.TH ")
if(NOT title MATCHES "^\\.TH ${name} 1 [0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] \"consoletools ${version_pattern}\" ")
  message(FATAL_ERROR "${page}: its title is \"${title}\"")
endif()

execute_process(
  COMMAND ${groff} -t -ww -z -man ${page}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0" OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff status ${status}:\n${warnings}${output}")
endif()
