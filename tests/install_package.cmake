# Builds the packages, installs the .tar.gz into a scratch prefix, checks
# that it holds every program and man page, and runs a program from there.
#   -D build=<build directory> -D scratch=<directory> -D package=<file name stem>

file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/prefix)
execute_process(
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${build}/CPackConfig.cmake -B ${scratch}
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB debs ${scratch}/*.deb)
if(NOT EXISTS ${scratch}/${package}.tar.gz OR NOT debs)
  message(FATAL_ERROR "cpack made no .tar.gz or no .deb:\n${log}")
endif()

file(ARCHIVE_EXTRACT INPUT ${scratch}/${package}.tar.gz DESTINATION ${scratch}/prefix)
set(prefix ${scratch}/prefix/${package})
foreach(program calendar lettergrade clock12 digitcount evensquares evensum)
  foreach(installed bin/${program} share/man/man1/${program}.1)
    if(NOT EXISTS ${prefix}/${installed})
      message(FATAL_ERROR "the package lacks ${installed}")
    endif()
  endforeach()
endforeach()

file(WRITE ${scratch}/typed "85\n")
execute_process(
  COMMAND ${prefix}/bin/lettergrade
  INPUT_FILE ${scratch}/typed
  OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT output STREQUAL "Enter the numerical grade: The grade is : B" OR NOT status STREQUAL "0")
  message(FATAL_ERROR "installed lettergrade wrote [${output}] with status ${status}")
endif()
