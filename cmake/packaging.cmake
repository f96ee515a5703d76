# What the packages hold beside the programs, and how cpack makes them. Each
# build makes one package, with a SHA-256 file: a .deb from a dynamic Linux
# build, where dpkg's tools are found; a .tar.gz from a static one; a .zip
# from a Windows one. Two releases of one commit (packaging/release.sh) make
# the same packages, bit for bit.

# cpack runs in an environment of its own, and is handed the packages' time
# stamp, SOURCE_DATE_EPOCH (see cmake/documents.cmake).
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
# Each package is made again, so that it depends on its files alone.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/repack.cmake)

# The folders that an install makes are 0755 under a looser umask, such as
# 002, too. A stricter one still takes bits away (mkdir applies it), so
# releases are made under umask 022: see packaging/release.sh.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

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
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # A plain install and the .tar.gz serve any Linux system: the licence text
  # goes beside the programs. The .deb has it in Debian's own form instead,
  # with the files that only Debian's tools read.
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
# Debian's own calendar package installs /usr/bin/calendar too.
set(CPACK_DEBIAN_PACKAGE_CONFLICTS "calendar")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

# consoletools-<version>-<system>-<processor>, as in
# consoletools-<version>-linux-aarch64. CPack reuses CPACK_PACKAGE_FILE_NAME for
# its source package, so the tests take the binary package's name from here.
string(TOLOWER "${PROJECT_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}"
  package_file_name)
set(CPACK_PACKAGE_FILE_NAME ${package_file_name})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# The programs as built, for the tests and for the cross-built .deb's
# dependency, which cpack works out from them. include(CPack) resets
# CPACK_GENERATOR, so the tests take the generator from package_generator.
foreach(program IN LISTS programs)
  list(APPEND programs_built $<TARGET_FILE:${program}>)
endforeach()

if(WIN32)
  set(package_generator ZIP)
elseif(STATIC_PIE)
  set(package_generator TGZ)
else()
  find_program(DPKG_DEB dpkg-deb)
  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(FILE_COMMAND file)
  if(DPKG_DEB AND DPKG_SHLIBDEPS AND FILE_COMMAND)
    set(package_generator DEB)
  endif()
endif()

if(package_generator STREQUAL "DEB")
  # Debian's names for the processors; cpack takes the host's for others.
  set(debian_architecture_x86_64 amd64)
  set(debian_architecture_aarch64 arm64)
  if(DEFINED debian_architecture_${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${debian_architecture_${CMAKE_SYSTEM_PROCESSOR}})
  endif()
  if(NOT CMAKE_CROSSCOMPILING)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    # dpkg-shlibdeps finds only the host's libraries; the dependency comes
    # from the symbol versions that the programs ask of libc.
    file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/CPackDebianDepends.cmake CONTENT
      "include(${PROJECT_SOURCE_DIR}/cmake/debian_depends.cmake)
libc6_dependency(\"${CMAKE_READELF}\" \"${programs_built}\" CPACK_DEBIAN_PACKAGE_DEPENDS)\n")
    file(APPEND ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
      "include(${PROJECT_BINARY_DIR}/CPackDebianDepends.cmake)\n")
  endif()
endif()
if(package_generator)
  set(CPACK_GENERATOR ${package_generator})
  include(CPack)
endif()
