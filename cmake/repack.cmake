# Run by cpack once it has made a package (CPACK_POST_BUILD_SCRIPTS), so that
# the package depends on its files alone. CPack 3.25 stores an archive's
# members in the order that their folder is read, and counts the folders'
# own sizes, which differ from one file system to another, in a .deb's
# Installed-Size. So each is made again: a .tar.gz by GNU tar, its members
# sorted, owned by root, with modes that no umask changes; a .zip by zip,
# its members sorted, with no owner; a .deb by dpkg-deb, with Installed-Size
# as dpkg-gencontrol counts it, each file in whole KiB and one for each
# folder. Every time stamp is SOURCE_DATE_EPOCH.

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked ${package}.unpacked)
  file(REMOVE_RECURSE ${unpacked})
  file(MAKE_DIRECTORY ${unpacked})
  if(package MATCHES "\\.deb$")
    execute_process(COMMAND dpkg-deb --raw-extract ${package} ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
    file(GLOB_RECURSE files LIST_DIRECTORIES true ${unpacked}/*)
    list(FILTER files EXCLUDE REGEX "^${unpacked}/DEBIAN(/|$)")
    set(kib 0)
    foreach(file IN LISTS files)
      if(IS_DIRECTORY ${file})
        math(EXPR kib "${kib} + 1")
      else()
        file(SIZE ${file} bytes)
        math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
      endif()
    endforeach()
    file(READ ${unpacked}/DEBIAN/control control)
    string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
    file(WRITE ${unpacked}/DEBIAN/control "${control}")
    file(CHMOD ${unpacked}/DEBIAN ${unpacked}/DEBIAN/control ${unpacked}/DEBIAN/md5sums
      DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${unpacked} ${package}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${package} WORKING_DIRECTORY ${unpacked}
      COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${package})
    if(package MATCHES "\\.zip$")
      # zip -X: no owner, nor a time stamp but the DOS one, which is in UTC.
      file(GLOB_RECURSE members LIST_DIRECTORIES true RELATIVE ${unpacked} ${unpacked}/*)
      list(SORT members)
      execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${members} WORKING_DIRECTORY ${unpacked}
        COMMAND_ERROR_IS_FATAL ANY)
      execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0 zip -X -q -9 ${package} ${members}
        WORKING_DIRECTORY ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
    else()
      file(GLOB top RELATIVE ${unpacked} ${unpacked}/*)
      execute_process(
        COMMAND tar --sort=name --format=gnu --owner=root:0 --group=root:0 --mode=u+rw,go=rX
          --mtime=@$ENV{SOURCE_DATE_EPOCH} -C ${unpacked} -cf - ${top}
        COMMAND gzip -9n
        OUTPUT_FILE ${package} COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endif()
  file(REMOVE_RECURSE ${unpacked})
endforeach()
