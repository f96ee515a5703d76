# newest_glibc(<readelf> <programs> <variable>): sets <variable> to the
# newest GLIBC_<version> that the programs ask of libc6, and
# <variable>_others to the libraries that they need from other packages.
# libc6_dependency(<readelf> <programs> <variable>): sets <variable> to the
# programs' Debian dependency, "libc6 (>= <newest version>)"; fails if they
# need another library, for which that would not be the whole dependency.

function(newest_glibc readelf programs variable)
  set(newest 0)
  set(others "")
  foreach(program IN LISTS programs)
    execute_process(COMMAND ${readelf} --dynamic --version-info --wide ${program}
      OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "Shared library: \\[[^]]*\\]" needed "${info}")
    list(FILTER needed EXCLUDE REGEX "\\[(libc\\.so\\.6|ld-linux-[^]]*)\\]")
    list(APPEND others ${needed})
    string(REGEX MATCHALL "Name: GLIBC_[0-9.]+" versions "${info}")
    foreach(version IN LISTS versions)
      string(REPLACE "Name: GLIBC_" "" version ${version})
      if(version VERSION_GREATER newest)
        set(newest ${version})
      endif()
    endforeach()
  endforeach()
  set(${variable} ${newest} PARENT_SCOPE)
  set(${variable}_others "${others}" PARENT_SCOPE)
endfunction()

function(libc6_dependency readelf programs variable)
  newest_glibc("${readelf}" "${programs}" newest)
  if(newest_others)
    message(FATAL_ERROR "The programs need more than libc6: ${newest_others}")
  endif()
  set(${variable} "libc6 (>= ${newest})" PARENT_SCOPE)
endfunction()
