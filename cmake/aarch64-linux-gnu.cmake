# Cross-builds the programs for arm64 Linux with Debian's
# g++-aarch64-linux-gnu, and runs their tests under Debian's qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# qemu-aarch64 -L names the folder where a program's loader and libraries are
# looked for: the cross-built libc, or for static programs an empty folder,
# so that every test shows they need none.
if(STATIC_PIE)
  set(library_root ${CMAKE_BINARY_DIR}/empty-root)
  file(MAKE_DIRECTORY ${library_root})
else()
  set(library_root ${CMAKE_FIND_ROOT_PATH})
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${library_root})
