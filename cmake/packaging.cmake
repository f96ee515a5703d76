# What an install holds beside the programs, and which artifact this build
# makes: a .deb from a dynamic Linux build, where dpkg's tools are found; a
# .tar.gz from a static one; a .zip from a Windows one. packaging/package.sh
# makes it from a staged install, as artifact.conf below describes it.

# The folders that an install makes are 0755 under a looser umask, such as
# 002, too. A stricter one still takes bits away (mkdir applies it), so
# packaging/package.sh stages under umask 022.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(debian_revision 1)
if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
  # The page holds all it needs, and says what it is.
elseif(WIN32)
  # Man pages are of no use on Windows; the licence and the README are.
  install(FILES LICENSES/MIT.txt DESTINATION . RENAME LICENSE.txt)
  install(FILES README.md DESTINATION .)
else()
  # The Debian copyright file: the tree's own DEP-5 text, but for the npm
  # modules that only the page holds, with Debian's name for the licence and
  # its text, below the copyright line, as its standalone License paragraph.
  file(READ .reuse/dep5 copyright)
  string(REGEX REPLACE "\nFiles: web/node_modules/[^\n]*(\n[^\n]+)*\n" "" copyright "${copyright}")
  string(REPLACE "License: MIT" "License: Expat" copyright "${copyright}")
  file(STRINGS LICENSES/MIT.txt license_lines)
  string(APPEND copyright "\nLicense: Expat\n")
  set(permission OFF)
  foreach(line IN LISTS license_lines)
    if(line MATCHES "^Permission ")
      set(permission ON)
    elseif(line STREQUAL "")
      set(line ".")
    endif()
    if(permission)
      string(APPEND copyright " ${line}\n")
    endif()
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/copyright "${copyright}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS .reuse/dep5 LICENSES/MIT.txt packaging/control)

  # The upstream changelog goes in as it is. The .deb's own changes, in
  # Debian's format, are only that it packages this release; dpkg-gencontrol
  # takes the package's version from them.
  string(TIMESTAMP packaged "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(STRINGS packaging/control maintainer REGEX "^Maintainer: " LIMIT_COUNT 1)
  string(REPLACE "Maintainer: " "" maintainer "${maintainer}")
  file(WRITE ${PROJECT_BINARY_DIR}/changelog.Debian
    "${PROJECT_NAME} (${consoletools_version}-${debian_revision}) unstable; urgency=medium\n\n"
    "  * Package of ${version_kind} ${consoletools_version}.\n\n"
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

# The archives are consoletools-<version>-<system>-<processor>, as in
# consoletools-<version>-linux-aarch64; dpkg-deb names the .deb.
string(TOLOWER "${PROJECT_NAME}-${consoletools_version}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}"
  artifact_name)
set(artifact_kind "")
if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
  # The page, consoletools-<version>.html (see web/).
  set(artifact_kind html)
  set(artifact_name ${PROJECT_NAME}-${consoletools_version})
elseif(WIN32)
  set(artifact_kind zip)
elseif(STATIC_PIE OR STATIC)
  set(artifact_kind tar.gz)
else()
  find_program(DPKG_GENCONTROL dpkg-gencontrol)
  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(DPKG_GENCONTROL AND DPKG_SHLIBDEPS)
    set(artifact_kind deb)
  endif()
endif()
# The notices of the libraries linked into the programs, from the linkers'
# maps and dpkg's records (packaging/notices.py): an artifact needs them.
find_program(DPKG_QUERY dpkg-query)
find_package(Python3 3.9 COMPONENTS Interpreter)
if(DPKG_QUERY AND Python3_Interpreter_FOUND)
  set(notices ${PROJECT_BINARY_DIR}/NOTICES)
  foreach(program IN LISTS programs)
    list(APPEND maps $<TARGET_FILE:${program}>.map)
  endforeach()
  add_custom_command(OUTPUT ${notices}
    COMMAND ${Python3_EXECUTABLE} -B ${PROJECT_SOURCE_DIR}/packaging/notices.py ${notices} ${consoletools_version} ${maps}
    DEPENDS ${programs} packaging/notices.py)
  add_custom_target(notices ALL DEPENDS ${notices})
  if(WIN32)
    install(FILES ${notices} DESTINATION . RENAME NOTICES.txt)
  elseif(NOT artifact_kind STREQUAL "html")
    install(FILES ${notices} DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()
else()
  set(artifact_kind "")
endif()
# A native .deb is for dpkg's own architecture; a cross-built one names it.
if(artifact_kind)
  file(WRITE ${PROJECT_BINARY_DIR}/artifact.conf
    "kind=${artifact_kind}\nname=${artifact_name}\nversion=${consoletools_version}\nepoch=${source_date_epoch}\n"
    "architecture=${DEBIAN_ARCHITECTURE}\n")
endif()
