# Builds the programs as WebAssembly for WASI with clang++ and Debian's
# wasi-libc and wasm32 libc++, and runs their tests under node's WASI
# (wasi-node.mjs), as qemu and Wine run the others'. Each program is made
# able to wait for input, and for the screen, without blocking a web page
# (binaryen's asyncify) as it is linked, so that the tests run the very
# files that the page holds.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}) # Platform/WASI.cmake

find_program(CMAKE_CXX_COMPILER NAMES clang++-14 clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# This libc++ is built without exceptions, which WebAssembly's toolchains
# here do not support.
set(CMAKE_CXX_FLAGS_INIT -fno-exceptions)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

find_program(WASM_OPT wasm-opt REQUIRED)
set(CMAKE_CXX_LINK_EXECUTABLE
  "<CMAKE_CXX_COMPILER> <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>"
  "${WASM_OPT} -O2 --asyncify --pass-arg=asyncify-imports@wasi_snapshot_preview1.fd_read,wasi_snapshot_preview1.fd_write --strip-debug --strip-producers <TARGET> -o <TARGET>")

find_program(NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE} --no-warnings ${CMAKE_CURRENT_LIST_DIR}/wasi-node.mjs)
