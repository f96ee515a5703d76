# Formats one man page with every groff warning on; any warning fails. Its
# .TH line must give its name, its section, the date of SOURCE_DATE_EPOCH
# in UTC and "consoletools <version>".
#   -D groff=<path> -D page=<file> -D version=<version> -D epoch=<SOURCE_DATE_EPOCH>

get_filename_component(name ${page} NAME_WE)
get_filename_component(section ${page} EXT)
string(TOUPPER ${name} name)
string(SUBSTRING ${section} 1 -1 section)
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
string(TIMESTAMP date "%Y-%m-%d" UTC)
file(STRINGS ${page} title REGEX "^\\.TH ")
string(FIND "${title}" ".TH ${name} ${section} ${date} \"consoletools ${version}\" " at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "${page}: its title is \"${title}\", not for ${name}(${section}) of ${date}")
endif()

execute_process(
  COMMAND ${groff} -t -ww -z -man ${page}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0" OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff status ${status}:\n${warnings}${output}")
endif()
