# What CMake 3.25 does not know of WASI: its programs are .wasm files.
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
