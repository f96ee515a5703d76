# libc6_dependency(<readelf> <programs> <variable>): sets <variable> to the
# programs' Debian dependency, "libc6 (>= <newest version>)", from the
# GLIBC_<version> needs that readelf lists; fails if they need another
# library, for which that would not be the whole dependency, or if readelf
# lists no libc6 or no version of it. readelf runs in the C locale: its
# words are parsed.

function(libc6_dependency readelf programs variable)
  set(newest "")
  foreach(program IN LISTS programs)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${readelf} --dynamic --version-info --wide ${program}
      OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "Shared library: \\[[^]]*\\]" needed "${info}")
    list(FILTER needed EXCLUDE REGEX "\\[(libc\\.so\\.6|ld-linux-[^]]*)\\]")
    string(REGEX MATCHALL "Name: GLIBC_[0-9.]+" versions "${info}")
    if(needed OR NOT info MATCHES "Shared library: \\[libc\\.so\\.6\\]" OR NOT versions)
      message(FATAL_ERROR "${program} needs more than libc6, or readelf named no libc6 version: ${needed}")
    endif()
    foreach(version IN LISTS versions)
      string(REPLACE "Name: GLIBC_" "" version ${version})
      if(NOT newest OR version VERSION_GREATER newest)
        set(newest ${version})
      endif()
    endforeach()
  endforeach()
  set(${variable} "libc6 (>= ${newest})" PARENT_SCOPE)
endfunction()
