# Compiler and linker hardening for every program, after the OpenSSF
# "Compiler Options Hardening Guide for C and C++", as far as g++ 12,
# clang++ 14 and MinGW-w64 support it. These are directory options, so a
# packager's own CMAKE_CXX_FLAGS and CMAKE_EXE_LINKER_FLAGS add to them.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

add_compile_options(
  -Wformat=2 -Wconversion -Wimplicit-fallthrough -Werror=format-security
  -D_GLIBCXX_ASSERTIONS
  -fstack-protector-strong -fstack-clash-protection -fcf-protection=full)

# The sanitizers do not support fortified calls, and turn this off.
option(FORTIFY_SOURCE "Build with -D_FORTIFY_SOURCE=3" ON)
if(FORTIFY_SOURCE)
  # Fortified calls need the optimizer; glibc warns about them without it.
  add_compile_options(
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=3>")
endif()

if(WIN32)
  # ASLR, with 64-bit entropy, and DEP. MinGW-w64 keeps the stack protector
  # and the fortified calls in libssp, which the driver links for this flag.
  add_link_options(
    LINKER:--dynamicbase LINKER:--nxcompat LINKER:--high-entropy-va -fstack-protector-strong)
else()
  add_link_options(
    LINKER:-z,relro LINKER:-z,now LINKER:-z,noexecstack LINKER:-z,nodlopen LINKER:--as-needed)
endif()
