# Makes the packages and checks that each holds exactly the files it should
# and has a matching SHA-256 file beside it; runs a program installed from
# the .tar.gz.
#   -D build=<build directory> -D scratch=<directory> -D package=<file name stem>
#   -D windows=<true if the programs are Windows ones> -D programs=<list of the programs>

file(REMOVE_RECURSE ${scratch})
execute_process(
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${build}/CPackConfig.cmake -B ${scratch}
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()

# check_package(<file> <top directory> <listing command...>): the files that
# the listing names under the top directory are exactly `expected`, in any
# order.
function(check_package file top)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "cpack made no ${file}:\n${log}")
  endif()
  file(SHA256 ${file} sum)
  file(READ ${file}.sha256 recorded)
  get_filename_component(name ${file} NAME)
  if(NOT recorded STREQUAL "${sum}  ${name}\n")
    message(FATAL_ERROR "${name}.sha256 holds [${recorded}], not the sum ${sum}")
  endif()
  execute_process(COMMAND ${ARGN} ${file} OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "${top}[^\n]*[^/\n]\n" held "${listing}")
  string(REPLACE "${top}" "" held "${held}")
  string(REPLACE "\n" "" held "${held}")
  list(SORT held)
  list(SORT expected)
  if(NOT held STREQUAL expected)
    message(FATAL_ERROR "${name} holds\n  ${held}\nnot\n  ${expected}")
  endif()
endfunction()

if(windows)
  set(expected LICENSE.txt README.md)
  foreach(program ${programs})
    list(APPEND expected bin/${program}.exe)
  endforeach()
  check_package(${scratch}/${package}.zip ${package}/ ${CMAKE_COMMAND} -E tar tf)
  return()
endif()

# The .tar.gz is a plain install; the .deb holds Debian's forms of the
# documents instead of the README and the licence text.
set(common share/doc/consoletools/changelog.gz)
foreach(program ${programs})
  list(APPEND common bin/${program} share/man/man1/${program}.1.gz)
endforeach()
set(expected ${common} share/doc/consoletools/LICENSE share/doc/consoletools/README.md)
check_package(${scratch}/${package}.tar.gz ${package}/ ${CMAKE_COMMAND} -E tar tf)
set(expected ${common} share/doc/consoletools/changelog.Debian.gz share/doc/consoletools/copyright
  share/lintian/overrides/consoletools)
file(GLOB deb ${scratch}/*.deb)
# dpkg-deb lists "<mode> <owner> <size> <date> <time> ./usr/<path>".
check_package("${deb}" " ./usr/" dpkg-deb --contents)

file(MAKE_DIRECTORY ${scratch}/prefix)
file(ARCHIVE_EXTRACT INPUT ${scratch}/${package}.tar.gz DESTINATION ${scratch}/prefix)
file(WRITE ${scratch}/typed "85\n")
execute_process(
  COMMAND ${scratch}/prefix/${package}/bin/lettergrade
  INPUT_FILE ${scratch}/typed
  OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT output STREQUAL "Enter the numerical grade: The grade is : B" OR NOT status STREQUAL "0")
  message(FATAL_ERROR "installed lettergrade wrote [${output}] with status ${status}")
endif()
