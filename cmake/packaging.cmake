# What the packages hold beside the programs, and how cpack makes them: a
# .deb and a .tar.gz on Linux, a .zip on Windows, each with a SHA-256 file.
# Two builds of one commit make the same packages, bit for bit.

# Every time stamp in the packages is SOURCE_DATE_EPOCH: from the
# environment when it is set, else the last commit's time, else the release
# date. cpack runs later, in an environment of its own, and is handed it.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source_date_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(
    COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT source_date_epoch MATCHES "^[0-9]+$")
    set(source_date_epoch 1796774400) # 2026-12-09, the release date
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${source_date_epoch})
endif()
file(WRITE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
  "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} ${source_date_epoch})\nendif()\n")
# cpack reads that file once for each generator: the .deb takes CMake's
# default component and the debian one, the others a plain install.
file(APPEND ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
  "if(CPACK_GENERATOR STREQUAL \"DEB\")\n"
  "  set(CPACK_INSTALL_CMAKE_PROJECTS \"${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/;"
  "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/\")\n"
  "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)

set(CPACK_PACKAGE_VENDOR "The consoletools authors")
# A role, not a person, at a reserved domain: the project has no mail address.
set(maintainer "consoletools maintainers <maintainers@consoletools.invalid>")
set(CPACK_PACKAGE_CONTACT ${maintainer})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)

if(WIN32)
  # Man pages are of no use on Windows; the licence and the README are.
  install(FILES LICENSES/MIT.txt DESTINATION . RENAME LICENSE.txt)
  install(FILES README.md DESTINATION .)
else()
  # The Debian copyright file: the tree's own DEP-5 text, with the licence
  # text as its standalone License paragraph.
  file(READ .reuse/dep5 copyright)
  file(STRINGS LICENSES/MIT.txt license_lines)
  string(APPEND copyright "\nLicense: MIT\n")
  foreach(line IN LISTS license_lines)
    if(line STREQUAL "")
      set(line ".")
    endif()
    string(APPEND copyright " ${line}\n")
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/copyright "${copyright}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS .reuse/dep5 LICENSES/MIT.txt)

  # The upstream changelog goes in as it is. The .deb's own changes, in
  # Debian's format, are only that it packages this release.
  string(TIMESTAMP packaged "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE ${PROJECT_BINARY_DIR}/changelog.Debian
    "${PROJECT_NAME} (${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}) unstable; urgency=medium\n\n"
    "  * Package of release ${PROJECT_VERSION}.\n\n"
    " -- ${maintainer}  ${packaged}\n")
  gzip_file(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_BINARY_DIR}/changelog.gz)
  gzip_file(${PROJECT_BINARY_DIR}/changelog.Debian ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # A plain install and the .tar.gz serve any Linux system: the README and
  # the licence text go beside the programs. The .deb has them in Debian's
  # own form instead, with the files that only Debian's tools read.
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT standalone)
  install(FILES LICENSES/MIT.txt DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME LICENSE
    COMPONENT standalone)
  install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES packaging/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${PROJECT_NAME}
    COMPONENT debian EXCLUDE_FROM_ALL)
endif()

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "six small interactive console programs")
set(CPACK_PACKAGE_DESCRIPTION [[
calendar lays out numbered days on one line behind a lead-in for the
weekday of the first day; lettergrade turns a numerical grade into a
letter; clock12 writes a 24-hour time in 12-hour form; digitcount tells
whether a number has one, two or three digits; evensquares lists the
squares of the even numbers below a limit; evensum writes the sum of the
even numbers from 0 to 9.
Each program asks for at most two whole numbers and writes one result.]])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian's own calendar package installs /usr/bin/calendar too.
set(CPACK_DEBIAN_PACKAGE_CONFLICTS "calendar")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# CPack reuses CPACK_PACKAGE_FILE_NAME for its source package, so the tests
# take the binary package's name from here.
set(package_file_name ${PROJECT_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_PACKAGE_FILE_NAME ${package_file_name})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()
include(CPack)
