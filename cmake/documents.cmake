# The documents' version and dates. The version is project()'s alone: the
# man pages take it when they are built, and the changelog's newest entry
# must be for it, or be "Unreleased" while work goes on (a release refuses
# that). Every date in the man pages and the packages is SOURCE_DATE_EPOCH:
# from the environment when it is set, else the time of the commit that the
# tree holds, else (in a tree that is neither, or a clone on a machine with
# no git) the time of this configure. A release's source archive has the
# commit's time in cmake/commit-time, where git archive writes it (see
# .gitattributes); a git checkout has it from git, and fails to configure
# where git fails, as it does in a clone that another user owns.
#
# gzip_file(<input> <output>): compresses a file at build time the way
# Debian wants documents, with gzip -9n: no name and no time stamp inside,
# so that the result is the same on every build.
# install_man_page(<page>): builds a man page, <name>.<section>, with the
# version and date, and installs it, gzipped, where man finds it; the
# man-page tests check each. Windows and the page get none.

file(STRINGS CHANGELOG.md newest_entry REGEX "^## " LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^## (${PROJECT_VERSION} |Unreleased$)")
  message(FATAL_ERROR "CHANGELOG.md's newest entry, \"${newest_entry}\", is not for ${PROJECT_VERSION}, nor \"Unreleased\"")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source_date_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  file(STRINGS cmake/commit-time source_date_epoch REGEX "^[0-9]+$")
  find_program(GIT git)
  if(NOT source_date_epoch AND EXISTS ${PROJECT_SOURCE_DIR}/.git AND NOT GIT)
    message(STATUS "No git to read the commit's time: the documents are dated with this configure's")
  elseif(NOT source_date_epoch AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(
      COMMAND ${GIT} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    # A new commit, or another one checked out, moves HEAD's reflog:
    # configure again then, so that the documents take that commit's time.
    execute_process(
      COMMAND ${GIT} rev-parse --path-format=absolute --git-path HEAD --git-path logs/HEAD
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE head_files OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\n" ";" head_files "${head_files}")
    foreach(file IN LISTS head_files)
      if(EXISTS ${file})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
      endif()
    endforeach()
  endif()
  if(NOT source_date_epoch MATCHES "^[0-9]+$")
    string(TIMESTAMP source_date_epoch "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${source_date_epoch})
endif()
string(TIMESTAMP release_date "%Y-%m-%d" UTC)

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
  if(WIN32 OR CMAKE_SYSTEM_NAME STREQUAL "WASI")
    return()
  endif()
  configure_file(${page} ${page} @ONLY)
  gzip_file(${CMAKE_CURRENT_BINARY_DIR}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
  set_property(GLOBAL APPEND PROPERTY man_pages ${CMAKE_CURRENT_BINARY_DIR}/${page})
  string(REGEX REPLACE ".*\\." "" section ${page})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
