# hardening: an interface target that each program links, for the compiler
# and linker hardening of the OpenSSF "Compiler Options Hardening Guide for
# C and C++". Each flag is used where the toolchain accepts it, so that any
# platform builds with the protections it has. A packager's own
# CMAKE_CXX_FLAGS come before these on the command line: where both set the
# same thing, these win (-D_FORTIFY_SOURCE=3 over a -D_FORTIFY_SOURCE=2).
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

add_library(hardening INTERFACE)
# WebAssembly keeps return addresses and code out of the memory that a
# program can address, so a stack protector has no return address to guard,
# and PIE, RELRO and a non-executable stack mean nothing there; wasi-libc
# has neither __stack_chk_guard nor fortified calls.
if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
  message(STATUS "Hardening flags not taken: -D_FORTIFY_SOURCE -fstack-protector-strong "
    "-fstack-clash-protection -fcf-protection -pie -Wl,-z,relro,-z,now,-z,noexecstack: WebAssembly "
    "keeps return addresses and code out of a program's memory, and wasi-libc has no checks for them")
  return()
endif()
check_pie_supported()
set_target_properties(hardening PROPERTIES INTERFACE_POSITION_INDEPENDENT_CODE ON)
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

target_compile_definitions(hardening INTERFACE _GLIBCXX_ASSERTIONS)
# The sanitizers do not support fortified calls, and turn this off.
option(FORTIFY_SOURCE "Build with -D_FORTIFY_SOURCE=3" ON)
if(FORTIFY_SOURCE)
  # Fortified calls need the optimizer; glibc warns about them without it.
  target_compile_options(hardening INTERFACE
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=3>")
endif()

# Control-flow protection is -fcf-protection on x86 and -mbranch-protection
# (pointer authentication and BTI) on arm64. -Werror: clang++ takes a flag
# for another target with only a warning that it is unused. The probes are
# quiet, as the flags of other targets fail them; one line lists those taken.
set(CMAKE_REQUIRED_FLAGS -Werror)
set(CMAKE_REQUIRED_QUIET ON)
set(taken "")
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection=full
    -mbranch-protection=standard)
  string(MAKE_C_IDENTIFIER "compiler_takes${flag}" accepted)
  check_cxx_compiler_flag(${flag} ${accepted})
  if(${accepted})
    target_compile_options(hardening INTERFACE ${flag})
    list(APPEND taken ${flag})
  endif()
endforeach()
unset(CMAKE_REQUIRED_FLAGS)

# ELF linkers: full RELRO and a stack that is not executable. PE linkers:
# ASLR, with 64-bit entropy, and DEP.
foreach(flag -z,relro -z,now -z,noexecstack --as-needed --dynamicbase --nxcompat --high-entropy-va)
  string(MAKE_C_IDENTIFIER "linker_takes${flag}" accepted)
  check_linker_flag(CXX LINKER:${flag} ${accepted})
  if(${accepted})
    target_link_options(hardening INTERFACE LINKER:${flag})
    list(APPEND taken -Wl,${flag})
  endif()
endforeach()
unset(CMAKE_REQUIRED_QUIET)
list(JOIN taken " " taken)
message(STATUS "Hardening flags taken: ${taken}")
# MinGW-w64 keeps the stack protector and the fortified calls in libssp,
# which the driver links for this flag.
if(WIN32)
  target_link_options(hardening INTERFACE -fstack-protector-strong)
endif()

# Static PIE programs hold their libc, so they run on any Linux of their
# architecture. The flag goes with the libraries, after CMake's own -pie,
# which would otherwise turn it back into a dynamic link.
option(STATIC_PIE "Link the programs as static PIE" OFF)
if(STATIC_PIE)
  target_link_libraries(hardening INTERFACE -static-pie)
endif()
# Where the C library has no start file for static PIE (rcrt1.o), as
# Debian's cross glibc for armel has none, static programs are not PIE.
option(STATIC "Link the programs static, not position-independent" OFF)
if(STATIC)
  set_target_properties(hardening PROPERTIES INTERFACE_POSITION_INDEPENDENT_CODE OFF)
  target_link_libraries(hardening INTERFACE -static)
endif()
