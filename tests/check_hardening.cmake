# Checks what hardening-check cannot see. A static program, which it misreads:
# no interpreter nor shared library, RELRO, a stack that is not executable and
# code of its own (main and the console facility) that checks its stack and
# calls fortified functions; a static PIE one is position-independent too.
# An arm64 program, static or not: its own code signs its return addresses
# (paciasp); the BTI notes and `bti c` of libgcc and glibc prove nothing.
#   -D program=<file> -D readelf=<readelf> -D objdump=<objdump>
#   -D static_pie=<ON or OFF> -D static=<ON or OFF> -D arm64=<ON or OFF>
cmake_policy(VERSION 3.25)
set(ENV{LC_ALL} C) # their words are parsed

execute_process(COMMAND ${readelf} --file-header --program-headers --dynamic --wide ${program}
  OUTPUT_VARIABLE elf COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${objdump} --disassemble --no-show-raw-insn ${program}
  OUTPUT_VARIABLE code COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "<(main|_ZN7console[^>]*)>:\n([^\n]+\n)+" own_code "${code}")

set(problems "")
function(require text pattern meaning)
  if(NOT "${${text}}" MATCHES "${pattern}")
    set(problems "${problems}  no ${meaning}\n" PARENT_SCOPE)
  endif()
endfunction()
function(forbid text pattern meaning)
  if("${${text}}" MATCHES "${pattern}")
    set(problems "${problems}  ${meaning}\n" PARENT_SCOPE)
  endif()
endfunction()

if(static_pie)
  require(elf      "Type: +DYN"                  "position-independent code (ELF type DYN)")
  require(elf      "FLAGS_1\\) +Flags: [^\n]*PIE" "PIE flag")
  require(elf      "FLAGS\\) +BIND_NOW"           "immediate binding (BIND_NOW)")
endif()
if(static_pie OR static)
  forbid(elf       "INTERP"                      "interpreter wanted: it is not static")
  forbid(elf       "NEEDED"                      "shared library wanted: it is not static")
  require(elf      "GNU_RELRO"                   "segment made read-only after relocation (GNU_RELRO)")
  require(elf      "GNU_STACK[^\n]* RW +0x"      "stack that is writable but not executable")
  require(own_code "<__stack_chk_fail>"          "stack protector in its own code")
  require(own_code "<_+[a-z]+_chk>"              "fortified call in its own code")
endif()
if(arm64)
  require(own_code "\tpaciasp"                  "return address signing (paciasp) in its own code")
endif()
if(problems)
  message(FATAL_ERROR "${program}:\n${problems}")
endif()
