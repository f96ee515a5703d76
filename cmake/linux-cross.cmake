# Cross-builds the programs for another Linux architecture with Debian's
# cross compilers, and runs their tests under Debian's qemu-user. The preset
# names the machine in cache variables:
#   CROSS_TRIPLET        the GNU triplet, as in aarch64-linux-gnu
#   DEBIAN_ARCHITECTURE  Debian's name for it, as in arm64
#   CROSS_PROCESSOR      the processor in the archives' names, where the
#                        triplet's first part does not say it (armv5te)
#   QEMU_CPU             the CPU that qemu emulates, where not its newest
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CROSS_TRIPLET DEBIAN_ARCHITECTURE CROSS_PROCESSOR QEMU_CPU)
string(REGEX REPLACE "-.*" "" qemu_machine ${CROSS_TRIPLET})
set(CMAKE_SYSTEM_NAME Linux)
if(CROSS_PROCESSOR)
  set(CMAKE_SYSTEM_PROCESSOR ${CROSS_PROCESSOR})
else()
  set(CMAKE_SYSTEM_PROCESSOR ${qemu_machine})
endif()

set(CMAKE_CXX_COMPILER ${CROSS_TRIPLET}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# qemu -L names the folder where a program's loader and libraries are looked
# for: the cross-built libc, or for static programs an empty folder, so that
# every test shows they need none.
if(STATIC_PIE OR STATIC)
  set(library_root ${CMAKE_BINARY_DIR}/empty-root)
  file(MAKE_DIRECTORY ${library_root})
else()
  set(library_root ${CMAKE_FIND_ROOT_PATH})
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu_machine} -L ${library_root})
if(QEMU_CPU)
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR -cpu ${QEMU_CPU})
endif()
