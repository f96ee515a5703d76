# Makes this build's package and checks that it holds exactly the files it
# should, and that its programs are the tested ones, stripped; then runs
# each program's dialogue from it. A .deb must also be for its programs'
# architecture, depend on the libc6 that they need, conflict with Debian's
# calendar and have no maintainer scripts.
#   -D build=<build directory> -D scratch=<directory> -D package=<file name stem>
#   -D generator=<DEB, TGZ or ZIP> -D programs=<the programs> -D built=<their files>
#   -D strip=<strip> -D readelf=<readelf> -D epoch=<SOURCE_DATE_EPOCH>
#   -D prompts=<the command of the prompts check, up to the program>

set(ENV{LC_ALL} C) # readelf's words are parsed
# strip stamps a Windows program with SOURCE_DATE_EPOCH, as cpack has it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
file(REMOVE_RECURSE ${scratch})
execute_process(
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${build}/CPackConfig.cmake -B ${scratch}
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB made ${scratch}/*.deb ${scratch}/*.tar.gz ${scratch}/*.zip)
list(LENGTH made count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages, not one:\n${log}")
endif()
get_filename_component(name ${made} NAME)

# What the package holds, by generator: the .zip serves Windows, the
# .tar.gz is a plain install for any Linux, and the .deb holds Debian's
# forms of the licence and changes beside the README.
set(docs share/doc/consoletools)
foreach(program IN LISTS programs)
  list(APPEND zip bin/${program}.exe)
  list(APPEND linux bin/${program} share/man/man1/${program}.1.gz)
endforeach()
list(APPEND zip LICENSE.txt README.md)
list(APPEND linux share/man/man7/consoletools.7.gz ${docs}/changelog.gz ${docs}/README.md)
set(tgz ${linux} ${docs}/LICENSE)
set(deb ${linux} ${docs}/changelog.Debian.gz ${docs}/copyright share/lintian/overrides/consoletools)
string(TOLOWER ${generator} kind)
set(expected ${${kind}})

# Everything that the package would install, under its one top folder: /usr
# for a .deb, a folder named for the package in an archive.
set(unpacked ${scratch}/unpacked)
if(generator STREQUAL "DEB")
  execute_process(COMMAND dpkg-deb -x ${made} ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
  set(top ${unpacked}/usr)
else()
  file(ARCHIVE_EXTRACT INPUT ${made} DESTINATION ${unpacked})
  set(top ${unpacked}/${package})
endif()
file(RELATIVE_PATH top_folder ${unpacked} ${top})
list(TRANSFORM expected PREPEND ${top_folder}/)
file(GLOB_RECURSE held LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
list(SORT held)
list(SORT expected)
if(NOT held STREQUAL expected)
  message(FATAL_ERROR "${name} holds\n  ${held}\nnot\n  ${expected}")
endif()

foreach(program IN LISTS built)
  get_filename_component(file ${program} NAME)
  execute_process(COMMAND ${strip} -o ${scratch}/${file} ${program} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${scratch}/${file} ${top}/bin/${file}
    RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name} holds a bin/${file} that is not the tested one, stripped")
  endif()
  execute_process(COMMAND ${prompts} ${top}/bin/${file} OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR "bin/${file} from ${name}:\n${output}")
  endif()
endforeach()

if(generator STREQUAL "DEB")
  # The newest glibc version among the symbols that the programs take from
  # it, read apart from the version needs that the packaging reads.
  set(newest 0)
  file(GLOB packaged ${top}/bin/*)
  foreach(program IN LISTS packaged)
    execute_process(COMMAND ${readelf} --dyn-syms --wide ${program}
      OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "@GLIBC_[0-9.]+" versions "${symbols}")
    foreach(version IN LISTS versions)
      string(REPLACE "@GLIBC_" "" version ${version})
      if(version VERSION_GREATER newest)
        set(newest ${version})
      endif()
    endforeach()
  endforeach()
  execute_process(COMMAND ${readelf} --file-header ${top}/bin/lettergrade OUTPUT_VARIABLE header)
  if(header MATCHES "Machine: +AArch64")
    set(architecture arm64)
  elseif(header MATCHES "Machine: +Advanced Micro Devices X86-64")
    set(architecture amd64)
  endif()
  foreach(field Architecture Depends Conflicts)
    execute_process(COMMAND dpkg-deb --field ${made} ${field}
      OUTPUT_VARIABLE ${field} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  if(newest STREQUAL "0")
    message(FATAL_ERROR "readelf named no GLIBC version in ${name}'s programs")
  endif()
  string(REPLACE "." "\\." newest_pattern ${newest})
  if(NOT Architecture STREQUAL "${architecture}" OR NOT Depends MATCHES "(^|, )libc6 \\(>= ${newest_pattern}\\)(,|$)")
    message(FATAL_ERROR "${name} is for ${Architecture} and depends on ${Depends}; "
      "its programs are for ${architecture} and need GLIBC_${newest}")
  endif()
  # Debian's own calendar package installs /usr/bin/calendar too.
  if(NOT Conflicts STREQUAL "calendar")
    message(FATAL_ERROR "${name} conflicts with \"${Conflicts}\", not with Debian's calendar")
  endif()

  execute_process(COMMAND dpkg-deb --control ${made} ${scratch}/control COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB control_files RELATIVE ${scratch}/control ${scratch}/control/*)
  list(SORT control_files)
  if(NOT control_files STREQUAL "control;md5sums")
    message(FATAL_ERROR "${name}'s control part holds ${control_files}, not control;md5sums")
  endif()
endif()
