# Formats one man page with every groff warning on; any warning fails. Its
# .TH line must give its name, its section, the date of SOURCE_DATE_EPOCH
# in UTC and "consoletools <version>", and each page that its SEE ALSO
# names must be one of the pages, as in calendar(1).
#   -D groff=<path> -D page=<file> -D version=<version> -D pages=<pages> -D epoch=<SOURCE_DATE_EPOCH>

cmake_policy(VERSION 3.25)
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

file(READ ${page} text)
string(REGEX REPLACE ".*\n\\.SH SEE ALSO\n" "" see_also "${text}")
string(REGEX MATCHALL "\\.BR [^ ]+ \\([0-9]\\)" named "${see_also}")
string(REGEX REPLACE "\\.BR ([^ ;]+) \\(([0-9])\\)" "\\1(\\2)" named "${named}")
foreach(entry IN LISTS named)
  if(NOT entry IN_LIST pages)
    message(FATAL_ERROR "${page}: its SEE ALSO names ${entry}, which is not among ${pages}")
  endif()
endforeach()
if(NOT named)
  message(FATAL_ERROR "${page}: its SEE ALSO names no page")
endif()

execute_process(
  COMMAND ${groff} -t -ww -z -man ${page}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0" OR NOT warnings STREQUAL "" OR NOT output STREQUAL "")
  message(FATAL_ERROR "groff status ${status}:\n${warnings}${output}")
endif()
