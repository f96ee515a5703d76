# libc6_dependency(<readelf> <programs> <variable>): sets <variable> to the
# programs' Debian dependency, "libc6 (>= <newest version>)", from the
# GLIBC_<version> needs that readelf lists; fails if they need another
# library, for which that would not be the whole dependency.

function(libc6_dependency readelf programs variable)
  set(newest 0)
  foreach(program IN LISTS programs)
    execute_process(COMMAND ${readelf} --dynamic --version-info --wide ${program}
      OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "Shared library: \\[[^]]*\\]" needed "${info}")
    list(FILTER needed EXCLUDE REGEX "\\[(libc\\.so\\.6|ld-linux-[^]]*)\\]")
    if(needed)
      message(FATAL_ERROR "${program} needs more than libc6: ${needed}")
    endif()
    string(REGEX MATCHALL "Name: GLIBC_[0-9.]+" versions "${info}")
    foreach(version IN LISTS versions)
      string(REPLACE "Name: GLIBC_" "" version ${version})
      if(version VERSION_GREATER newest)
        set(newest ${version})
      endif()
    endforeach()
  endforeach()
  set(${variable} "libc6 (>= ${newest})" PARENT_SCOPE)
endfunction()
