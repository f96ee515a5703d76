# gzip_file(<input> <output>): compresses a file at build time the way
# Debian wants documents, with gzip -9n: no name and no time stamp inside,
# so that the result is the same on every build.
# install_man_page(<page>): installs a program's man page, gzipped, where
# man finds it. Windows gets none.

if(NOT WIN32)
  find_program(GZIP gzip REQUIRED)
endif()

function(gzip_file input output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP} -9nc ${input} > ${output}
    DEPENDS ${input})
  get_filename_component(name ${output} NAME)
  add_custom_target(gzip-${name} ALL DEPENDS ${output})
endfunction()

function(install_man_page page)
  if(WIN32)
    return()
  endif()
  gzip_file(${CMAKE_CURRENT_SOURCE_DIR}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
