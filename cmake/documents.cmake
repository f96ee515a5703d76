# The documents' version and dates. A release is the commit named "Release
# <version>", whose changelog's newest entry is for that version, the one
# in project(): its artifacts carry that version. Any other commit is a
# snapshot, <version>+git<YYYYMMDD>.<hash>, as Debian names a package of one,
# dated and named by its commit: it sorts after the release and before the
# next in dpkg's order. A tree whose commit cannot be known, as a clone on a
# machine with no git, is <version>+snapshot. While work goes on, the
# changelog's newest entry is "Unreleased". consoletools_version holds the
# version; the man pages, the page and every artifact's name take it.
#
# Every date in the man pages and the packages is SOURCE_DATE_EPOCH: from
# the environment when it is set, else the time of the commit that the tree
# holds, else the time of this configure. A release's source archive has the
# commit in cmake/commit, where git archive writes it (see .gitattributes); a
# git checkout has it from git, and fails to configure where git fails, as
# it does in a clone that another user owns.
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

file(STRINGS cmake/commit commit REGEX "^[0-9]+ [0-9a-f]+ ")
find_program(GIT git)
if(NOT commit AND EXISTS ${PROJECT_SOURCE_DIR}/.git AND NOT GIT)
  message(STATUS "No git to read the commit: a snapshot, dated with this configure's time")
elseif(NOT commit AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  execute_process(
    COMMAND ${GIT} log -1 "--format=%ct %H %s"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  # A new commit, or another one checked out, moves HEAD's reflog:
  # configure again then, so that the documents take that commit.
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

if(commit MATCHES "^([0-9]+) ([0-9a-f]+) (.*)$")
  set(commit_time ${CMAKE_MATCH_1})
  string(SUBSTRING ${CMAKE_MATCH_2} 0 7 commit_hash)
  set(commit_subject "${CMAKE_MATCH_3}")
else()
  string(TIMESTAMP commit_time "%s" UTC)
endif()
if(commit_subject STREQUAL "Release ${PROJECT_VERSION}" AND newest_entry MATCHES "^## ${PROJECT_VERSION} ")
  set(consoletools_version ${PROJECT_VERSION})
  set(version_kind release)
elseif(commit_hash)
  set(environment_epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  string(TIMESTAMP commit_day "%Y%m%d" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${environment_epoch}")
  set(consoletools_version ${PROJECT_VERSION}+git${commit_day}.${commit_hash})
  set(version_kind snapshot)
else()
  set(consoletools_version ${PROJECT_VERSION}+snapshot)
  set(version_kind snapshot)
endif()
message(STATUS "consoletools ${consoletools_version}, a ${version_kind}")

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(source_date_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  set(source_date_epoch ${commit_time})
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
